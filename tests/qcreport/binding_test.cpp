// Loading and binding the PDF library: the program's own libqcpdf.so, and stand-ins that lack
// entries or refuse to create a document.

#include "debenupdflibrarydll1212.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        logPath = dir.filePath("stub.log");
        qputenv("QCPDF_STUB_LOG", logPath.toLocal8Bit());
        qunsetenv("QCPDF_STUB_ID");
    }
    void TearDown() override { qunsetenv("QCPDF_STUB_LOG"); }

    QStringList calls() const
    {
        QFile f(logPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    QString logPath;
};

TEST_F(BindingTest, LoadsTheProgramsOwnLibraryFromItsFolder)
{
    DebenuPDFLibraryDLL1212 pdf("libqcpdf.so");
    EXPECT_EQ(pdf.libraryPath(), QCoreApplication::applicationDirPath() + "/libqcpdf.so");
    EXPECT_FALSE(pdf.failed());
    EXPECT_TRUE(pdf.errorString().isEmpty());
    EXPECT_GT(pdf.instanceId(), 0);
    EXPECT_EQ(DebenuPDFLibraryDLL1212::bindingList().size(), 41u);
    EXPECT_EQ(pdf.NewPage(), 2);
    // Two saves at once hold two documents of their own.
    DebenuPDFLibraryDLL1212 second("libqcpdf.so");
    EXPECT_NE(second.instanceId(), pdf.instanceId());
    EXPECT_EQ(second.NewPage(), 2);
}

TEST_F(BindingTest, AMissingLibraryFailsAtTheFirstCallWithoutACrash)
{
    auto pdf = std::make_unique<DebenuPDFLibraryDLL1212>(dir.filePath("libqcpdf.so"));
    EXPECT_TRUE(pdf->failed());
    EXPECT_FALSE(pdf->isLoaded());
    EXPECT_EQ(pdf->instanceId(), 0);
    EXPECT_TRUE(pdf->errorString().contains(dir.filePath("libqcpdf.so")));
    try {
        pdf->SetPageSize("A4");
        FAIL() << "a call without a library must fail";
    } catch (const PdfLibraryError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("libqcpdf.so"));
    }
    EXPECT_THROW(pdf->SaveToFile(dir.filePath("x.pdf")), PdfLibraryError);
    pdf.reset();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.pdf")));
}

TEST_F(BindingTest, AMissingEntryFailsOnlyWhenItIsCalled)
{
    {
        DebenuPDFLibraryDLL1212 pdf(QStringLiteral(QCPDF_STUB));
        EXPECT_TRUE(pdf.failed());
        EXPECT_EQ(pdf.instanceId(), 7);
        EXPECT_TRUE(pdf.errorString().contains("DPLNewPage"));
        EXPECT_EQ(pdf.SetPageSize("A4"), 1);
        try {
            pdf.NewPage();
            FAIL() << "DPLNewPage is missing";
        } catch (const PdfLibraryError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains("DPLNewPage"));
        }
        // Text reaches the library as the same UTF-16 units, those beyond one unit included.
        EXPECT_EQ(pdf.DrawText(30, 50, QString::fromUtf8("Aé€Ω😀")), 1);
    }
    EXPECT_EQ(calls(), (QStringList{"create 7", "pagesize 7 0041 0034 ", "text 7 30 50 0041 00E9 20AC 03A9 D83D DE00 ",
                                    "release 7"}));
}

TEST_F(BindingTest, NoDocumentCreatedIsAFailureAndNothingIsReleased)
{
    for (const char* id : {"0", "-3"}) {
        qputenv("QCPDF_STUB_ID", id);
        QFile::remove(logPath);
        {
            DebenuPDFLibraryDLL1212 pdf(QStringLiteral(QCPDF_STUB));
            EXPECT_TRUE(pdf.failed()) << id;
            EXPECT_THROW(pdf.SetPageSize("A4"), PdfLibraryError) << id;
        }
        EXPECT_EQ(calls(), QStringList{QStringLiteral("create ") + id});
    }
}

TEST_F(BindingTest, AMissingCreateEntryFailsTheConstruction)
{
    EXPECT_THROW(DebenuPDFLibraryDLL1212 pdf(QStringLiteral(QCPDF_STUB_NO_CREATE)), PdfLibraryError);
    EXPECT_TRUE(calls().isEmpty());
}

}  // namespace
