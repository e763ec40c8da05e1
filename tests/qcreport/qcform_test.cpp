// The QC form: its data file on first activation, Temporary Save, and the fill from the unit's
// points for two and four streams.

#include "qcform.h"
#include "pdftools.h"
#include "qcfillmap.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

#include <functional>
#include <map>

using namespace qcreport;

namespace {

class QCFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        QCFormServices services;
        services.pointText = [this](int id) {
            const auto it = points.find(id);
            return it == points.end() ? std::string() : it->second;
        };
        services.loggedOn = [this] { return loggedOn; };
        services.dataDirectory = [this] { return dir.path(); };
        services.guiVersion = [] { return QStringLiteral("Release 2026-12-01"); };
        services.programDirectory = [] { return QString::fromLatin1(KVT_BIN_DIR); };
        form = std::make_unique<TQCForm>(std::move(services));
    }

    // What the fill reported, if anything.
    QStringList fillReports() const
    {
        QStringList reports;
        for (const auto& shown : testenv::dialogs().shown())
            if (shown.text.contains("could not be filled"))
                reports << shown.text;
        return reports;
    }

    template <typename T>
    T* get(const QString& name)
    {
        T* control = form->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QString text(const QString& name) { return get<QLineEdit>(name)->text(); }
    bool ticked(const QString& name) { return get<QCheckBox>(name)->isChecked(); }
    QString cell(const char* grid, int row) { return form->GridCell(grid, row); }

    // A plausible unit: every mapped point gets a distinct value.
    void unitWithStreams(int streams)
    {
        points[kStreamsPointId] = std::to_string(streams - 1);
        points[0] = "SN-4711";
        points[1] = "TAG-9";
        points[500] = "17041417";
        points[507] = "386143255";  // 0x17041417
        points[328] = "10";
        points[517] = "24";
        points[516] = "0.01";
        points[85] = "0";
        points[291] = "150";
        points[401] = "12.5";
        points[1546] = "3.14159";
        for (int n = 0; n < 6; ++n) {
            points[1197 + n] = "AO desc " + std::to_string(n + 1);
            points[1245 + 3 * n] = "0-" + std::to_string(10 * (n + 1)) + " ppm";
        }
        for (const auto& row : GlobalFillRows())
            if (std::string(row.target.control) == "gridOutput")
                points[row.pointId] = "out" + std::to_string(row.target.row);
        for (int s = 0; s < 4; ++s) {
            for (const auto& row : StreamFillRows()) {
                const int id = row.pointIds[std::size_t(s)];
                switch (row.target.rule) {
                case FillRule::TrueBox:
                    points[id] = (id % 2) ? "True" : "False";
                    break;
                case FillRule::AnalysisType:
                    points[id] = s % 2 ? "True" : "False";
                    break;
                case FillRule::RelayDigit:
                case FillRule::SolenoidDigit:
                    points[id] = std::to_string(0x0205 + s);
                    break;
                default:
                    points[id] = "v" + std::to_string(id);
                    break;
                }
            }
            for (const auto& run : SwitchingRows())
                points[run.pointIds[std::size_t(s)]] = "257";
        }
    }

    QTemporaryDir dir;
    std::map<int, std::string> points;
    bool loggedOn = true;
    std::unique_ptr<TQCForm> form;
};

