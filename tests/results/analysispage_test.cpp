#include "controlfixture.h"
#include "pagefixture.h"

#include "analysisformat.h"
#include "analysispage.h"
#include "dbbitimage.h"
#include "dbcontrols.h"
#include "iostatuspage.h"
#include "lamps.h"
#include "registernames.h"
#include "reportconfig.h"
#include "securitychk.h"
#include "testpages.h"
#include "timestamptoken.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

// The analysis page's scan list as the page lists it.
const std::vector<int> kAnalysisScan{
    45,   611,  68,   91,   1269, 114,  158,  636,  181,  204,  1295, 227,  668,  696,  721,  751,  1321, 781,  818,
    846,  871,  901,  1347, 931,  388,  394,  0,    1,    2,    402,  391,  506,  393,  39,   482,  397,  396,  398,
    399,  401,  400,  520,  29,   1391, 1392, 1393, 1427, 1394, 1395, 1396, 1397, 1398, 1428, 1399, 1400, 1401, 1402,
    1403, 1429, 1404, 1405, 1406, 1407, 1408, 1430, 1409, 1410, 450,  1083, 451,  452,  1411, 453,  21,   22,   463,
    454,  1084, 455,  456,  1412, 457,  134,  135,  408,  1085, 1086, 1087, 1088, 1413, 1089, 656,  657,  655,  1090,
    1091, 1092, 1093, 1414, 1094, 806,  807,  805,  392,  20,   407,  1556, 1609, 1431};

std::vector<int> range(int from, int to)
{
    std::vector<int> r;
    for (int i = from; i <= to; ++i)
        r.push_back(i);
    return r;
}
std::vector<int> join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const std::vector<int> kStatusScan = join({{392, 407},
                                           range(1197, 1202),
                                           {486, 487, 1149, 1150, 1151, 1152},
                                           range(1544, 1547),
                                           {247, 249, 251, 253, 955, 957, 380},
                                           range(410, 415),
                                           range(1129, 1136),
                                           {264, 267, 270, 273, 974, 980, 986, 992},
                                           range(373, 376),
                                           range(1125, 1128),
                                           {255, 257, 259, 261, 963, 965, 967, 969, 1504, 1513, 1522, 1531},
                                           range(1552, 1555),
                                           {1476, 1475}});
const std::vector<int> kStatusPoll = join({{392, 407},
                                           range(1544, 1547),
                                           {247, 249, 251, 253, 955, 957, 380},
                                           range(410, 415),
                                           range(1129, 1136),
                                           range(373, 376),
                                           range(1125, 1128),
                                           {1476, 1475}});

class PageScanTest : public DatabaseFixture {};

template <typename T>
T* child(QWidget* page, const char* name)
{
    T* c = page->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QImage picture(QLabel* label)
{
    return label->pixmap().toImage();
}

void grabFor(QWidget* page, const char* file)
{
    // Set KVT_GRAB_DIR to look at the pages as a technician would.
    const QByteArray dir = qgetenv("KVT_GRAB_DIR");
    if (!dir.isEmpty())
        page->grab().save(QString::fromLocal8Bit(dir) + "/" + file);
}

}  // namespace

TEST_F(PageScanTest, EnteringTheAnalysisPageListsItsPointsInOrder)
{
    TfraWW page(testenv::pageServices(*db));
    EXPECT_TRUE(page.PageNotEntered());
    page.RegisterPoints();
    page.RegisterPoints();  // again: the same list, no duplicates
    const ExpressScan& scan = db->expressScan;
    EXPECT_EQ(scan.MainList(), kAnalysisScan);
    EXPECT_EQ(scan.MainList().size(), 109u);
    EXPECT_TRUE(scan.AlternateList().empty());
    EXPECT_EQ(scan.GetPage(), 0);
    EXPECT_FALSE(scan.ShowsWaitOnRead());
    EXPECT_FALSE(page.PageNotEntered());
    EXPECT_EQ(registerName(0), "Unit ID");
    for (int i = 0; i < 24; ++i) {
        const std::string name = registerName(kAnalysisScan[static_cast<std::size_t>(i)]);
        EXPECT_EQ(name.substr(name.size() - 6), ": Name") << name;
    }
    EXPECT_EQ(registerName(1556), "Predictive Analysis Alarm (High High Alarm)");
    EXPECT_EQ(registerName(1609), "Sequencer Request: Manual Enable");
    EXPECT_EQ(registerName(29), "Total Run Counter");

    // Every control is found under its own name, with the captions of the form.
    EXPECT_EQ(child<TQLabeledEdit>(&page, "ledUnitDateTime")->EditLabel()->text(), "Analyzer Date && Time");
    EXPECT_EQ(child<TQLabeledEdit>(&page, "edtLastRef23")->LabelCaption(), "Reference2");
    EXPECT_EQ(child<TQLabeledEdit>(&page, "edtStream4CalSCH")->LabelCaption(), "4CS");
    EXPECT_EQ(child<TQLabel>(&page, "labStreamLastResults1")->text(), "Stream 1 Last Results in ");
    EXPECT_TRUE(child<TQCheckBox>(&page, "chkGenReport")->isHidden());
    EXPECT_EQ(child<TQEdit>(&page, "edtPrintCount")->text(), "0");
}

