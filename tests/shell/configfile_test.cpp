// The configuration file: its exact layout, save and re-open round trips, and documents that
// must be refused whole.
#include "configfile.h"

#include "pointfixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QDateTime kMoment(QDate(2024, 3, 5), QTime(0, 7, 9));

class ConfigFileTest : public DatabaseFixture {
protected:
    QByteArray build() { return configfile::Build(*db, kMoment); }

    DatabasePoint* configPoint(int type)
    {
        for (int i = 0; i < db->GetPointCount(); ++i) {
            DatabasePoint* p = db->GetPointByIndex(i);
            if (p && (p->GetUsageFlags() & 0x04) && p->GetType() == type)
                return p;
        }
        return nullptr;
    }

    // A configuration with the awkward values: signed bytes, control bytes in texts, the top
    // bytes of every field.
    void seed()
    {
        DatabasePoint* text = configPoint(13);
        DatabasePoint* number = configPoint(0);
        ASSERT_TRUE(text && number);
        text->SetAndNotify(std::string("A\x05<&\"\xE9\x7F", 7));
        number->SetAndNotify("12.5");

        ModbusList& list = db->GetModbusList();
        list.SelectMode(modmap::kModicon16);
        int added = 0;
        for (int i = 0; i < db->GetPointCount() && added < 3; ++i) {
            DatabasePoint* p = db->GetPointByIndex(i);
            if (p && p->IsWritable() && p->GetType() == 2)
                added += list.AddPoint(p, 8) >= 0;
        }
        ASSERT_EQ(added, 3);
        // The header as an upload counts it from the groups.
        list.RebuildImage();
        ModmapHeader header{modmap::kModicon16, {}};
        const MBGroupCollection& groups = list.GetCollection();
        int running = 0;
        for (int g = 0; g < groups.GetGroupCount(); ++g) {
            const int count = groups.GetGroup(g)->GetCount();
            if (groups.GetHeaderBlock(g) >= 0)
                header.Blocks[groups.GetHeaderBlock(g)] = {static_cast<std::uint16_t>(running),
                                                           static_cast<std::uint16_t>(count)};
            running += count;
        }
        list.SetHeader(header);
        ASSERT_NE(list.GetImage().Entries[2].UNIQUEID, 0);

        for (int i = 0; i < logrecord::kLogs; ++i) {
            LogRecord& r = db->LogRecords()[i];
            r.LOG_NUMBER = static_cast<std::uint8_t>(i);
            r.Enable = static_cast<std::uint8_t>(i % 2);
            r.Frequency = 0xFFFF;
            r.LogIDCode = 0xFF;
            r.ParametersInLog = 8;
            for (int k = 0; k < logrecord::kParameters; ++k)
                r.Parameters[k] = static_cast<std::uint16_t>(388 + k * 1000 + i);
        }

        SequencerConfiguration s{};
        s.Enable = 1;
        s.Depth = 32;
        s.Automatic[31] = {0xFF, 5};
        s.ManualEnable = 0xFF;
        s.Manual[7] = {1, 1, 0xFF, 8, {{3, 5}}};
        s.Manual[7].Sequence[7] = {0xFE, 0x80};
        db->GetSequencer().SetImage(s);
        db->GetSequencer().Publish();

        TimerXConfiguration t{};
        t.Timers[0] = {1, 0xFF, 23, 59, 1, 0x00FFFFFF, 1, 0x1FF};
        t.Timers[11] = {0, 7, 0, 0, 0, 0x7FFFFFFF, 0, 0xFFFF};
        db->GetTimerXManager().SetImage(t);
        db->GetTimerXManager().Publish();
    }

    // A fresh database, as after a restart.
    void restart()
    {
        DataBase::ReleaseInstance();
        db = DataBase::Instance();
    }

    static QByteArray withoutTime(QByteArray document)
    {
        return QString::fromUtf8(document).replace(QRegularExpression(" Time=\"[^\"]*\""), "").toUtf8();
    }
};

}  // namespace

