// The commands that act on the unit, against the emulated unit's message level: the messages
// they send and the texts they show for success, rejection, silence and a busy unit.
#include "commandfixture.h"
#include "maintenancecommands.h"
#include "timestamptoken.h"
#include "toolkitdate.h"
#include "unitactioncommands.h"
#include "writecommands.h"

#include <QTimer>
#include <ctime>

namespace {

using Texts = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

class FakeFrame : public RecordingFrame {
public:
    bool bypassDown = false;
    int sendToDatabase = 0;
    std::function<void(const std::string&)> onSetInt;  // sees "key=value"
    void SetInt(std::string key, int value) override
    {
        RecordingFrame::SetInt(key, value);
        if (onSetInt)
            onSetInt(calls.back());
    }
    bool GetBool(std::string key) override
    {
        return RecordingFrame::GetBool(key) || (key == "tbtnBypass" && bypassDown);
    }
    int GetInt(std::string key, void* argument) override
    {
        if (key == "SendToDatabase")
            return sendToDatabase;
        if (key == "DateToTimestampToken") {
            const auto token = timestamp::fromDateTime(*static_cast<const double*>(argument));
            return token ? static_cast<int>(*token) : -1;
        }
        return -1;
    }
    double GetDouble(std::string key, int argument) override
    {
        return key == "TimestampTokenToDate" ? timestamp::toDateTime(static_cast<std::uint32_t>(argument)) : 0.0;
    }
    // The status line's texts, in order.
    Texts status() const
    {
        Texts texts;
        for (const auto& c : calls)
            if (c.rfind("StatusLineSpecialPanel:", 0) == 0)
                texts.push_back(c.substr(23));
        return texts;
    }
};

class UnitCommandTest : public CommandFixture<FakeFrame> {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        link.values[0] = {0x09, 0x08, 0x04, 0x01};
        db->Connect();
        link.sent.clear();
        link.unit.clearReceived();
        testenv::dialogs().clear();
        StateMgr::Instance()->SetLogOn();
        WriteConfigCommand::SetPollDelay(1);
        DirectControlConfirmCommand::SetRetryDelay(1);
        IsDeviceAvaiableCommand::SetRetryDelay(0);
    }
    void TearDown() override
    {
        WriteConfigCommand::SetPollDelay(WriteConfigCommand::kPollMs);
        DirectControlConfirmCommand::SetRetryDelay(DirectControlConfirmCommand::kRetryMs);
        IsDeviceAvaiableCommand::SetRetryDelay(IsDeviceAvaiableCommand::kRetryMs);
        CommandFixture::TearDown();
    }

    void run(const char* name, const std::string& param = "") { engine->ExecuteCommand(name, param); }
    // How the command's last run ended, as its callers learn it.
    bool succeeded(const char* name) const { return engine->FindCommand(name)->Succeeded(); }

    // The write of one entry, as the unit receives it.
    static Bytes write(int pointId, std::uint32_t value)
    {
        const std::uint16_t k = indexOf(pointId);
        return {8,
                0x04,
                static_cast<std::uint8_t>(k & 0xFF),
                static_cast<std::uint8_t>(k >> 8),
                static_cast<std::uint8_t>(value),
                static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16),
                static_cast<std::uint8_t>(value >> 24)};
    }
    static Bytes read(int pointId)
    {
        const std::uint16_t k = indexOf(pointId);
        return {4, 0x01, static_cast<std::uint8_t>(k & 0xFF), static_cast<std::uint8_t>(k >> 8)};
    }
    static Bytes bare(std::uint8_t type) { return {2, type}; }

    void fault(int type, UnitModel::MessageFault::Kind kind, int times = 1, int answerType = -1)
    {
        UnitModel::MessageFault f;
        f.requestType = type;
        f.kind = kind;
        f.times = times;
        f.answerType = answerType;
        link.unit.addFault(f);
    }

    QStringList shown() const { return testenv::dialogs().texts(); }
    static QString linkText(int status) { return Communications::Instance()->GetErrorText(status); }
};

using Kind = UnitModel::MessageFault::Kind;

}  // namespace

// --- unit actions ----------------------------------------------------------------------------

