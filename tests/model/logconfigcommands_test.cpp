#include "logconfigcommands.h"
#include "commandfixture.h"
#include "securitychk.h"

#include <QFile>

namespace {

class LogConfigFrame : public FrameComm {
public:
    std::vector<std::string> texts;
    bool loggingOn = false;
    void SetState(std::string, bool) override {}
    void SetInt(std::string key, int value) override { texts.push_back(key + "=" + std::to_string(value)); }
    void SetText(std::string, std::string value) override { texts.push_back(value); }
    bool GetBool(std::string key) override { return key == "LoggingOn" && loggingOn; }
    int GetInt(std::string, void*) override { return -1; }
    double GetDouble(std::string, int) override { return 0.0; }
};

QByteArray record(int log, std::uint8_t enable, std::uint8_t code, std::uint16_t firstParameter)
{
    LogRecord r{};
    r.LOG_NUMBER = static_cast<std::uint8_t>(log);
    r.Enable = enable;
    r.Frequency = static_cast<std::uint16_t>(60 * (log + 1));
    r.LogIDCode = code;
    r.ParametersInLog = 2;
    r.Parameters[0] = firstParameter;
    r.Parameters[1] = static_cast<std::uint16_t>(100 + log);
    const auto bytes = unitrecord::toBytes(r);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

class LogConfigCommandTest : public CommandFixture<LogConfigFrame> {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        for (int i = 0; i < logrecord::kLogs; ++i)
            link.unit.setLogRecord(i, record(i, 1, static_cast<std::uint8_t>(9 + 8 * i), 388));
        QFile::remove(SecurityChk::Instance()->DataFilePath("LogWrite.dbg"));
    }
    void TearDown() override
    {
        CommandFixture::TearDown();
        UniqueLogID::ReleaseInstance();
    }
    void fault(int type, UnitModel::MessageFault::Kind kind, int after)
    {
        UnitModel::MessageFault f;
        f.requestType = type;
        f.kind = kind;
        f.after = after;
        link.unit.addFault(f);
    }
};

}  // namespace

TEST_F(LogConfigCommandTest, ReadTakesTheSixRecordsAndExactlyTheirCodes)
{
    engine->ExecuteCommand("ReadLogConfig", "");
    for (int i = 0; i < logrecord::kLogs; ++i) {
        EXPECT_EQ(db->LogRecords()[i].LogIDCode, 9 + 8 * i);
        EXPECT_EQ(db->LogRecords()[i].Frequency, 60 * (i + 1));
        EXPECT_TRUE(UniqueLogID::Instance()->Contains(9 + 8 * i));
    }
    EXPECT_FALSE(UniqueLogID::Instance()->Contains(0));
    EXPECT_TRUE(engine->Find<ReadLogConfig>("ReadLogConfig")->Succeeded());
    EXPECT_EQ(frame.texts.front(), "Reading Log Config.");
    EXPECT_EQ(frame.texts[1], "localPBarMax=1");
    EXPECT_EQ(frame.texts[frame.texts.size() - 2], "Read Log Config. Successful");
    EXPECT_EQ(frame.texts.back(), "");
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty());
}

TEST_F(LogConfigCommandTest, ALinkFailureOnLogThreeKeepsTheEarlierRecordsAndTheRestAsTheyWere)
{
    for (auto& r : db->LogRecords())
        r.LogIDCode = 200;
    fault(0x24, UnitModel::MessageFault::Kind::Silence, 3);
    engine->ExecuteCommand("ReadLogConfig", "");
    ASSERT_EQ(testenv::dialogs().texts(), QStringList{"Read Log Config. error!"});
    EXPECT_EQ(db->LogRecords()[2].LogIDCode, 25);
    EXPECT_EQ(db->LogRecords()[3].LogIDCode, 200);
    EXPECT_EQ(db->LogRecords()[5].LogIDCode, 200);
    EXPECT_TRUE(UniqueLogID::Instance()->Contains(25));
    EXPECT_FALSE(UniqueLogID::Instance()->Contains(33));
    EXPECT_FALSE(UniqueLogID::Instance()->Contains(200));
    EXPECT_FALSE(engine->Find<ReadLogConfig>("ReadLogConfig")->Succeeded());
    EXPECT_EQ(frame.texts.back(), "");
}