TEST_F(ConfigFileTest, TheDocumentIsWrittenInItsFixedOrderWithoutAnythingOfItsOwn)
{
    db->GetModbusList().SetHeader({modmap::kEnron, {{0, 1}, {1, 2}, {3, 4}, {7, 8}}});
    const QString doc = QString::fromUtf8(build());
    EXPECT_TRUE(
        doc.startsWith("<ConfigurationDatabase Time=\"March 5, 2024 12:07:09 AM\" Version=\"1.00a\">"
                       "<RidovazPoints><Point UniqueId=\""));
    EXPECT_EQ(doc.count("<Point "), 977);
    EXPECT_TRUE(
        doc.contains("<ModbusList Mode=\"ENRON\"><ENRON_MAP><COILS Address=\"0\" BlockSize=\"1\"/>"
                     "<SHORTS Address=\"1\" BlockSize=\"2\"/><LONGS Address=\"3\" BlockSize=\"4\"/>"
                     "<FLOATS Address=\"7\" BlockSize=\"8\"/></ENRON_MAP><ModBusMap>"
                     "<Item LSMS=\"0\" FORMAT=\"0\" ACCESS=\"0\" UNIQUEID=\"0\"/>"));
    EXPECT_EQ(doc.count("<Item "), 100);
    EXPECT_TRUE(
        doc.contains("<LogConfiguration><LogRecord LOG_NUMBER=\"0\"><LOG Enable=\"0\" Frequency=\"0\" "
                     "LogIDCode=\"0\" ParametersInLog=\"0\"><Ridovaz Value=\"0\"/>"));
    EXPECT_EQ(doc.count("<Ridovaz "), 48);
    EXPECT_TRUE(
        doc.contains("<SequencerConfiguration Enable=\"0\" Depth=\"0\" ManualEnable=\"0\" "
                     "ManualDigitalInput=\"0\"><Automatic><Sequence Stream=\"0\" Run=\"0\"/>"));
    EXPECT_EQ(doc.count("<Sequence "), 32 + 64);
    EXPECT_EQ(doc.count("<Manual "), 8);
    EXPECT_TRUE(
        doc.endsWith("<TIMER Num=\"12\" ScheduleEnable=\"0\" ScheduleDayOfWeek=\"0\" ScheduleHour=\"0\" "
                     "ScheduleMinute=\"0\" AnalysisEnable=\"0\" Analysis=\"0\" SequencerEnable=\"0\" "
                     "Sequencer=\"0\"/></TimerXConfiguration></ConfigurationDatabase>"));
    EXPECT_FALSE(doc.contains('\n'));
    EXPECT_FALSE(doc.contains("<?xml"));
}

TEST_F(ConfigFileTest, TheModbusModeChoosesTheMapNames)
{
    struct Case {
        std::uint8_t mode;
        const char* expected;
    };
    for (const Case& c : {Case{1, "<ModbusList Mode=\"MODICON16\"><MODICON_MAP><STATUS_INPUTS "},
                          Case{2, "<ModbusList Mode=\"MODICON32\"><MODICON_MAP><STATUS_INPUTS "},
                          Case{7, "<ModbusList><MODICON_MAP><STATUS_INPUTS "}}) {
        db->GetModbusList().SetHeader({c.mode, {}});
        const QString doc = QString::fromUtf8(build());
        EXPECT_TRUE(doc.contains(c.expected)) << c.expected;
        EXPECT_TRUE(
            doc.contains("<STATUS_OUTPUTS Address=\"0\" BlockSize=\"0\"/><REGISTER_INPUTS Address=\"0\" "
                         "BlockSize=\"0\"/><REGISTER_OUTPUTS "));
    }
}

