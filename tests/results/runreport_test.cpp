#include "runreport.h"
#include "analysisformat.h"
#include "reportconfig.h"
#include "runreporter.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

RunReportData sampleData(int stream = 1, bool alarm = true)
{
    RunReportData d;
    d.labId = "L-7";
    d.sampleId = "S-12";
    d.sampleName = "Fuel gas";
    d.clientName = "Acme";
    d.dateTime = "December 11, 2026 3:04:05 PM";
    d.activeStream = stream;
    d.result = "12.35";
    d.units = "PPM";
    d.systemAlarm = alarm;
    d.alarmText = analysis::alarmText(407, alarm);
    return d;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int pdfPages(const QString& path)
{
    const QByteArray pdf = readAll(path);
    if (!pdf.startsWith("%PDF"))
        return -1;
    return pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
           pdf.count("/Type /Page/");
}

}  // namespace

TEST(RunReportLines, ExactLinesAndFile)
{
    const QStringList expected{"Quenrick",
                               "Sentrel515 H2S Analyzer Report",
                               "",
                               "Lab ID: L-7",
                               "Sample ID: S-12",
                               "Sample Name: Fuel gas",
                               "Client Name: Acme",
                               "Date/Time: December 11, 2026 3:04:05 PM",
                               "Stream 1 Result: 12.35 PPM",
                               "THIS REPORT HAS BEEN GENERATED WITH FOLLOWING ALARMS: System Alarm"};
    EXPECT_EQ(runReportLines(sampleData()), expected);

    // Every stream has its result line; without an active stream the line is empty.
    EXPECT_EQ(runReportLines(sampleData(4)).at(8), "Stream 4 Result: 12.35 PPM");
    EXPECT_EQ(runReportLines(sampleData(3)).at(8), "Stream 3 Result: 12.35 PPM");
    EXPECT_EQ(runReportLines(sampleData(0)).at(8), "");
    // Without the alarm the report ends after the result line.
    EXPECT_EQ(runReportLines(sampleData(2, false)).size(), 9);

    QTemporaryDir dir;
    const QString file = dir.filePath("run0.rpt");
    QString error;
    ASSERT_TRUE(saveRunReport(file, sampleData(2, false), &error)) << error.toStdString();
    EXPECT_EQ(readAll(file), QByteArray("Quenrick\r\nSentrel515 H2S Analyzer Report\r\n\r\nLab ID: L-7\r\n"
                                        "Sample ID: S-12\r\nSample Name: Fuel gas\r\nClient Name: Acme\r\n"
                                        "Date/Time: December 11, 2026 3:04:05 PM\r\nStream 2 Result: 12.35 PPM\r\n"));

    EXPECT_FALSE(saveRunReport(dir.filePath("missing/run0.rpt"), sampleData(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RunReportPrint, LayoutOnTheCanvas)
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setOutputFileName(dir.filePath("report.pdf"));

    const auto items = RunReportPrinter::Layout(&printer, sampleData());
    ASSERT_EQ(items.size(), 17u);
    auto lh = [&](int size, bool bold = false) {
        QFont f;
        f.setPointSize(size);
        f.setBold(bold);
        return QFontMetrics(f, &printer).height();
    };
    auto find = [&](const QString& text) {
        for (const auto& t : items)
            if (t.text == text)
                return t;
        ADD_FAILURE() << "no " << text.toStdString();
        return PrintedText{};
    };
    const auto footer = find("Page 1");
    EXPECT_EQ(footer.top, lh(10) + printer.height() - 200);
    const auto company = find("Quenrick ");
    EXPECT_EQ(company.top, 205);
    EXPECT_EQ(company.pointSize, 12);
    const auto title = find("Sentrel515 H2S Analyzer Report");
    EXPECT_EQ(title.top, 205 + lh(12));
    EXPECT_EQ(title.pointSize, 18);
    QFont titleFont;
    titleFont.setPointSize(18);
    EXPECT_EQ(title.x, printer.width() / 2 -
                           QFontMetrics(titleFont, &printer).horizontalAdvance("Sentrel515 H2S Analyzer Report") / 2);
    const auto lab = find("Lab ID: ");
    EXPECT_TRUE(lab.bold);
    EXPECT_EQ(lab.x, 40);
    EXPECT_EQ(lab.top, title.top + lh(18) + lh(10));
    QFont bold;
    bold.setPointSize(10);
    bold.setBold(true);
    const auto labValue = find("L-7");
    EXPECT_FALSE(labValue.bold);
    EXPECT_EQ(labValue.x, 40 + QFontMetrics(bold, &printer).horizontalAdvance("nnnnnnnn") + 20);
    EXPECT_EQ(find("Date/Time: ").top, lab.top + 4 * lh(10));
    const auto result = find("Stream 1 Result: ");
    EXPECT_EQ(result.top, lab.top + 5 * lh(10));
    EXPECT_EQ(find("12.35  PPM").top, result.top);
    const auto heading = find("THIS REPORT HAS BEEN GENERATED WITH FOLLOWING ALARMS: ");
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.top, result.top + 3 * lh(10));
    EXPECT_EQ(find(" System Alarm").top, heading.top + lh(10));

    // Without a result line the alarm heading is two lines below where it would be.
    const auto noResult = RunReportPrinter::Layout(&printer, sampleData(0));
    for (const auto& t : noResult) {
        if (t.text.startsWith("THIS REPORT")) {
            EXPECT_EQ(t.top, result.top + 2 * lh(10));
        }
    }

    // A coarser printer keeps the same proportions.
    QPrinter coarse(QPrinter::ScreenResolution);
    coarse.setOutputFormat(QPrinter::PdfFormat);
    coarse.setResolution(300);
    for (const auto& t : RunReportPrinter::Layout(&coarse, sampleData())) {
        if (t.text == "Lab ID: ") {
            EXPECT_EQ(t.x, 20);
        }
    }

    QString error;
    ASSERT_TRUE(RunReportPrinter::Print(printer, sampleData(), &error)) << error.toStdString();
    EXPECT_EQ(pdfPages(dir.filePath("report.pdf")), 1);
}

class RunReporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        configPath = dir.filePath("ReportConfig.xml");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(600);
        printer.setOutputFileName(dir.filePath("print.pdf"));
        reporter = std::make_unique<RunReporter>(configPath);
        reporter->SetPrinter(&printer);
        reporter->OnBoxesChanged = [this] { ++changes; };
        testenv::dialogs().clear();
        previousDir = QDir::currentPath();
    }
    void TearDown() override
    {
        QDir::setCurrent(previousDir);
        testenv::dialogs().clear();
    }

    void writeConfig(const ReportConfig& config)
    {
        QString error;
        ASSERT_TRUE(ReportConfigFile::Write(configPath, config, &error)) << error.toStdString();
    }
    void writeRaw(const QByteArray& bytes)
    {
        QFile f(configPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // One notification of the run counter, with the run type the unit reported before it.
    void run(int counter, int runType = 0)
    {
        reporter->RunTypeValue(QString::number(runType));
        reporter->RunCounterValue(QString::number(counter), [] { return sampleData(1, false); });
    }
    bool printed()
    {
        const bool any = QFile::exists(printer.outputFileName());
        QFile::remove(printer.outputFileName());
        return any;
    }
    // The message boxes shown (not the file dialogs).
    QStringList messages()
    {
        QStringList out;
        for (const auto& s : testenv::dialogs().shown())
            if (s.kind == DialogService::Kind::Message)
                out << s.text;
        return out;
    }

    QTemporaryDir dir;
    QString previousDir;
    QString configPath;
    QPrinter printer{QPrinter::HighResolution};
    std::unique_ptr<RunReporter> reporter;
    int changes = 0;
};

TEST_F(RunReporterTest, ConfigRoundTripsInOrder)
{
    ReportConfig config;
    config.runLimit = 3;
    config.saveLimit = 2;
    config.sampleId = "S-12";
    config.runType = "5";
    config.labId = "L&7";
    config.clientName = "Acme <North>";
    config.sampleName = "Fuel \"gas\"";
    writeConfig(config);
    const QByteArray xml = readAll(configPath);
    EXPECT_LT(xml.indexOf("RunLimit"), xml.indexOf("SaveLimit"));
    EXPECT_LT(xml.indexOf("ClientName"), xml.indexOf("SampleName"));

    ReportConfig read;
    const auto result = ReportConfigFile::Read(configPath, read);
    EXPECT_EQ(result.status, ReportConfigFile::Status::Read);
    EXPECT_EQ(read.runLimit, 3);
    EXPECT_EQ(read.saveLimit, 2);
    EXPECT_EQ(read.sampleId, "S-12");
    EXPECT_EQ(read.runType, "5");
    EXPECT_EQ(read.labId, "L&7");
    EXPECT_EQ(read.clientName, "Acme <North>");
    EXPECT_EQ(read.sampleName, "Fuel \"gas\"");

    // A failed save leaves the file as it was.
    QString error;
    EXPECT_FALSE(ReportConfigFile::Write(dir.filePath("no/such/ReportConfig.xml"), config, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(RunReporterTest, MissingAttributeEndsTheReadingAndKeepsTheRest)
{
    ReportConfig config;
    config.labId = "before";
    config.saveLimit = 9;
    writeRaw("<Anything RunLimit=\"4\" SampleID=\"S\" LabID=\"L\"/>");
    const auto result = ReportConfigFile::Read(configPath, config);
    EXPECT_EQ(result.status, ReportConfigFile::Status::Read);
    EXPECT_TRUE(result.runLimitRead);
    EXPECT_FALSE(result.saveLimitRead);
    EXPECT_EQ(config.runLimit, 4);
    EXPECT_EQ(config.saveLimit, 9);
    EXPECT_EQ(config.sampleId, "");
    EXPECT_EQ(config.labId, "before");
}

TEST_F(RunReporterTest, EndOfRunPrintsAndSavesTheReport)
{
    ReportConfig config;
    config.labId = "L-7";
    config.sampleId = "S-12";
    config.sampleName = "Fuel gas";
    config.clientName = "Acme";
    writeConfig(config);
    const QString base = dir.filePath("run");
    testenv::dialogs().answerText(base);

    reporter->PrintBoxClicked(true);
    reporter->SaveBoxClicked(true);
    EXPECT_TRUE(reporter->Box(RunReporter::Print).checked);
    EXPECT_TRUE(reporter->Box(RunReporter::Save).checked);
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
    EXPECT_EQ(testenv::dialogs().shown()[0].kind, DialogService::Kind::SaveFile);
    EXPECT_EQ(testenv::dialogs().shown()[0].text, "RPT File (*.rpt *.RPT)");
    EXPECT_EQ(reporter->ReportBaseName(), base);

    // The first counter value only records the counter; the same value again is no new run.
    run(100);
    run(100);
    EXPECT_FALSE(printed());
    EXPECT_FALSE(QFile::exists(base + "0.rpt"));

    run(101);
    EXPECT_EQ(pdfPages(printer.outputFileName()), 1);
    EXPECT_TRUE(printed());
    EXPECT_EQ(readAll(base + "0.rpt"),
              QByteArray("Quenrick\r\nSentrel515 H2S Analyzer Report\r\n\r\nLab ID: L-7\r\nSample ID: S-12\r\n"
                         "Sample Name: Fuel gas\r\nClient Name: Acme\r\n"
                         "Date/Time: December 11, 2026 3:04:05 PM\r\nStream 1 Result: 12.35 PPM\r\n"));
    // Limits of 0: one report per check of the box, which then unchecks itself.
    EXPECT_FALSE(reporter->Box(RunReporter::Print).checked);
    EXPECT_FALSE(reporter->Box(RunReporter::Save).checked);
    run(102);
    EXPECT_FALSE(printed());
    EXPECT_FALSE(QFile::exists(base + "1.rpt"));
    EXPECT_TRUE(messages().isEmpty()) << messages().join("|").toStdString();
}

TEST_F(RunReporterTest, LimitsCountDownAndUncheckTheBox)
{
    ReportConfig config;
    config.runLimit = 3;
    config.saveLimit = 2;
    writeConfig(config);
    QDir::setCurrent(dir.path());
    testenv::dialogs().answerText("");  // cancelled: the files keep the name "Report"

    reporter->PrintBoxClicked(true);
    reporter->SaveBoxClicked(true);
    EXPECT_TRUE(reporter->Box(RunReporter::Print).countVisible);
    EXPECT_EQ(reporter->Box(RunReporter::Print).countText, "3");
    EXPECT_EQ(reporter->Box(RunReporter::Save).countText, "2");

    run(7);
    const char* remaining[] = {"2", "1"};
    for (int i = 0; i < 2; ++i) {
        run(8 + i);
        EXPECT_TRUE(printed());
        EXPECT_EQ(reporter->Box(RunReporter::Print).countText, remaining[i]);
        EXPECT_TRUE(reporter->Box(RunReporter::Print).countVisible);
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("Report0.rpt")));
    EXPECT_TRUE(QFile::exists(dir.filePath("Report1.rpt")));
    EXPECT_FALSE(reporter->Box(RunReporter::Save).checked);
    EXPECT_FALSE(reporter->Box(RunReporter::Save).countVisible);

    run(10);
    EXPECT_TRUE(printed());
    EXPECT_FALSE(reporter->Box(RunReporter::Print).checked);
    EXPECT_FALSE(reporter->Box(RunReporter::Print).countVisible);
    EXPECT_FALSE(reporter->Armed(RunReporter::Print));
    run(11);
    EXPECT_FALSE(printed());
    EXPECT_FALSE(QFile::exists(dir.filePath("Report2.rpt")));
    EXPECT_GT(changes, 0);
}

TEST_F(RunReporterTest, RunTypeMaskSelectsTheFinishedRun)
{
    ReportConfig config;
    config.runLimit = 10;
    config.runType = "2";  // Total Sulphur (code 1) only
    writeConfig(config);
    reporter->PrintBoxClicked(true);

    run(1, 0);  // first notification; an H2S run is in progress
    run(2, 1);  // the H2S run ended (a Total Sulphur run starts)
    EXPECT_FALSE(printed());
    run(3, 0);  // the Total Sulphur run ended
    EXPECT_TRUE(printed());
    run(4, 0);
    EXPECT_FALSE(printed());
}

TEST_F(RunReporterTest, CounterTextThatIsNoNumberIsIgnored)
{
    writeConfig(ReportConfig{});
    reporter->PrintBoxClicked(true);
    run(5);
    reporter->RunCounterValue("garbage", [] { return sampleData(); });
    reporter->RunCounterValue("", [] { return sampleData(); });
    EXPECT_FALSE(printed());
    run(5);  // still the same counter: no run ended
    EXPECT_FALSE(printed());
    run(6);
    EXPECT_TRUE(printed());
}

TEST_F(RunReporterTest, MissingOrBadConfigIsReportedOnceAndUnchecks)
{
    reporter->PrintBoxClicked(true);
    EXPECT_FALSE(reporter->Box(RunReporter::Print).checked);
    EXPECT_FALSE(reporter->Armed(RunReporter::Print));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QString("The report settings file \"%1\" was not found. No run reports will be printed.")
                                 .arg(QFileInfo(configPath).absoluteFilePath()));
    run(1);
    run(2);
    EXPECT_FALSE(printed());

    const struct {
        const char* content;
        const char* problem;
    } bad[] = {
        {"<ReportConfig RunLimit=\"3\"", "could not be read: line 1: "},
        {"<ReportConfig RunLimit=\"three\"/>", "RunLimit \"three\" is not a whole number"},
        {"<ReportConfig RunLimit=\"1\" SaveLimit=\"2.5\"/>", "SaveLimit \"2.5\" is not a whole number"},
        {"<ReportConfig RunLimit=\"1\" SaveLimit=\"2\" SampleID=\"\" RunType=\"H2S\"/>", "RunType"},
        {"", "could not be read: line 1: "},
    };
    for (const auto& b : bad) {
        testenv::dialogs().clear();
        writeRaw(b.content);
        reporter->SaveBoxClicked(true);
        EXPECT_FALSE(reporter->Box(RunReporter::Save).checked) << b.content;
        EXPECT_FALSE(reporter->Armed(RunReporter::Save));
        ASSERT_EQ(messages().size(), 1) << b.content;
        EXPECT_EQ(testenv::dialogs().shown().size(), 1u) << "no file dialog either";
        EXPECT_TRUE(messages()[0].contains(b.problem)) << messages()[0].toStdString();
        EXPECT_TRUE(messages()[0].endsWith("No run reports will be saved."));
        EXPECT_EQ(reporter->Config().runLimit, 0) << "a bad file changes nothing";
    }
}

TEST_F(RunReporterTest, UnwritableReportIsReportedAndNotCounted)
{
    ReportConfig config;
    config.saveLimit = 2;
    writeConfig(config);
    const QString base = dir.filePath("gone/run");
    testenv::dialogs().answerText(base);
    reporter->SaveBoxClicked(true);
    run(1);
    run(2);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(QString("The run report could not be saved to \"%1\": ").arg(base + "0.rpt")));
    EXPECT_EQ(reporter->Count(RunReporter::Save), 0);
    EXPECT_EQ(reporter->Box(RunReporter::Save).countText, "2");
    EXPECT_TRUE(reporter->Box(RunReporter::Save).checked);

    // Once the folder is there the same number is used.
    ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
    run(3);
    EXPECT_TRUE(QFile::exists(base + "0.rpt"));
    EXPECT_EQ(reporter->Box(RunReporter::Save).countText, "1");
}

TEST_F(RunReporterTest, PrinterErrorIsReportedAndDisarmsPrinting)
{
    ReportConfig config;
    config.runLimit = 5;
    config.saveLimit = 5;
    writeConfig(config);
    QDir::setCurrent(dir.path());
    printer.setOutputFileName(dir.filePath("no/such/folder/print.pdf"));
    reporter->PrintBoxClicked(true);
    testenv::dialogs().answerText("");
    reporter->SaveBoxClicked(true);
    testenv::dialogs().clear();

    run(1);
    run(2);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("The run report could not be printed: "));
    EXPECT_TRUE(messages()[0].endsWith("Printing of run reports has been stopped."));
    EXPECT_FALSE(reporter->Box(RunReporter::Print).checked);
    EXPECT_FALSE(reporter->Armed(RunReporter::Print));
    // The save step of the same run went on.
    EXPECT_TRUE(QFile::exists(dir.filePath("Report0.rpt")));

    run(3);
    EXPECT_EQ(messages().size(), 1) << "no second message";
    EXPECT_TRUE(QFile::exists(dir.filePath("Report1.rpt")));
}