TEST_F(LogConfigCommandTest, WriteForcesTheClockParameterAndSendsLogFiveDisabled)
{
    for (int i = 0; i < logrecord::kLogs; ++i) {
        auto& r = db->LogRecords()[i];
        r = unitrecord::fromBytes<LogRecord>(LogRecordBytes{});
        r.LOG_NUMBER = 0;  // forced to the record's position
        r.Enable = 1;
        r.LogIDCode = static_cast<std::uint8_t>(i + 1);
    }
    engine->ExecuteCommand("WriteLogConfig", "");
    EXPECT_EQ(link.countType(0x26), 6);
    for (int i = 0; i < logrecord::kLogs; ++i) {
        const QByteArray sent = link.unit.logRecord(i);
        EXPECT_EQ(static_cast<std::uint8_t>(sent[0]), i);
        EXPECT_EQ(static_cast<std::uint8_t>(sent[1]), i == 5 ? 0 : 1);
        EXPECT_EQ(static_cast<std::uint8_t>(sent[6]) | static_cast<std::uint8_t>(sent[7]) << 8, 388);
        EXPECT_EQ(db->LogRecords()[i].Parameters[0], 388);
    }
    EXPECT_EQ(db->LogRecords()[5].Enable, 0);
    EXPECT_TRUE(engine->Find<WriteLogConfig>("WriteLogConfig")->Succeeded());
    EXPECT_EQ(frame.texts[1], "localPBarMax=6");
    EXPECT_TRUE(QFile::exists(SecurityChk::Instance()->DataFilePath("LogWrite.dbg")));
    EXPECT_TRUE(testenv::dialogs().texts().isEmpty());
}

TEST_F(LogConfigCommandTest, ARefusedRecordGoesOnToTheLastAndIsReported)
{
    fault(0x26, UnitModel::MessageFault::Kind::AnswerType, 2);
    engine->ExecuteCommand("WriteLogConfig", "");
    EXPECT_EQ(link.countType(0x26), 6);
    const std::vector<std::string> expected{"Writing Log Config.",
                                            "localPBarMax=6",
                                            "Write Log Config. Successful",
                                            "Write Log Config. Successful",
                                            "Write Log Config. Fail",
                                            "Write Log Config. Successful",
                                            "Write Log Config. Successful",
                                            "Write Log Config. Successful",
                                            ""};
    EXPECT_EQ(frame.texts, expected);
    EXPECT_TRUE(QFile::exists(SecurityChk::Instance()->DataFilePath("LogWrite.dbg")));
    // The status line moves on; the refusal stays in front of the user.
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"Write Log Config. Fail"});
    EXPECT_FALSE(engine->Find<WriteLogConfig>("WriteLogConfig")->Succeeded());
}

TEST_F(LogConfigCommandTest, ALinkFailureStopsTheWriteWithoutTrace)
{
    fault(0x26, UnitModel::MessageFault::Kind::Silence, 1);
    engine->ExecuteCommand("WriteLogConfig", "");
    EXPECT_EQ(link.countType(0x26), 2);
    EXPECT_EQ(testenv::dialogs().texts(), QStringList{"Write Log Config. error!"});
    EXPECT_FALSE(QFile::exists(SecurityChk::Instance()->DataFilePath("LogWrite.dbg")));
    EXPECT_EQ(frame.texts.back(), "");
}

TEST_F(LogConfigCommandTest, LoggedOffNeitherCommandDoesAnything)
{
    frame.loggingOn = true;
    engine->ExecuteCommand("ReadLogConfig", "");
    engine->ExecuteCommand("WriteLogConfig", "");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(frame.texts.empty());
}