TEST_F(UnitCommandTest, EachActionWritesItsRequestPointAndSaysSubmitted)
{
    struct Case {
        const char* name;
        bool bypassDown;
        int point;
        std::uint32_t value;
        Texts status;
    };
    const Case cases[] = {
        {"TapeAdvance", false, 331, 1, {"Tape Advance.", "Tape Advance Submitted", ""}},
        {"ResetLatches", false, 329, 1, {"Reset Latches.", "Reset Latche Submitted", ""}},
        {"SetBypass", true, 330, 1, {"Set Bypass.", "Bypass Submitted", ""}},
        {"SetBypass", false, 330, 0, {"Set Bypass.", "Bypass Submitted", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.bypassDown ? " down" : ""));
        link.sent.clear();
        frame.calls.clear();
        frame.bypassDown = c.bypassDown;
        // A request point need not have been read: the action marks it itself.
        db->GetPointById(c.point)->SetFresh(false);
        run(c.name);
        EXPECT_EQ(link.sent, std::vector<Bytes>{write(c.point, c.value)});
        EXPECT_EQ(frame.status(), c.status);
        EXPECT_EQ(db->GetPointText(c.point), c.value ? "True" : "False");
    }
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(UnitCommandTest, ARejectedOrUnansweredActionSaysSoAndNeverSubmitted)
{
    fault(0x04, Kind::Reject);
    run("TapeAdvance");
    EXPECT_EQ(frame.status(), (Texts{"Tape Advance.", ""}));
    EXPECT_EQ(shown(), QStringList{linkText(3)});

    frame.calls.clear();
    testenv::dialogs().clear();
    link.failWithStatus = 4;
    run("ResetLatches");
    EXPECT_EQ(frame.status(), (Texts{"Reset Latches.", ""}));
    EXPECT_EQ(shown(), QStringList{linkText(4)});
}

TEST_F(UnitCommandTest, CalibrateAcceptsOnlyRunRequestPoints)
{
    run("Calibrate", "479");
    EXPECT_EQ(link.sent, std::vector<Bytes>{write(479, 1)});
    EXPECT_EQ(frame.status(), (Texts{"Calibrate...", "Calibrate 2 Submitted", ""}));

    link.sent.clear();
    frame.calls.clear();
    run("Calibrate", "1141");
    EXPECT_EQ(link.sent, std::vector<Bytes>{write(1141, 1)});
    EXPECT_EQ(frame.status(), (Texts{"Calibrate...", ""}));
    EXPECT_TRUE(shown().isEmpty());

    for (const char* param : {"12", "331", "", "abc", "479x", "-1", "66015"}) {
        SCOPED_TRACE(param);
        link.sent.clear();
        frame.calls.clear();
        testenv::dialogs().clear();
        run("Calibrate", param);
        EXPECT_TRUE(link.sent.empty());
        EXPECT_EQ(frame.status(), (Texts{"Calibrate...", ""}));
        EXPECT_EQ(shown(), QStringList{"Error sending data to unit."});
    }
}

TEST_F(UnitCommandTest, ZeroRefAndReferenceCannotWriteTheirReadOnlyPoints)
{
    for (const auto& [name, start] :
         {std::pair{"ZeroRef", "Zero Reference."}, std::pair{"Reference", "Reference..."}}) {
        SCOPED_TRACE(name);
        frame.calls.clear();
        testenv::dialogs().clear();
        run(name);
        EXPECT_TRUE(link.sent.empty());
        EXPECT_EQ(frame.status(), (Texts{start, ""}));
        EXPECT_EQ(shown(), QStringList{"Error sending data to unit."});
    }
}

TEST_F(UnitCommandTest, NothingHappensWhileNotLoggedOn)
{
    frame.loggingOn = true;
    auto* single = engine->Find<WriteSinglePointCommand>("WriteSinglePoint");
    single->SetPoint(331, "True");
    engine->Find<SyncClockCommand>("SyncClock")->SetToken(0x6A000000);
    for (const char* name : {"TapeAdvance", "SetBypass", "ResetLatches", "ZeroRef", "Reference", "WriteSinglePoint",
                             "WriteMain", "WriteConfig", "DirectControlConfirm", "SyncClock", "Reboot",
                             "SetDefaultConfig", "WipeAL", "WipeLog", "IsDeviceAvaiable", "LoadModbusList"})
        run(name);
    run("Calibrate", "479");
    run("WriteDirect", "3");
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(shown().isEmpty());
}

// --- writes ----------------------------------------------------------------------------------

TEST_F(UnitCommandTest, ASinglePointWriteSaysOnePointWriteOnlyWhenTheUnitTookIt)
{
    auto* single = engine->Find<WriteSinglePointCommand>("WriteSinglePoint");
    single->SetPoint(10, "45");  // "Purge Time", a writable 16-bit point
    run("WriteSinglePoint");
    EXPECT_EQ(link.sent, std::vector<Bytes>{write(10, 45)});
    EXPECT_EQ(frame.status(), (Texts{"Writing...", "One Point Write", ""}));
    EXPECT_EQ(link.unit.value(10).toInt(), 45);

    struct Case {
        const char* what;
        int point;
        std::function<void()> arrange;
        QString text;
        bool sends;
    };
    const Case cases[] = {
        {"rejected", 10, [this] { fault(0x04, Kind::Reject); }, linkText(3), true},
        {"silent", 10, [this] { fault(0x04, Kind::Silence); }, linkText(4), true},
        {"read-only", 500, [] {}, "Error sending data to unit.", false},
        {"not read since logon", 10, [this] { db->GetPointById(10)->SetFresh(false); }, "Error sending data to unit.",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        link.sent.clear();
        frame.calls.clear();
        testenv::dialogs().clear();
        c.arrange();
        single->SetPoint(static_cast<std::uint16_t>(c.point), "46");
        run("WriteSinglePoint");
        EXPECT_EQ(link.sent.size(), c.sends ? 1u : 0u);
        EXPECT_EQ(frame.status(), (Texts{"Writing...", ""}));
        EXPECT_EQ(shown(), QStringList{c.text});
    }
    EXPECT_EQ(link.unit.value(10).toInt(), 45);

    // A text the point cannot take (no analog-output choice) is not sent.
    link.sent.clear();
    frame.calls.clear();
    testenv::dialogs().clear();
    ASSERT_TRUE(db->GetPointById(50)->IsFresh());
    single->SetPoint(50, "9999");
    run("WriteSinglePoint");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(frame.status(), (Texts{"Writing...", ""}));
}

TEST_F(UnitCommandTest, SinglePointWritesQueuedDuringAnotherCommandEachWriteTheirOwnPoint)
{
    auto* single = engine->Find<WriteSinglePointCommand>("WriteSinglePoint");
    struct Queuer : Command {
        std::function<void()> body;
        void Execute() override { body(); }
    };
    auto queuer = std::make_unique<Queuer>();
    queuer->body = [&] {
        single->SetPoint(10, "7");
        engine->ExecuteCommand("WriteSinglePoint", "");
        single->SetPoint(331, "True");
        engine->ExecuteCommand("WriteSinglePoint", "");
    };
    engine->RegisterCommand("Queuer", std::move(queuer));
    run("Queuer");
    EXPECT_EQ(link.sent, (std::vector<Bytes>{write(10, 7), write(331, 1)}));
}

TEST_F(UnitCommandTest, WriteMainWritesTheEditsAndRestoresTheWindow)
{
    ASSERT_TRUE(db->SetPointTextChecked(10, "33"));
    run("WriteMain");
    EXPECT_EQ(link.sent, std::vector<Bytes>{write(10, 33)});
    EXPECT_TRUE(succeeded("WriteMain"));
    EXPECT_EQ(frame.calls,
              (Texts{"StatusLineSpecialPanel:Writing...", "localPBarMax=1", "DisablePages=1",
                     "StatusLineSpecialPanel:Write Successful", "EnablePages=1", "StatusLineSpecialPanel:"}));
    EXPECT_FALSE(frame.waitShown);
    EXPECT_FALSE(frame.busy);
}

TEST_F(UnitCommandTest, WriteMainSendsNothingWhenAPageRefuses)
{
    ASSERT_TRUE(db->SetPointTextChecked(10, "33"));
    frame.sendToDatabase = 1;
    run("WriteMain");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_FALSE(succeeded("WriteMain"));
    EXPECT_EQ(frame.calls, (Texts{"StatusLineSpecialPanel:Writing...", "localPBarMax=1", "DisablePages=1",
                                  "EnablePages=1", "StatusLineSpecialPanel:"}));
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_FALSE(frame.waitShown);
}

TEST_F(UnitCommandTest, AFailedBulkWriteShowsWhyAndRestoresTheWindow)
{
    ASSERT_TRUE(db->SetPointTextChecked(10, "33"));
    fault(0x04, Kind::Reject);
    run("WriteMain");
    EXPECT_FALSE(succeeded("WriteMain"));
    EXPECT_EQ(shown(), QStringList{"Error writing to database\n" + linkText(3)});
    EXPECT_EQ(frame.status(), (Texts{"Writing...", ""}));
    EXPECT_FALSE(frame.waitShown);
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(frame.calls.at(frame.calls.size() - 2), "EnablePages=1");
}

TEST_F(UnitCommandTest, WriteDirectTakesItsProgressMaximumFromTheParameter)
{
    run("WriteDirect", "5");
    EXPECT_EQ(frame.calls.at(1), "localPBarMax=5");
    EXPECT_GT(link.countType(0x04), 100) << "every configuration point, modified or not";
    EXPECT_EQ(frame.status(), (Texts{"Writing Parameters...", "Write Successful", ""}));
    EXPECT_TRUE(succeeded("WriteDirect"));

    // Not a number: nothing is written, and the engine reports it.
    link.sent.clear();
    frame.calls.clear();
    testenv::dialogs().clear();
    run("WriteDirect", "five");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_FALSE(succeeded("WriteDirect"));
    EXPECT_EQ(frame.status(), Texts{"Writing Parameters..."});
    EXPECT_EQ(shown(), QStringList{"'five' is not a valid integer value"});
}

TEST_F(UnitCommandTest, WriteConfigPollsTheFlashUntilItIsDone)
{
    link.unit.setFlashBusyPolls(2);
    run("WriteConfig");
    EXPECT_TRUE(succeeded("WriteConfig"));
    EXPECT_EQ(link.sent, (std::vector<Bytes>{bare(0x08), bare(0x0A), bare(0x0A), bare(0x0A)}));
    EXPECT_EQ(frame.status(), (Texts{"Writing to Flash...", "Writing to Flash...", "Writing to Flash...",
                                     "Write Flash Finished.", ""}));
    EXPECT_EQ(frame.calls.front(), "DisablePages=1");
    EXPECT_EQ(frame.calls.at(frame.calls.size() - 2), "EnablePages=1");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(link.unit.counters().flashWrites, 1);
}

TEST_F(UnitCommandTest, AFlashStillBusyAfterSeventyPollsIsReported)
{
    link.unit.setFlashBusyPolls(1000);
    run("WriteConfig");
    EXPECT_FALSE(succeeded("WriteConfig"));
    EXPECT_EQ(link.countType(0x0A), 70);
    const Texts status = frame.status();
    EXPECT_EQ(Texts(status.end() - 2, status.end()), (Texts{"Write Flash fail!", ""}));
    EXPECT_EQ(shown(),
              QStringList{"Write Flash fail!\nThe unit still reported its flash busy after 70 status requests."});
    EXPECT_FALSE(frame.waitShown);
}

TEST_F(UnitCommandTest, WriteConfigFailuresShowTheLinkText)
{
    fault(0x08, Kind::Reject);
    run("WriteConfig");
    EXPECT_FALSE(succeeded("WriteConfig"));
    EXPECT_EQ(link.sent, std::vector<Bytes>{bare(0x08)});
    EXPECT_EQ(shown(), QStringList{" Write Config. fail!\n" + linkText(3)});
    EXPECT_TRUE(frame.status().empty());
    EXPECT_EQ(frame.calls.back(), "EnablePages=1");

    link.sent.clear();
    frame.calls.clear();
    testenv::dialogs().clear();
    link.unit.setFlashBusyPolls(5);
    fault(0x0A, Kind::Silence, 1);
    run("WriteConfig");
    EXPECT_EQ(link.countType(0x0A), 1);
    EXPECT_FALSE(succeeded("WriteConfig"));
    EXPECT_EQ(shown(), QStringList{"Write Flash fail!\n" + linkText(4)});
    EXPECT_EQ(frame.status().back(), "Write Flash fail!") << "the failure stays in the status line";
    EXPECT_FALSE(frame.busy);

    // The user's cancel while polling: no box, the failure stays in the status line.
    frame.calls.clear();
    testenv::dialogs().clear();
    link.unit.setFlashBusyPolls(5);
    frame.onSetInt = [this](const std::string& call) {
        if (call == "localPBarMax=35")  // the flash write was taken; the polls follow
            link.failWithStatus = 6;
    };
    run("WriteConfig");
    frame.onSetInt = {};
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(frame.status().back(), "Write Flash fail!");
}

TEST_F(UnitCommandTest, TheWindowStaysResponsiveBetweenFlashPollsWithoutStartingASecondCommand)
{
    WriteConfigCommand::SetPollDelay(30);
    link.unit.setFlashBusyPolls(3);
    bool ticked = false;
    frame.onSetInt = [&](const std::string& call) {
        if (call != "localPBarMax=35")
            return;
        // Fires during the pause after the first poll.
        QTimer::singleShot(0, [&] {
            ticked = true;
            EXPECT_TRUE(engine->IsRunning());
            run("TapeAdvance");  // only queued behind the flash write
        });
    };
    run("WriteConfig");
    frame.onSetInt = {};
    EXPECT_TRUE(ticked);
    const Texts status = frame.status();
    const auto finished = std::find(status.begin(), status.end(), "Write Flash Finished.");
    const auto tape = std::find(status.begin(), status.end(), "Tape Advance.");
    ASSERT_NE(finished, status.end());
    ASSERT_NE(tape, status.end());
    EXPECT_LT(finished, tape);
    EXPECT_EQ(link.sent.back(), write(331, 1));
}

// --- direct control confirmation --------------------------------------------------------------

TEST_F(UnitCommandTest, DirectControlIsConfirmedByTheUnit)
{
    ASSERT_TRUE(link.unit.setValue(333, true));
    run("DirectControlConfirm");
    EXPECT_EQ(link.sent, std::vector<Bytes>{read(333)});
    EXPECT_EQ(frame.status(), (Texts{"Control Confirmed.", ""}));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(UnitCommandTest, AnUnconfirmedDirectControlTimesOutAfterThreeReads)
{
    fault(0x01, Kind::Silence, 1);  // a failed read counts as unconfirmed too
    run("DirectControlConfirm");
    EXPECT_EQ(link.sent, (std::vector<Bytes>{read(333), read(333), read(333)}));
    EXPECT_EQ(frame.status(), (Texts{"Please Wait...", "Please Wait...", "Please Wait...", ""}));
    EXPECT_EQ(shown(), QStringList{"Direct Control Confirm Timeout, please check device."});
    EXPECT_EQ(testenv::dialogs().shown().front().buttons, QMessageBox::Ok);

    frame.calls.clear();
    testenv::dialogs().clear();
    link.failWithStatus = 6;  // the user cancelled
    run("DirectControlConfirm");
    EXPECT_TRUE(frame.status().empty());
    EXPECT_TRUE(shown().isEmpty());
}

// --- clock -----------------------------------------------------------------------------------

TEST_F(UnitCommandTest, TheClockCorrectionCarriesThroughTheWholeDateTime)
{
    const auto at = [](int y, int mo, int d, int h, int mi, int s, int ms) {
        return toolkitdate::fromDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
    };
    const auto same = [](double a, double b) { return std::abs(a - b) < 0.5 / 86400000.0; };
    // A write of 3 ms adds 5.97 ms, truncated to 5.
    EXPECT_TRUE(
        same(SyncClockCommand::CorrectedMoment(at(2024, 5, 6, 10, 15, 20, 995), 0, 3), at(2024, 5, 6, 10, 15, 21, 0)));
    // Two seconds add 3.98 s: past midnight into the next day, and the next year.
    EXPECT_TRUE(same(SyncClockCommand::CorrectedMoment(at(2024, 12, 31, 23, 59, 58, 0), 0, 2000),
                     at(2025, 1, 1, 0, 0, 1, 980)));
    // The time since the first write is added as it is.
    EXPECT_TRUE(same(SyncClockCommand::CorrectedMoment(at(2024, 2, 28, 23, 59, 59, 900), 250, 0),
                     at(2024, 2, 29, 0, 0, 0, 150)));

    EXPECT_EQ(SyncClockCommand::DayOfWeek(at(2024, 5, 5, 12, 0, 0, 0)), 1);  // a Sunday
    EXPECT_EQ(SyncClockCommand::DayOfWeek(at(2024, 5, 11, 0, 0, 0, 0)), 7);  // a Saturday
    EXPECT_EQ(SyncClockCommand::DayOfWeek(std::nan("")), 0);
}

// The unit's clock knows no zone: a moment near or inside the hour this machine skips for
// daylight saving is corrected as the wall-clock time it is.
TEST_F(UnitCommandTest, TheClockCorrectionIgnoresTheMachinesDaylightSaving)
{
    struct Zone {
        QByteArray saved = qgetenv("TZ");
        bool had = qEnvironmentVariableIsSet("TZ");
        Zone()
        {
            qputenv("TZ", "Europe/Berlin");
            tzset();
        }
        ~Zone()
        {
            if (had)
                qputenv("TZ", saved);
            else
                qunsetenv("TZ");
            tzset();
        }
    } berlin;
    const auto at = [](int h, int mi, int s, int ms) {
        return toolkitdate::fromDateTime(QDate(2026, 3, 29), QTime(h, mi, s, ms));  // 02:00-03:00 skipped
    };
    const auto same = [](double a, double b) { return std::abs(a - b) < 0.5 / 86400000.0; };
    EXPECT_TRUE(same(SyncClockCommand::CorrectedMoment(at(1, 59, 59, 0), 1500, 0), at(2, 0, 0, 500)));
    EXPECT_TRUE(same(SyncClockCommand::CorrectedMoment(at(2, 30, 0, 0), 0, 0), at(2, 30, 0, 0)));
}

TEST_F(UnitCommandTest, SyncClockWritesOnlyTheClockAndTheDayOfWeek)
{
    ASSERT_TRUE(db->SetPointTextChecked(10, "33"));  // an edit that must stay pending
    const std::uint32_t token = *timestamp::fromDateAndTime(QDate(2024, 5, 4), QTime(23, 59, 59));  // a Saturday
    engine->Find<SyncClockCommand>("SyncClock")->SetToken(token);
    run("SyncClock");
    ASSERT_EQ(link.sent.size(), 4u);
    EXPECT_EQ(link.sent[0], write(388, token));
    // The second write is the same moment or, on a slow machine, a second or two later.
    const std::uint32_t second = link.sent[1][4] | link.sent[1][5] << 8 | link.sent[1][6] << 16 |
                                 static_cast<std::uint32_t>(link.sent[1][7]) << 24;
    const Bytes clockWrite = write(388, 0);
    EXPECT_EQ(Bytes(link.sent[1].begin(), link.sent[1].begin() + 4), Bytes(clockWrite.begin(), clockWrite.begin() + 4));
    EXPECT_GE(second, token);
    const auto fields = timestamp::unpack(second);
    const bool nextDay = fields.day == 5;
    EXPECT_EQ(link.sent[2], read(460));
    EXPECT_EQ(link.sent[3], write(460, nextDay ? 1 : 7));
    EXPECT_EQ(frame.calls.front(), "localPBarMax=6");
    EXPECT_EQ(frame.status(), (Texts{"SyncClock...", "SyncClock Submitted", ""}));
    EXPECT_TRUE(db->GetPointById(10)->IsModified()) << "other edits wait for their own write";
}

TEST_F(UnitCommandTest, AFailedClockWriteSaysSo)
{
    engine->Find<SyncClockCommand>("SyncClock")->SetToken(*timestamp::fromDateAndTime(QDate(2024, 5, 4), QTime(8, 0)));
    link.failWithStatus = 4;
    run("SyncClock");
    EXPECT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(frame.status(), (Texts{"SyncClock...", ""}));
    EXPECT_EQ(shown(), QStringList{linkText(4)});

    // A clock point that was not read since logon is not written.
    link.sent.clear();
    frame.calls.clear();
    testenv::dialogs().clear();
    db->GetPointById(388)->SetFresh(false);
    run("SyncClock");
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(shown(), QStringList{"Error sending data to unit."});
}

// --- maintenance -----------------------------------------------------------------------------

TEST_F(UnitCommandTest, MaintenanceRequestsSendTheirMessageAndSayWhatHappened)
{
    struct Case {
        const char* name;
        std::uint8_t type;
        Texts status;
    };
    const Case cases[] = {
        {"Reboot", 0x0E, {"Reboot...", "Reboot Submitted", ""}},
        {"SetDefaultConfig", 0x0C, {"Set Default Config.", "Reset Factory Default Submitted", ""}},
        {"WipeAL", 0x36, {"Wipe Archive.", ""}},
        {"WipeLog", 0x34, {"Wipe Event Log.", ""}},
    };
    link.unit.setRebootSilenceMs(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.sent.clear();
        frame.calls.clear();
        run(c.name);
        EXPECT_EQ(link.sent, std::vector<Bytes>{bare(c.type)});
        EXPECT_EQ(frame.status(), c.status);
    }
    EXPECT_TRUE(shown().isEmpty());
    const auto counters = link.unit.counters();
    EXPECT_EQ(counters.reboots, 1);
    EXPECT_EQ(counters.factoryDefaults, 1);
    EXPECT_EQ(counters.archiveWipes, 1);
    EXPECT_EQ(counters.eventWipes, 1);
}

TEST_F(UnitCommandTest, AFailedMaintenanceRequestShowsItsBoxAndNoSubmittedText)
{
    struct Case {
        const char* name;
        std::uint8_t type;
        Kind kind;
        QString box;
        Texts status;
    };
    const Case cases[] = {
        {"Reboot", 0x0E, Kind::AnswerType, " Reboot unit fail!", {"Reboot...", ""}},
        {"SetDefaultConfig", 0x0C, Kind::Reject, "Reset Factory Default fail!", {"Set Default Config.", ""}},
        {"WipeAL", 0x36, Kind::Reject, " Wipe Archive fail!", {"Wipe Archive.", ""}},
        {"WipeLog", 0x34, Kind::Silence, " Wipe Event Log fail!", {"Wipe Event Log.", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.calls.clear();
        testenv::dialogs().clear();
        fault(c.type, c.kind);
        run(c.name);
        EXPECT_EQ(shown(), QStringList{c.box});
        EXPECT_EQ(frame.status(), c.status);
    }
}

TEST_F(UnitCommandTest, IsDeviceAvaiableWaitsForTheUnitToAnswer)
{
    fault(0x01, Kind::Silence, 2);
    run("IsDeviceAvaiable");
    EXPECT_EQ(link.sent, (std::vector<Bytes>{read(500), read(500), read(500)}));
    EXPECT_EQ(frame.status(), (Texts{"Please Wait...", "Please Wait...", "Device is avaiable.", ""}));
    EXPECT_TRUE(shown().isEmpty());

    link.sent.clear();
    frame.calls.clear();
    fault(0x01, Kind::Silence, 0);
    run("IsDeviceAvaiable");
    EXPECT_EQ(link.sent.size(), 100u);
    const Texts status = frame.status();
    EXPECT_EQ(status.back(), "");
    EXPECT_EQ(std::count(status.begin(), status.end(), "Device is avaiable."), 0);
    EXPECT_EQ(shown(), QStringList{"Wait Device Avaiable Timeout, please check device."});
}

TEST_F(UnitCommandTest, IsDeviceAvaiableFindsTheUnitAgainAfterItsReboot)
{
    link.unit.setRebootSilenceMs(150);
    IsDeviceAvaiableCommand::SetRetryDelay(20);
    run("Reboot");
    ASSERT_TRUE(link.unit.rebooting());
    frame.calls.clear();
    run("IsDeviceAvaiable");
    EXPECT_FALSE(link.unit.rebooting());
    EXPECT_GE(link.countType(0x01), 2);
    const Texts status = frame.status();
    EXPECT_EQ(status.front(), "Please Wait...");
    EXPECT_EQ(Texts(status.end() - 2, status.end()), (Texts{"Device is avaiable.", ""}));
    EXPECT_TRUE(shown().isEmpty());
}

// --- Modbus list -----------------------------------------------------------------------------

TEST_F(UnitCommandTest, LoadModbusListReadsTheMapOrSaysItFailed)
{
    run("LoadModbusList");
    EXPECT_EQ(link.sent.front(), bare(0x12));
    EXPECT_EQ(frame.status(), (Texts{"Reading Modbus List.", "Load Modbus Successful", ""}));

    frame.calls.clear();
    link.failWithStatus = 4;
    run("LoadModbusList");
    EXPECT_EQ(frame.status(), (Texts{"Reading Modbus List.", "Load Modbus fail."}));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(UnitCommandTest, NewModbusListEmptiesTheListInTheChosenModeWithoutTheUnit)
{
    frame.loggingOn = true;
    auto* fresh = engine->Find<NewModbusListCommand>("NewModbusList");
    fresh->SetMode(1);
    run("NewModbusList");
    EXPECT_EQ(db->GetModbusList().GetMode(), 1);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_TRUE(frame.calls.empty());
}
