// "QCDoc.xml": the round trip, reading by position, and files that must change nothing.

#include "qcdocfile.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace qcreport;

namespace {

QCDocData sample()
{
    QCDocData d;
    d.customer = "Acme <Gas> & \"Oil\"";
    d.poNo = "PO-17";
    d.soNo = "SO 9";
    d.technician = "J. M\u00fcller";
    d.calDate = "2026-12-11";
    d.notes = "line one\r\nline two, 'quoted'\r\n\r\nlast";
    return d;
}

void expectSame(const QCDocData& a, const QCDocData& b)
{
    EXPECT_EQ(a.customer, b.customer);
    EXPECT_EQ(a.poNo, b.poNo);
    EXPECT_EQ(a.soNo, b.soNo);
    EXPECT_EQ(a.technician, b.technician);
    EXPECT_EQ(a.calDate, b.calDate);
    EXPECT_EQ(a.notes, b.notes);
}

TEST(QCDocFile, RoundTripKeepsEveryTextAndTheNotesLineBreaks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QCDoc.xml");
    QString error;
    ASSERT_TRUE(WriteQCDocFile(path, sample(), &error)) << error.toStdString();
    const QCDocRead read = ReadQCDocFile(path);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.groups, 4);
    expectSame(read.data, sample());

    // Empty values are written all the same and read back empty.
    ASSERT_TRUE(WriteQCDocFile(path, QCDocData{}, &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* expected :
         {"<QCDoc>", "<customerInfo Customer=\"\" PONo=\"\" SONo=\"\"/>", "<TechnicianInfo Name=\"\"/>",
          "<CalibrationDate CalDate=\"\"/>", "<SpecialConfigurationNotes SpecicalConfigNotes=\"\"/>"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
    const QCDocRead empty = ReadQCDocFile(path);
    ASSERT_TRUE(empty.ok);
    expectSame(empty.data, QCDocData{});
}

TEST(QCDocFile, ChildrenAreTakenByPositionAndMissingOnesFillNothing)
{
    const QCDocRead two = ParseQCDoc("<QCDoc><a Customer=\"C\" PONo=\"P\" SONo=\"S\"/><other Name=\"Tech\"/></QCDoc>");
    ASSERT_TRUE(two.ok);
    EXPECT_EQ(two.groups, 2);
    EXPECT_EQ(two.data.customer, "C");
    EXPECT_EQ(two.data.technician, "Tech");

    const QCDocRead extra = ParseQCDoc(
        "<?xml version=\"1.0\"?><QCDoc><a/><b Name=\"n\"/><c CalDate=\"d\"/>"
        "<d SpecicalConfigNotes=\"x\"/><e SpecicalConfigNotes=\"ignored\"/></QCDoc>");
    ASSERT_TRUE(extra.ok);
    EXPECT_EQ(extra.groups, 4);
    EXPECT_EQ(extra.data.customer, "");  // a child without its attributes gives empty texts
    EXPECT_EQ(extra.data.notes, "x");

    const QCDocRead none = ParseQCDoc("<QCDoc/>");
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.groups, 0);
}

TEST(QCDocFile, BadFilesAreRefusedWithAReason)
{
    const struct {
        const char* name;
        QByteArray document;
    } cases[] = {
        {"empty", ""},
        {"not xml", "hello"},
        {"unclosed", "<QCDoc><customerInfo Customer=\"x\"/>"},
        {"two roots", "<QCDoc/><QCDoc/>"},
        {"entity", "<!DOCTYPE QCDoc [<!ENTITY e \"boom\">]><QCDoc><a Customer=\"&e;\"/></QCDoc>"},
        {"external entity",
         "<!DOCTYPE QCDoc [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><QCDoc><a Customer=\"&x;\"/></QCDoc>"},
        {"undeclared entity", "<QCDoc><a Customer=\"&nope;\"/></QCDoc>"},
        {"too large", "<QCDoc>" + QByteArray(int(kQCDocMaxBytes), ' ') + "</QCDoc>"},
    };
    for (const auto& c : cases) {
        const QCDocRead read = ParseQCDoc(c.document);
        EXPECT_FALSE(read.ok) << c.name;
        EXPECT_FALSE(read.error.isEmpty()) << c.name;
        EXPECT_EQ(read.data.customer, "") << c.name;
    }

    QTemporaryDir dir;
    const QCDocRead missing = ReadQCDocFile(dir.filePath("QCDoc.xml"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "the file does not exist");
}

TEST(QCDocFile, AFailedWriteReportsAndKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QCDoc.xml");
    QString error;
    ASSERT_TRUE(WriteQCDocFile(path, sample(), &error));
    // A folder in the way of the target: nothing can replace it.
    EXPECT_FALSE(WriteQCDocFile(dir.filePath("missing/QCDoc.xml"), sample(), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool refused = !WriteQCDocFile(path, QCDocData{}, &error);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (refused) {  // root may write anywhere
        const QCDocRead read = ReadQCDocFile(path);
        ASSERT_TRUE(read.ok);
        expectSame(read.data, sample());
    }
}

}  // namespace