TEST_F(PageScanTest, EnteringTheStatusPageListsAllPointsAndPollsThirtySeven)
{
    TfrmIOStatus page(testenv::pageServices(*db));
    page.RegisterPoints();
    page.RegisterPoints();
    const ExpressScan& scan = db->expressScan;
    EXPECT_EQ(scan.MainList(), kStatusScan);
    EXPECT_EQ(scan.MainList().size(), 73u);
    EXPECT_EQ(scan.AlternateList(), kStatusPoll);
    EXPECT_EQ(scan.AlternateList().size(), 37u);
    EXPECT_EQ(scan.GetPage(), 15);
    EXPECT_EQ(&scan.PolledList(), &scan.AlternateList());
    EXPECT_EQ(registerName(380), "Digital Output Positions (BITS)");
    EXPECT_EQ(registerName(1476), "Status: DC Power");
    EXPECT_EQ(child<QTImage16>(&page, "imgS2")->WatchBitNumber(), dbctl::bnBit9);
    EXPECT_EQ(child<QTImage16>(&page, "R6State")->WatchBitNumber(), dbctl::bnBit5);
    EXPECT_EQ(child<TQLabel>(&page, "DI7Desc")->text(), "DI 3 Desc.");
    EXPECT_EQ(child<TQLabeledEdit>(&page, "edtAO1Desc")->Text(), "0");
}

class AnalysisHandlersTest : public ControlFixture {};