// The files an arming will write are asked about when they exist: the numbers below the save
// limit of that name, nothing else. No goes back to the dialog and keeps them.
TEST_F(RunReporterTest, ExistingReportFilesOfTheChosenNameAreAskedAbout)
{
    ReportConfig config;
    config.saveLimit = 3;
    writeConfig(config);
    const QString base = dir.filePath("run");
    for (const char* name : {"run0.rpt", "run2.rpt", "run3.rpt", "run01.rpt", "runx0.rpt", "run1.RPT"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    auto& dialogs = testenv::dialogs();
    dialogs.answerText(base);
    dialogs.answerButton(QMessageBox::No);
    dialogs.answerText(dir.filePath("fresh"));
    reporter->SaveBoxClicked(true);
    ASSERT_EQ(messages().join(" | ").toStdString(), "run0.rpt and 1 more already exist.\nDo you want to replace them?");
    EXPECT_EQ(dialogs.shown()[1].caption, "Save As");
    EXPECT_EQ(reporter->ReportBaseName(), dir.filePath("fresh"));
    EXPECT_EQ(reporter->ReportFiles(base).join(" | ").toStdString(),
              (dir.filePath("run0.rpt") + " | " + dir.filePath("run2.rpt")).toStdString());
    EXPECT_TRUE(reporter->ReportFiles(dir.filePath("[r]un")).isEmpty());

    dialogs.clear();
    dialogs.answerText(base);
    dialogs.answerButton(QMessageBox::Yes);
    reporter->SaveBoxClicked(true);
    EXPECT_EQ(reporter->ReportBaseName(), base);
    run(1);
    run(2);
    EXPECT_NE(readAll(base + "0.rpt"), "old");
    EXPECT_EQ(readAll(dir.filePath("run01.rpt")), "old");
}