TEST_F(ConfigFileTest, SavingAndReopeningGivesTheSameFileButForTheTime)
{
    seed();
    const QByteArray first = build();
    // Signed bytes and control bytes are spelled as the file keeps them.
    EXPECT_TRUE(first.contains("ScheduleDayOfWeek=\"-1\""));
    EXPECT_TRUE(first.contains("Analysis=\"16777215\""));
    EXPECT_TRUE(first.contains("Value=\"A\xEE\x80\x85&lt;&amp;&quot;\xC3\xA9\x7F\""));

    QTemporaryDir dir;
    const QString path = dir.filePath("unit.cfg");
    QString error;
    ASSERT_TRUE(SaveConfigurationFile(path, &error)) << error.toStdString();
    restart();
    int loaded = 0;
    ASSERT_EQ(LoadConfigurationFile(path, &loaded, &error), 0) << error.toStdString();
    EXPECT_EQ(loaded, 977);
    EXPECT_EQ(build(), first);
    EXPECT_TRUE(db->GetSequencer().IsValid());
    EXPECT_TRUE(db->GetTimerXManager().IsValid());
    EXPECT_EQ(db->GetTimerXManager().GetImage().Timers[0].ScheduleDayOfWeek, 0xFF);

    ASSERT_TRUE(SaveConfigurationFile(dir.filePath("again.cfg")));
    QFile a(path), b(dir.filePath("again.cfg"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray savedFirst = a.readAll();
    EXPECT_EQ(withoutTime(savedFirst), withoutTime(b.readAll()));
    EXPECT_EQ(withoutTime(savedFirst), withoutTime(first));
}

TEST_F(ConfigFileTest, ASaveThatCannotBeWrittenSaysSo)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SaveConfigurationFile(dir.filePath("missing/unit.cfg"), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Documents that do not describe a configuration change nothing, not even the entries before
// the fault.
TEST_F(ConfigFileTest, AnUnsoundDocumentIsRefusedWholeAndChangesNothing)
{
    seed();
    const QByteArray good = build();
    restart();
    seed();
    const QString text = QString::fromUtf8(good);
    auto replaced = [&](const QString& from, const QString& to) {
        QString copy = text;
        const int at = copy.indexOf(from);
        EXPECT_GE(at, 0) << from.toStdString();
        return copy.replace(at, from.size(), to).toUtf8();
    };
    const QString item = "<Item LSMS=\"0\" FORMAT=\"0\" ACCESS=\"0\" UNIQUEID=\"0\"/>";
    const QString timer =
        "<TIMER Num=\"13\" ScheduleEnable=\"0\" ScheduleDayOfWeek=\"0\" ScheduleHour=\"0\" "
        "ScheduleMinute=\"0\" AnalysisEnable=\"0\" Analysis=\"0\" SequencerEnable=\"0\" "
        "Sequencer=\"0\"/>";
    const int logStart = text.indexOf("<LogRecord ");
    const QString oneLog = text.mid(logStart, text.indexOf("</LogRecord>") + 12 - logStart);
    const int manualStart = text.indexOf("<Manual ");
    const QString oneManual = text.mid(manualStart, text.indexOf("</Manual>") + 9 - manualStart);
    const int blockStart = text.indexOf("<STATUS_INPUTS ");
    const QString oneBlock = text.mid(blockStart, text.indexOf("/>", blockStart) + 2 - blockStart);
    const int mapStart = text.indexOf("<ModBusMap>");
    const QString entryList = text.mid(mapStart, text.indexOf("</ModBusMap>") + 12 - mapStart);
    const int lastTimer = text.indexOf("<TIMER Num=\"12\"");
    const QString timer12 = text.mid(lastTimer, text.indexOf("</TimerXConfiguration>") - lastTimer);
    const QString firstId = text.mid(text.indexOf("UniqueId=\"") + 10).section('"', 0, 0);
    int unknownId = 1;
    while (db->GetPointById(unknownId))
        ++unknownId;

    struct Case {
        const char* what;
        QByteArray document;
    };
    const std::vector<Case> cases = {
        {"not XML", "this is no configuration"},
        {"empty", ""},
        {"cut short", good.left(good.size() / 2)},
        {"unknown point",
         replaced("<Point UniqueId=\"" + firstId + "\"", "<Point UniqueId=\"" + QString::number(unknownId) + "\"")},
        {"point id past 16 bits", replaced("<Point UniqueId=\"" + firstId + "\"", "<Point UniqueId=\"65536\"")},
        {"point without value", replaced(" Value=\"12.5\"", "")},
        {"101 items", replaced("<ModBusMap>", "<ModBusMap>" + item)},
        {"three blocks", replaced(oneBlock, "")},
        {"five blocks", replaced(oneBlock, oneBlock + oneBlock)},
        {"map without entry list", replaced(entryList, "")},
        {"seven log records", replaced("<LogRecord ", oneLog + "<LogRecord ")},
        {"nine parameters", replaced("<Ridovaz ", "<Ridovaz Value=\"1\"/><Ridovaz ")},
        {"log record without log", replaced(oneLog, "<LogRecord LOG_NUMBER=\"0\"/>")},
        {"33 automatic steps", replaced("<Automatic>", "<Automatic><Sequence Stream=\"0\" Run=\"0\"/>")},
        {"9 manual steps", replaced("<Manual Enable=\"0\" LoopEnable=\"0\" DigitalInput=\"0\" Depth=\"0\">",
                                    "<Manual Enable=\"0\" LoopEnable=\"0\" DigitalInput=\"0\" Depth=\"0\">"
                                    "<Sequence Stream=\"0\" Run=\"0\"/>")},
        {"seven manual sequences", replaced(oneManual, "")},
        {"nine manual sequences", replaced(oneManual, oneManual + oneManual)},
        {"eleven timers", replaced(timer12, "")},
        {"thirteen timers", replaced("</TimerXConfiguration>", timer + "</TimerXConfiguration>")},
        {"byte above 255", replaced("ScheduleHour=\"23\"", "ScheduleHour=\"256\"")},
        {"byte below -128", replaced("ScheduleHour=\"23\"", "ScheduleHour=\"-129\"")},
        {"word above 65535", replaced("Frequency=\"65535\"", "Frequency=\"65536\"")},
        {"huge number", replaced("Analysis=\"16777215\"", "Analysis=\"99999999999999999999\"")},
        {"32-bit value past the signed range", replaced("Analysis=\"16777215\"", "Analysis=\"4294967295\"")},
        {"not a number", replaced("Stream=\"3\"", "Stream=\"three\"")},
        {"fraction", replaced("Stream=\"3\"", "Stream=\"1.5\"")},
        {"empty number", replaced("Stream=\"3\"", "Stream=\"\"")},
        {"missing number", replaced(" Run=\"5\"", "")},
        {"wide character in a value", replaced("Value=\"12.5\"", "Value=\"12\u20AC\"")},
    };
    for (const Case& c : cases) {
        int loaded = 4711;
        QString error;
        EXPECT_EQ(LoadConfigurationDocument(c.document, &loaded, &error), -1) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(loaded, 4711) << c.what;
        EXPECT_EQ(build(), good) << c.what;
    }
}

TEST_F(ConfigFileTest, MissingAndOversizedFilesAreRefused)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_EQ(LoadConfigurationFile(dir.filePath("none.cfg"), nullptr, &error), -1);
    QFile big(dir.filePath("big.cfg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.resize(configfile::kMaxFileSize + 1);
    big.close();
    EXPECT_EQ(LoadConfigurationFile(big.fileName(), nullptr, &error), -1);
}

TEST_F(ConfigFileTest, NestedEntitiesDoNotExpandIntoTheDatabase)
{
    seed();
    const QByteArray before = build();
    QByteArray doc = "<?xml version=\"1.0\"?><!DOCTYPE C [<!ENTITY a \"0123456789\">";
    QByteArray previous = "a";
    for (char name = 'b'; name <= 'j'; ++name) {
        doc += "<!ENTITY " + QByteArray(1, name) + " \"" + QByteArray("&" + previous + ";").repeated(10) + "\">";
        previous = QByteArray(1, name);
    }
    doc += "]><C><TimerXConfiguration>&j;</TimerXConfiguration></C>";
    EXPECT_EQ(LoadConfigurationDocument(doc), -1);
    EXPECT_EQ(build(), before);
}

TEST_F(ConfigFileTest, TheReaderGoesByPositionAndSkipsWhatItDoesNotKnow)
{
    seed();
    const QByteArray before = build();
    const TimerXConfiguration timersBefore = db->GetTimerXManager().GetImage();

    // Only a timer block, under another document element, with comments and blank space; the
    // timer elements named otherwise.
    QByteArray doc = "<Other>\n  <!-- edited by hand -->\n  <Unknown/>\n  <TimerXConfiguration>\n";
    for (int t = 0; t < 12; ++t)
        doc += "    <T ScheduleEnable=\"1\" ScheduleDayOfWeek=\"-1\" ScheduleHour=\"" + QByteArray::number(t) +
               "\" ScheduleMinute=\"0\" AnalysisEnable=\"0\" Analysis=\"5\" SequencerEnable=\"0\" Sequencer=\"0\"/>\n";
    doc += "  </TimerXConfiguration>\n</Other>";
    int loaded = 33;
    ASSERT_EQ(LoadConfigurationDocument(doc, &loaded), 0);
    EXPECT_EQ(loaded, 33);
    const TimerXConfiguration timers = db->GetTimerXManager().GetImage();
    EXPECT_EQ(timers.Timers[11].ScheduleHour, 11);
    EXPECT_EQ(timers.Timers[0].ScheduleDayOfWeek, 0xFF);
    const std::uint32_t analysis = timers.Timers[0].Analysis;
    EXPECT_EQ(analysis, 5u);
    EXPECT_NE(std::memcmp(&timers, &timersBefore, sizeof timers), 0);
    QString after = QString::fromUtf8(build());
    const int from = after.indexOf("<TimerXConfiguration>");
    EXPECT_EQ(after.left(from), QString::fromUtf8(before).left(from));
}

TEST_F(ConfigFileTest, ModeTextsLogEnableAndShortListsReadAsTheUnitExpects)
{
    seed();
    const ModmapImage imageBefore = db->GetModbusList().GetImage();
    const ModmapHeader header = db->GetModbusList().GetHeader();
    struct Case {
        const char* mode;
        std::uint8_t expected;
    };
    for (const Case& c :
         {Case{"ENRON", 0}, Case{"MODICON16", 1}, Case{"MODICON32", 2}, Case{"modicon16", 2}, Case{"", 2}}) {
        QByteArray doc = "<C><ModbusList Mode=\"" + QByteArray(c.mode) + "\"><M>";
        for (const ModmapBlock& b : header.Blocks)
            doc += "<B Address=\"" + QByteArray::number(b.Address) + "\" BlockSize=\"" +
                   QByteArray::number(b.BlockSize) + "\"/>";
        doc += "</M><L/></ModbusList></C>";
        ASSERT_EQ(LoadConfigurationDocument(doc), 0) << c.mode;
        EXPECT_EQ(db->GetModbusList().GetHeader().mode, c.expected) << c.mode;
    }
    // An entry list of one changes only the first entry.
    db->GetModbusList().SetHeader(header);
    db->GetModbusList().LoadFromImage(imageBefore);
    QByteArray doc = "<C><ModbusList Mode=\"MODICON16\"><M>";
    for (const ModmapBlock& b : header.Blocks)
        doc += "<B Address=\"" + QByteArray::number(b.Address) + "\" BlockSize=\"" + QByteArray::number(b.BlockSize) +
               "\"/>";
    const ModmapEntry first = imageBefore.Entries[0];
    doc += "</M><L><I LSMS=\"" + QByteArray::number(first.LSMS) + "\" FORMAT=\"" + QByteArray::number(first.FORMAT) +
           "\" ACCESS=\"" + QByteArray::number(first.ACCESS) + "\" UNIQUEID=\"" + QByteArray::number(first.UNIQUEID) +
           "\"/></L></ModbusList>";
    doc +=
        "<LogConfiguration><R LOG_NUMBER=\"0\"><LOG Enable=\"7\" Frequency=\"1\" LogIDCode=\"2\" "
        "ParametersInLog=\"1\"><P Value=\"999\"/></LOG></R>"
        "<R LOG_NUMBER=\"1\"><LOG Enable=\"yes\" Frequency=\"1\" LogIDCode=\"2\" ParametersInLog=\"1\"/></R>"
        "</LogConfiguration></C>";
    ASSERT_EQ(LoadConfigurationDocument(doc), 0);
    const ModmapImage image = db->GetModbusList().GetImage();
    EXPECT_EQ(std::memcmp(image.Entries, imageBefore.Entries, sizeof image.Entries), 0);
    EXPECT_EQ(db->LogRecords()[0].Enable, 1);
    EXPECT_EQ(db->LogRecords()[0].Parameters[0], 999);
    EXPECT_EQ(db->LogRecords()[0].Parameters[1], 1388);  // not listed: kept
    EXPECT_EQ(db->LogRecords()[1].Enable, 0);
    EXPECT_EQ(db->LogRecords()[2].Frequency, 0xFFFF);
}

TEST(ConfigFileTime, TheTimeStampSpellsTheMonthAndTwelveHourClock)
{
    EXPECT_EQ(configfile::TimeText(QDateTime(QDate(2024, 3, 5), QTime(0, 7, 9))), "March 5, 2024 12:07:09 AM");
    EXPECT_EQ(configfile::TimeText(QDateTime(QDate(2026, 12, 31), QTime(13, 0, 0))), "December 31, 2026 1:00:00 PM");
}