TEST_F(AnalysisHandlersTest, HandlersColourOnlyAfterEntryAndSurviveBadValues)
{
    TfraWW page(testenv::pageServices(*db));
    broadcast(&page, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    auto* h2s = child<TQLabeledEdit>(&page, "edtLastNormal1");
    const QColor normal = h2s->Edit()->palette().color(QPalette::Base);
    announce(1391, "1");
    EXPECT_EQ(h2s->Edit()->palette().color(QPalette::Base), normal) << "no colour before the page is entered";
    page.RegisterPoints();
    announce(1391, "1");
    EXPECT_EQ(h2s->Edit()->palette().color(QPalette::Base), QColor(255, 255, 0));
    announce(1391, "0");
    EXPECT_EQ(h2s->Edit()->palette().color(QPalette::Base), normal);

    // The current analysis names the run type on the active stream; the stream arrives after it
    // in the same read and names it again. No handler reads from the unit itself.
    auto* current = child<TQLabeledEdit>(&page, "ledCurrAnaStream");
    announce(636, "TS-2");
    announce(*analysis::currentAnalysisNamePoint(1, "1"), "TS-1");
    RidovazManager::Instance()->ReselectMap(ridovaz::kVersion);  // as the logon does
    const std::size_t sent = link.sent.size();
    announce(391, "1");
    announce(392, "1");
    EXPECT_EQ(page.ActiveStream(), 2);
    EXPECT_EQ(current->Text(), "TS-2");
    EXPECT_TRUE(child<TQLabel>(&page, "labStream2")->isVisibleTo(&page));
    announce(392, "0");
    EXPECT_EQ(current->Text(), "TS-1");
    EXPECT_EQ(link.sent.size(), sent);

    // A value that is no number leaves the state and the run number as they were.
    auto* state = child<TQLabeledEdit>(&page, "ledCurrAnaState");
    announce(402, "7");
    EXPECT_EQ(state->Text(), "Auto Zero");
    bool show = true;
    state->OnDBPointValueChanged(state, "seven", show);
    EXPECT_FALSE(show);
    EXPECT_EQ(state->Text(), "Auto Zero");
    auto* run = child<TQLabeledEdit>(&page, "ledCurrAnaRunNumber");
    announce(394, "10");
    announce(393, "4");
    EXPECT_EQ(run->Text(), "5");
    run->OnDBPointValueChanged(run, "", show);
    EXPECT_EQ(run->Text(), "5");

    // The decimal places file is read at each entry; new values take it.
    QFile places(SecurityChk::Instance()->GetDataDirectory() + "/dispPlace.cfg");
    ASSERT_TRUE(places.open(QIODevice::WriteOnly));
    places.write("0");
    places.close();
    page.RegisterPoints();
    announce(450, "12.5");
    EXPECT_EQ(h2s->Text(), "13");
    places.remove();
    page.RegisterPoints();
    announce(450, "12.5");
    EXPECT_EQ(h2s->Text(), "12.50");

    broadcast(&page, winmsg::WM_UNREGISTER_DATABASE, dbctl::glueParam(db));
}

class AnalysisPageWithUnit : public PageWithUnit {
protected:
    TfraWW* page() { return static_cast<TfraWW*>(form->Frame(TfraWW::kDecl.tab)); }
    QString text(const char* name) { return child<TQLabeledEdit>(page(), name)->Text(); }
};

TEST_F(AnalysisPageWithUnit, ValuesFromTheUnitAppearAsSpecified)
{
    SecurityChk::Instance()->SetDataDirectory();
    {
        QFile places(SecurityChk::Instance()->GetDataDirectory() + "/dispPlace.cfg");
        ASSERT_TRUE(places.open(QIODevice::WriteOnly));
        places.write("3");
    }
    const auto token = timestamp::fromDateAndTime(QDate(2026, 12, 11), QTime(15, 4, 5));
    const struct {
        int id;
        QVariant value;
    } values[] = {
        {1, "North tank"}, {454, 12.3456}, {457, -0.5},           {134, 1.25}, {408, "PPM"}, {1396, 1},
        {1399, 2},         {392, 1},       {636, "TS-2"},         {391, 1},    {402, 12},    {1431, 4},
        {393, 4},          {394, 10},      {388, qint64(*token)}, {20, 3},     {407, true},  {29, 100},
    };
    for (const auto& v : values)
        ASSERT_TRUE(unit->setValue(static_cast<std::uint16_t>(v.id), v.value)) << v.id;
    // Run reports armed: printed to a PDF file and saved.
    QTemporaryDir dir;
    ReportConfig config;
    config.labId = "L-7";
    config.runLimit = 1;
    config.saveLimit = 1;
    QString error;
    ASSERT_TRUE(ReportConfigFile::Write(QDir::current().filePath("ReportConfig.xml"), config, &error));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("report.pdf"));
    page()->SetPrinter(&printer);
    child<TQCheckBox>(page(), "chkGenReport")->click();
    testenv::dialogs().answerText(dir.filePath("run"));
    child<TQCheckBox>(page(), "chkSaveReport")->click();

    logOn(false);
    poll()->Timer().setInterval(50);
    ASSERT_EQ(form->PageControlMain()->currentIndex(), TfraWW::kDecl.tab);
    // The logon read every point before the page was entered; the poll delivers them again in the
    // page's decimal places, and now colours the results by their schedule.
    ASSERT_TRUE(waitFor([&] { return text("edtLastNormal2") == "12.346"; })) << text("edtLastNormal2").toStdString();

    EXPECT_EQ(page()->DisplayFormat(), "0.000");
    EXPECT_EQ(text("edtSite"), "North tank");
    EXPECT_EQ(text("edtLastNormal2"), "12.346");
    EXPECT_EQ(text("edtLastZero2"), "-0.500");
    EXPECT_EQ(text("edtLastGain2"), "1.250");
    EXPECT_EQ(text("glAnalysisUnit2"), "PPM");
    auto base = [&](const char* name) {
        return child<TQLabeledEdit>(page(), name)->Edit()->palette().color(QPalette::Base);
    };
    EXPECT_EQ(text("ledCurrAnaStream"), "TS-2");
    EXPECT_EQ(base("edtLastNormal2"), QColor(255, 255, 0));
    EXPECT_EQ(base("edtLastZero2"), QColor(0, 255, 255));
    EXPECT_EQ(base("edtLastNormal1"), base("edtLastCal2"));
    EXPECT_EQ(page()->ActiveStream(), 2);
    EXPECT_TRUE(child<TQLabel>(page(), "labStream2")->isVisibleTo(page()));
    EXPECT_EQ(child<TQLabel>(page(), "labStream2")->text(), "Stream 2 Active");
    EXPECT_FALSE(child<TQLabel>(page(), "labStream")->isVisibleTo(page()));
    EXPECT_EQ(text("ledCurrAnaState"), "12");
    EXPECT_EQ(text("SequencerState"), "Manual Sequencer 2 On");
    EXPECT_EQ(text("ledCurrAnaRunNumber"), "5");
    EXPECT_EQ(text("ledUnitDateTime"), "December 11, 2026 3:04:05 PM");
    EXPECT_EQ(form->StreamDisp()->text(), "4-STREAMS");
    EXPECT_EQ(picture(child<TQImage>(page(), "QImage1")), lamps::system(2).toImage());
    EXPECT_FALSE(QFile::exists(dir.filePath("run0.rpt"))) << "the first counter value only records it";

    // The end of a run: the counter moves on.
    ASSERT_TRUE(unit->setValue(29, 101));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(dir.filePath("run0.rpt")); }));
    QFile report(dir.filePath("run0.rpt"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(), QByteArray("Quenrick\r\nSentrel515 H2S Analyzer Report\r\n\r\nLab ID: L-7\r\n"
                                           "Sample ID: \r\nSample Name: \r\nClient Name: \r\n"
                                           "Date/Time: December 11, 2026 3:04:05 PM\r\n"
                                           "Stream 2 Result: 12.346 PPM\r\n"
                                           "THIS REPORT HAS BEEN GENERATED WITH FOLLOWING ALARMS: System Alarm\r\n"));
    EXPECT_TRUE(QFile::exists(dir.filePath("report.pdf")));
    EXPECT_FALSE(child<TQCheckBox>(page(), "chkGenReport")->isChecked()) << "the limit of one was reached";
    EXPECT_TRUE(shownTexts().filter("could not").isEmpty()) << shownTexts().join(" | ").toStdString();
    QFile::remove(QDir::current().filePath("ReportConfig.xml"));

    // The print menu prints the page itself.
    printer.setOutputFileName(dir.filePath("page.pdf"));
    form->Print1Click();
    QFile pdf(dir.filePath("page.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().contains("/Subtype /Image"));

    form->resize(1020, 735);
    grabFor(page(), "analysis.png");
}

TEST_F(AnalysisPageWithUnit, StatusPageShowsLampsAndValues)
{
    const struct {
        int id;
        QVariant value;
    } values[] = {
        {486, 12.3456},      {1149, 4.0},          {1544, -1.25},         {1552, "degC"},    {1504, "Inlet pressure"},
        {380, 1 << 9},       {1476, true},         {1475, false},         {407, false},      {411, true},
        {1125, true},        {247, "Alarm relay"}, {1197, "Sample flow"}, {255, "Span gas"}, {264, "Door switch"},
        {974, "Flow switch"}};
    for (const auto& v : values)
        ASSERT_TRUE(unit->setValue(static_cast<std::uint16_t>(v.id), v.value)) << v.id;
    // In read-only mode the window disables this page; update mode shows it as it is.
    logOn(true);
    poll()->Timer().setInterval(50);
    form->PageControlMain()->setCurrentIndex(TfrmIOStatus::kDecl.tab);
    QWidget* status = form->Frame(TfrmIOStatus::kDecl.tab);
    auto ao = [&](const char* name) { return child<TQLabeledEdit>(status, name)->Text(); };
    ASSERT_TRUE(waitFor([&] { return ao("edtAO1Desc") == "12.346"; })) << ao("edtAO1Desc").toStdString();
    EXPECT_EQ(ao("edtAO3Desc"), "4.000");
    EXPECT_EQ(child<TQEdit>(status, "edAIR1")->text(), "-1.250");
    EXPECT_EQ(child<TQLabel>(status, "AIUnit1")->text(), "degC");
    EXPECT_EQ(child<TQLabel>(status, "labAIDesc1")->text(), "Inlet pressure");
    EXPECT_EQ(child<TQLabel>(status, "lblRelay1")->text(), "Alarm relay");

    const QImage red = lamps::alarm(2).toImage();
    const QImage grey = lamps::alarm(3).toImage();
    EXPECT_EQ(picture(child<QTImage16>(status, "imgS2")), red);
    for (const char* off : {"imgS1", "imgS3", "R2State", "Lat1", "Lat9", "D1State"})
        EXPECT_EQ(picture(child<TQImage>(status, off)), grey) << off;
    EXPECT_EQ(picture(child<TQImage>(status, "Lat2")), red);
    EXPECT_EQ(picture(child<TQImage>(status, "D5State")), red);
    EXPECT_EQ(picture(child<TQImage>(status, "DCPowerStatus")), grey);
    EXPECT_EQ(child<TQLabel>(status, "labDCPower")->text(), "DC Power Disconnected");
    EXPECT_EQ(picture(child<TQImage>(status, "ACPowerStatus")), red);
    EXPECT_EQ(child<TQLabel>(status, "labACPower")->text(), "AC Power Connected");
    EXPECT_EQ(picture(child<TQImage>(status, "QImage1")), lamps::system(3).toImage());

    // The poll brings changes of the polled points.
    ASSERT_TRUE(unit->setValue(380, 1 << 0));
    ASSERT_TRUE(waitFor([&] { return picture(child<TQImage>(status, "R1State")) == red; }));
    EXPECT_EQ(picture(child<QTImage16>(status, "imgS2")), grey);

    form->resize(1020, 735);
    grabFor(status, "status.png");
}