TEST_F(QCFormTest, FillCopiesEveryMappedPointForFourStreams)
{
    unitWithStreams(4);
    form->FormActivate();
    EXPECT_EQ(cell("aGridVersions", 0), "SN-4711");
    EXPECT_EQ(cell("aGridVersions", 1), "Release 2026-12-01");
    EXPECT_EQ(cell("aGridVersions", 2), "01040809");
    EXPECT_EQ(cell("aGridVersions", 3), "TAG-9");
    EXPECT_EQ(cell("aGridVersions", 5), "17041417");
    EXPECT_EQ(cell("aGridVersions", 6), "0000000A");
    auto* versions = get<QTableWidget>("aGridVersions");
    EXPECT_FALSE(versions->item(5, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(versions->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(cell("gridGlobalSetting", 2), "9.7785 (inches)");
    EXPECT_EQ(cell("gridGlobalSetting", 3), "24");
    EXPECT_EQ(cell("gridGlobalSetting", 4), "12.5");
    EXPECT_EQ(cell("gridGlobalSetting", 8), "150");
    EXPECT_EQ(text("txtAI3"), "3.1416");
    EXPECT_EQ(text("txtAODescription4"), "AO desc 4");
    EXPECT_EQ(text("txtAORange6"), "0-60 ppm");
    for (int row = 0; row < 14; ++row)
        EXPECT_EQ(cell("gridOutput", row), QStringLiteral("out%1").arg(row));

    for (int s = 1; s <= 4; ++s) {
        SCOPED_TRACE(s);
        for (const auto& row : StreamFillRows()) {
            const QString name = StreamControlName(row.target.control, s);
            const int id = row.pointIds[std::size_t(s - 1)];
            switch (row.target.rule) {
            case FillRule::TrueBox:
                EXPECT_EQ(ticked(name), points[id] == "True") << name.toStdString();
                break;
            case FillRule::AnalysisType:
                EXPECT_EQ(get<QComboBox>(name)->currentText(), s % 2 ? "Peak Detect" : "Timed");
                break;
            case FillRule::RelayDigit:
                EXPECT_EQ(text(name), QString::number(s == 4 ? 4 : 3));
                break;
            case FillRule::SolenoidDigit:
                EXPECT_EQ(text(name), "2");
                break;
            case FillRule::Cell:
                EXPECT_EQ(form->GridCell(get<QTableWidget>(name), row.target.row), QString::fromStdString(points[id]));
                break;
            default:
                EXPECT_EQ(text(name), QString::fromStdString(points[id])) << name.toStdString();
                break;
            }
        }
        // 257: relay 1 and solenoid 1 of every run, nothing else.
        for (const auto& run : SwitchingRows())
            for (int n = 1; n <= 8; ++n) {
                if (n <= 6)
                    EXPECT_EQ(ticked(SwitchingBoxName(run.run, s, true, n)), n == 1);
                EXPECT_EQ(ticked(SwitchingBoxName(run.run, s, false, n)), n == 1);
            }
    }
    if (const QByteArray grabDir = qgetenv("KVT_GRAB_DIR"); !grabDir.isEmpty()) {
        form->resize(977, 726);
        form->grab().save(QString::fromLocal8Bit(grabDir) + "/QCForm.png");
    }
    auto* tabs = get<QTabWidget>("PageControlStreams");
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_TRUE(tabs->isTabVisible(tab));
    EXPECT_TRUE(fillReports().isEmpty()) << fillReports().join("|").toStdString();
}

TEST_F(QCFormTest, TwoStreamsFillOnlyTheirTabsAndHideTheRest)
{
    unitWithStreams(2);
    get<QLineEdit>("txtH2SHighHighAlarmDuration3")->setText("untouched");
    form->FormActivate();
    EXPECT_EQ(text("txtH2SHighHighAlarmDuration1"), "v1648");
    EXPECT_EQ(text("txtH2SHighHighAlarmDuration2"), "v1656");
    EXPECT_EQ(text("txtH2SHighHighAlarmDuration3"), "untouched");
    auto* tabs = get<QTabWidget>("PageControlStreams");
    EXPECT_TRUE(tabs->isTabVisible(1));
    EXPECT_FALSE(tabs->isTabVisible(2));
    EXPECT_FALSE(tabs->isTabVisible(3));
    // An out-of-range count fills all four and leaves the tabs as they are.
    points[kStreamsPointId] = "5";
    form->FormActivate();
    EXPECT_EQ(text("txtH2SHighHighAlarmDuration3"), "v1664");
    EXPECT_FALSE(tabs->isTabVisible(3));
}

TEST_F(QCFormTest, BadTextsBlankTheirControlAndAreReportedOnceEmptyTextsClear)
{
    unitWithStreams(1);
    form->FormActivate();
    ASSERT_EQ(cell("gridOutput", 0), "out0");
    points[61] = "lots";   // an action mask
    points[47] = "x";      // a switching mask
    points[516] = "wide";  // the stain width
    points[255] = "";      // an empty name clears its cell
    points[48] = "";       // an empty Boolean clears its box
    get<QCheckBox>("chkAOOverride1_1")->setChecked(true);
    testenv::dialogs().clear();
    form->FormActivate();
    EXPECT_EQ(text("txtRelay1_1"), "");
    EXPECT_EQ(text("txtSolenoid1_1"), "");
    EXPECT_EQ(text("txtRelay1_2"), "3");  // later controls are still filled
    EXPECT_FALSE(ticked("ckH2SSwitchingR1"));
    EXPECT_EQ(cell("gridGlobalSetting", 2), "");
    EXPECT_EQ(cell("gridOutput", 0), "");
    EXPECT_FALSE(ticked("chkAOOverride1_1"));
    const auto& shown = testenv::dialogs().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Attention");
    EXPECT_TRUE(shown[0].text.contains("txtRelay1_1 (point 61)")) << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains("ckH2SSwitchingR1 (point 47)"));
    EXPECT_TRUE(shown[0].text.contains("gridGlobalSetting row 2"));
}

// Plays the window manager's part that the offscreen platform leaves out: a box takes the
// activation while it is shown, and when it is closed the form is activated again.
class WindowManagerDialogs : public ScriptedDialogService {
public:
    explicit WindowManagerDialogs(QWidget* form) : form_(form) {}
    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        const auto answer = ScriptedDialogService::message(icon, caption, text, buttons, defaultButton);
        QMessageBox box(icon, caption, text, buttons);
        box.show();
        QApplication::setActiveWindow(&box);
        box.close();
        QTimer::singleShot(0, form_, [form = form_] { QApplication::setActiveWindow(form); });
        return answer;
    }

private:
    QWidget* form_;
};

TEST_F(QCFormTest, AFillFailureIsSaidOnceThoughClosingItsBoxActivatesTheFormAgain)
{
    unitWithStreams(1);
    points[61] = "lots";  // an action mask that is no number
    ScriptedDialogService& scripted = testenv::dialogs();
    WindowManagerDialogs dialogs(form.get());
    DialogService::install(&dialogs);
    const auto fillBoxes = [&] {
        return std::count_if(dialogs.shown().begin(), dialogs.shown().end(),
                             [](const auto& shown) { return shown.text.contains("could not be filled"); });
    };
    form->show();
    QApplication::setActiveWindow(form.get());
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    const auto afterOpening = fillBoxes();
    // Each activation still refills (what was typed goes), and a new failure is said.
    get<QLineEdit>("txtRelay1_2")->setText("typed");
    points[58] = "junk";
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(form.get());
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    const auto afterNewFailure = fillBoxes();
    // Closed and opened again, the form says them again, once.
    form->close();
    form->show();
    QApplication::setActiveWindow(form.get());
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    DialogService::install(&scripted);
    form->hide();
    EXPECT_EQ(afterOpening, 1);
    EXPECT_EQ(afterNewFailure, 2);
    EXPECT_EQ(fillBoxes(), 3);
    EXPECT_EQ(text("txtRelay1_2"), "");
    EXPECT_TRUE(dialogs.shown().back().text.contains("txtRelay1_2 (point 58)"));
}

TEST_F(QCFormTest, FirstShownCentredOnTheScreenThenLeftWhereItIs)
{
    loggedOn = false;
    const QRect area = form->screen()->availableGeometry();
    form->resize(area.width() / 2, area.height() / 2);
    form->show();
    EXPECT_EQ(form->frameGeometry().center(), area.center());
    form->move(area.topLeft() + QPoint(5, 5));
    form->hide();
    form->show();
    EXPECT_EQ(form->pos(), area.topLeft() + QPoint(5, 5));
    form->hide();
    // A form larger than the screen keeps its top left corner on it.
    SetUp();
    loggedOn = false;
    form->resize(area.width() * 2, area.height() * 2);
    form->show();
    EXPECT_EQ(form->frameGeometry().topLeft(), area.topLeft());
    form->hide();
}

TEST_F(QCFormTest, NotLoggedOnFillsNothingAndTheLabelsAreBlanked)
{
    unitWithStreams(4);
    loggedOn = false;
    form->FormActivate();
    EXPECT_EQ(cell("aGridVersions", 0), "");
    for (const char* label : {"txtPrimaryCalLabel", "txtPrimaryCal2Label", "txtPrimaryCal4Label"})
        EXPECT_EQ(get<QLabel>(label)->text(), " ");
    // No data file yet is the form's first use: nothing to say.
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(QCFormTest, DataFileIsReadOnceAndTemporarySaveWritesIt)
{
    QCDocData saved;
    saved.customer = "Acme";
    saved.technician = "Kim";
    saved.notes = "first\r\nsecond";
    ASSERT_TRUE(WriteQCDocFile(dir.filePath("QCDoc.xml"), saved, nullptr));
    loggedOn = false;
    form->FormActivate();
    EXPECT_EQ(cell("aGridCustomerInfor", 0), "Acme");
    EXPECT_EQ(text("txtTechnician"), "Kim");
    EXPECT_EQ(get<QPlainTextEdit>("Memo1")->toPlainText(), "first\nsecond");
    // Typing survives coming back to the form.
    get<QLineEdit>("txtTechnician")->setText("Lee");
    form->FormActivate();
    EXPECT_EQ(text("txtTechnician"), "Lee");
    form->btnTmpSaveClick();
    const QCDocRead read = ReadQCDocFile(dir.filePath("QCDoc.xml"));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.data.technician, "Lee");
    EXPECT_EQ(read.data.notes, "first\r\nsecond");
    EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(QCFormTest, ABadDataFileChangesNothingAndSaysWhy)
{
    QFile file(dir.filePath("QCDoc.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<QCDoc><customerInfo Customer=\"x\"");
    file.close();
    loggedOn = false;
    form->FormActivate();
    EXPECT_EQ(cell("aGridCustomerInfor", 0), "");
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_TRUE(testenv::dialogs().shown()[0].text.contains("not well-formed"));
}

TEST_F(QCFormTest, AFailedTemporarySaveIsReported)
{
    form->services().dataDirectory = [this] { return dir.filePath("no/such/folder"); };
    form->btnTmpSaveClick();
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_TRUE(testenv::dialogs().shown()[0].text.startsWith("The Q.C. data could not be saved"));
}

// The certificate: 1 + streams + 1 pages, every section in order, the fields, the outcome box and
// the Temporary Save in every case.
TEST_F(QCFormTest, SaveWritesFirstStreamAndLastPagesInOrder)
{
    for (int streams : {2, 4}) {
        SCOPED_TRACE(streams);
        testenv::dialogs().clear();
        points.clear();
        unitWithStreams(streams);
        form->FormActivate();
        testenv::dialogs().clear();
        get<QLineEdit>("txtTechnician")->setText("Kim Tech");
        get<QCheckBox>("chkEnclosure")->setChecked(true);
        const QString target = dir.filePath(QStringLiteral("cert%1").arg(streams));
        testenv::dialogs().answerText(target);  // typed without extension
        form->btnSaveClick();
        const QString pdf = target + ".pdf";
        ASSERT_TRUE(QFile::exists(pdf));
        ASSERT_EQ(testenv::dialogs().shown().size(), 2u);  // the file dialog, then the outcome
        EXPECT_EQ(testenv::dialogs().shown()[1].caption, "Information");
        EXPECT_EQ(testenv::dialogs().shown()[1].text, "Save File Successful.");
        if (const QByteArray grabDir = qgetenv("KVT_GRAB_DIR"); !grabDir.isEmpty())
            QFile::copy(pdf, QString::fromLocal8Bit(grabDir) + QStringLiteral("/qc%1.pdf").arg(streams));
        EXPECT_EQ(pdftools::info(pdf, "Pages"), QString::number(streams + 2));
        QString report;
        EXPECT_TRUE(pdftools::checks(pdf, &report)) << report.toStdString();

        const QString first = pdftools::text(pdf, 1);
        int at = 0;
        for (const char* section :
             {"Customer Information", "Analyzer, Sensor Serial Number", "SN-4711", "01040809", "Included Options",
              "Total Sulphur Flow Meters Set Up", "Global Setting", "9.7785 (inches)", "3.1416", "Note:Actual tube"}) {
            const int found = first.indexOf(section, at);
            EXPECT_GE(found, 0) << section << "\n" << first.toStdString();
            if (found >= 0)
                at = found;
        }
        for (int s = 1; s <= streams; ++s) {
            const QString page = pdftools::text(pdf, s + 1);
            at = 0;
            for (const QString& section :
                 {QStringLiteral("Stream #%1 Setting").arg(s), QStringLiteral("Alarm Description"),
                  QStringLiteral("Switching Relays"), QStringLiteral("Stream %1 Final Check").arg(s),
                  QStringLiteral("page %1").arg(s + 1)}) {
                const int found = page.indexOf(section, at);
                EXPECT_GE(found, 0) << section.toStdString() << "\n" << page.toStdString();
                if (found >= 0)
                    at = found;
            }
        }
        const QString last = pdftools::text(pdf, streams + 2);
        for (const char* section : {"Solenoid Designation", "Relay Designation", "out8", "AO desc 6",
                                    "Calibration Technician", "Kim Tech", "Special Configuration Notes"})
            EXPECT_TRUE(last.contains(section)) << section << "\n" << last.toStdString();

        // One radio field per ticked switching box (relay 1 and solenoid 1 of six runs).
        const QJsonArray fields = pdftools::fields(pdf);
        int radios = 0;
        for (const auto& f : fields)
            if (f.toObject()["isradiobutton"].toBool())
                ++radios;
        EXPECT_EQ(radios, 12 * streams);

        const QCDocRead doc = ReadQCDocFile(dir.filePath("QCDoc.xml"));
        ASSERT_TRUE(doc.ok);
        EXPECT_EQ(doc.data.technician, "Kim Tech");
    }
}

// A name typed without its extension names the file the save would replace: asked about, as the
// dialog asks about a name it was given; No goes back to the dialog.
TEST_F(QCFormTest, ANameWithoutExtensionOverAnExistingCertificateIsAskedAbout)
{
    unitWithStreams(1);
    const QString existing = dir.filePath("cert.pdf");
    const auto writeOld = [&] {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old certificate");
    };
    const auto oldKept = [&] {
        QFile file(existing);
        return file.open(QIODevice::ReadOnly) && file.readAll() == "old certificate";
    };
    writeOld();
    auto& dialogs = testenv::dialogs();
    dialogs.answerText(dir.filePath("cert"));
    dialogs.answerButton(QMessageBox::No);
    dialogs.answerText(QString());  // back in the dialog, cancelled
    form->btnSaveClick();
    EXPECT_TRUE(oldKept());
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[1].caption, "Save As");
    EXPECT_EQ(dialogs.shown()[1].text, "cert.pdf already exists.\nDo you want to replace it?");
    EXPECT_EQ(dialogs.shown()[2].kind, DialogService::Kind::SaveFile);

    dialogs.clear();
    dialogs.answerText(dir.filePath("cert"));
    dialogs.answerButton(QMessageBox::Yes);
    form->btnSaveClick();
    EXPECT_FALSE(oldKept());
    EXPECT_EQ(pdftools::info(existing, "Pages"), "3");
    EXPECT_EQ(dialogs.texts().last(), "Save File Successful.");
    EXPECT_FALSE(QFile::exists(dir.filePath("cert")));
}

TEST_F(QCFormTest, SaveFailuresReportAndStillKeepTheData)
{
    unitWithStreams(1);
    get<QLineEdit>("txtTechnician")->setText("Ana");
    const struct {
        const char* name;
        std::function<void()> arrange;
        const char* message;
    } cases[] = {
        {"cancelled", [] {}, nullptr},
        {"streams not a number", [this] { points[kStreamsPointId] = ""; }, "Create PDF File Fail."},
        {"missing library", [this] { form->setPdfLibraryName(dir.filePath("libnothere.so")); },
         "Create PDF File Fail."},
        {"unwritable target", [] {}, "Write To File Fail"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testenv::dialogs().clear();
        QFile::remove(dir.filePath("QCDoc.xml"));
        form->setPdfLibraryName("libqcpdf.so");
        c.arrange();
        const QString target = std::string(c.name) == "unwritable target" ? dir.filePath("no/such/folder/cert.pdf")
                                                                          : dir.filePath("cert.pdf");
        if (c.message)
            testenv::dialogs().answerText(target);
        form->btnSaveClick();
        const auto& shown = testenv::dialogs().shown();
        if (c.message) {
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[1].caption, "Attention");
            EXPECT_EQ(shown[1].text, c.message);
        } else {
            EXPECT_EQ(shown.size(), 1u);
        }
        EXPECT_FALSE(QFile::exists(dir.filePath("cert.pdf")));
        EXPECT_EQ(ReadQCDocFile(dir.filePath("QCDoc.xml")).data.technician, "Ana");
        points[kStreamsPointId] = "0";
    }
}

TEST_F(QCFormTest, LongNotesWrapAndGoOnToAnotherPageAndAMissingLogoIsNoFailure)
{
    unitWithStreams(1);
    points[kStreamsPointId] = "7";                                      // no stream page
    form->services().programDirectory = [this] { return dir.path(); };  // no logo here
    QString notes;
    for (int i = 0; i < 60; ++i)
        notes += QStringLiteral(
                     "Line %1 of the notes, which goes on well past the right margin of the "
                     "page so that it must wrap onto a second line END%1\n")
                     .arg(i);
    form->findChild<QPlainTextEdit*>("Memo1")->setPlainText(notes);
    const QString pdf = dir.filePath("notes.pdf");
    ASSERT_EQ(form->SaveCertificate(pdf), TQCForm::SaveResult::Saved);
    const int pages = pdftools::info(pdf, "Pages").toInt();
    EXPECT_GE(pages, 3);
    const QString all = pdftools::text(pdf);
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(all.contains(QStringLiteral("END%1").arg(i))) << i;
}

}  // namespace
