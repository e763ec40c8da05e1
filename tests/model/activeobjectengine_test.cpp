#include "activeobjectengine.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>
#include <stdexcept>

namespace {

// Records what each run saw; optionally does something while "waiting for the unit".
class RecordingCommand : public Command {
public:
    RecordingCommand(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void Execute() override
    {
        log_.push_back(name_ + ":" + GetParam() + (point_ ? ":" + std::to_string(point_) : ""));
        if (during)
            during();
        if (fail)
            throw std::runtime_error("broken " + name_);
        SetSucceeded(true);
    }
    void SetPoint(int p) { point_ = p; }
    std::any SaveFields() const override { return point_; }
    void LoadFields(const std::any& f) override { point_ = std::any_cast<int>(f); }

    std::function<void()> during;
    bool fail = false;

private:
    std::string name_;
    std::vector<std::string>& log_;
    int point_ = 0;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = MyActiveObjectEngine::Instance();
        engine->SetFailureReporter([this](const std::string& t) { failures.push_back(t); });
        for (const char* name : {"A", "B", "IsDeviceAvaiable"}) {
            auto cmd = std::make_unique<RecordingCommand>(name, log);
            cmds[name] = cmd.get();
            engine->RegisterCommand(name, std::move(cmd));
        }
    }
    void TearDown() override { MyActiveObjectEngine::Teardown(); }

    MyActiveObjectEngine* engine = nullptr;
    std::vector<std::string> log;
    std::vector<std::string> failures;
    std::map<std::string, RecordingCommand*> cmds;
};

}  // namespace

TEST_F(EngineTest, IdleQueuingRunsAtOnceAfterOneMessagePass)
{
    bool pumped = false;
    QTimer::singleShot(0, [&] { pumped = true; });
    engine->ExecuteCommand("A", "1");
    EXPECT_TRUE(pumped);
    EXPECT_EQ(log, std::vector<std::string>{"A:1"});
    EXPECT_EQ(engine->GetQueueCount(), 0);
    EXPECT_FALSE(engine->IsRunning());
    engine->ExecuteCommand("NoSuchCommand", "x");
    EXPECT_EQ(engine->FindCommand("NoSuchCommand"), nullptr);
    EXPECT_NE(engine->FindCommand("IsDeviceAvaiable"), nullptr);
    EXPECT_EQ(engine->FindCommand("isdeviceavaiable"), nullptr);
}

TEST_F(EngineTest, QueuedDuringACommandRunsAfterItEachWithItsOwnData)
{
    cmds["A"]->during = [&] {
        // Two uses of one command queued while A "waits": each keeps its parameter and point.
        cmds["B"]->SetPoint(10);
        engine->ExecuteCommand("B", "first");
        cmds["B"]->SetPoint(20);
        engine->ExecuteCommand("B", "second");
        EXPECT_EQ(engine->GetQueueCount(), 2);
        log.push_back("A returns");
    };
    engine->ExecuteCommand("A", "");
    EXPECT_EQ(log, (std::vector<std::string>{"A:", "A returns", "B:first:10", "B:second:20"}));
}

// A caller reads the result right after queuing: a command that has only been queued behind
// another has not succeeded yet, whatever its earlier run did.
TEST_F(EngineTest, AQueuedCommandHasNoSuccessUntilItRuns)
{
    engine->ExecuteCommand("B", "");
    ASSERT_TRUE(cmds["B"]->Succeeded());
    bool succeededWhenQueued = true;
    cmds["A"]->during = [&] {
        engine->ExecuteCommand("B", "");
        succeededWhenQueued = cmds["B"]->Succeeded();
    };
    engine->ExecuteCommand("A", "");
    EXPECT_FALSE(succeededWhenQueued);
    EXPECT_TRUE(cmds["B"]->Succeeded());
    cmds["B"]->fail = true;
    engine->ExecuteCommand("B", "");
    EXPECT_FALSE(cmds["B"]->Succeeded());
}

TEST_F(EngineTest, AFailureIsShownAndTheQueueRunsOn)
{
    cmds["A"]->fail = true;
    cmds["A"]->during = [&] { engine->ExecuteCommand("B", "after"); };
    engine->ExecuteCommand("A", "x");
    EXPECT_EQ(failures, std::vector<std::string>{"broken A"});
    EXPECT_EQ(log, (std::vector<std::string>{"A:x", "B:after"}));
    EXPECT_FALSE(engine->IsRunning());
}

TEST_F(EngineTest, StopRequestIgnoresQueuing)
{
    engine->ExecuteCommand("A", "kept");
    engine->SetStopRequested(true);
    engine->ExecuteCommand("A", "ignored");
    EXPECT_EQ(cmds["A"]->GetParam(), "kept");
    EXPECT_EQ(log.size(), 1u);
    // A stop during a run ends it after the current command.
    engine->SetStopRequested(false);
    cmds["A"]->during = [&] {
        engine->ExecuteCommand("B", "");
        engine->SetStopRequested(true);
    };
    engine->ExecuteCommand("A", "again");
    EXPECT_EQ(log.back(), "A:again");
}
