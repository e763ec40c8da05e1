#include "observercomponents.h"
#include "modbuslist.h"
#include "pointfixture.h"
#include "sequencer.h"
#include "timerxmanager.h"

#include <stdexcept>

namespace {

class ObserverComponentTest : public DatabaseFixture {};

struct MBCall {
    TMBGProfile profile;
    int index;
    std::string propertyId;
    int value;
};

}  // namespace

TEST_F(ObserverComponentTest, TheModbusObserverPassesEveryCallOnUnchanged)
{
    ModbusList& list = db->GetModbusList();
    QObject form;
    auto* observer = new QModbusObserver(&form);
    observer->setObjectName("MbObserver");
    observer->AttachTo(list);

    // Unassigned: nothing happens.
    list.Notify(TMBGProfile{}, 1, "x", 2);

    std::vector<MBCall> calls;
    observer->OnMBChanged = [&](TMBGProfile profile, int index, std::string propertyId, int value) {
        calls.push_back({profile, index, std::move(propertyId), value});
    };
    const TMBGProfile profile = static_cast<TMBGProfile>(5);
    list.Notify(profile, 7, "Offset", -3);
    list.Notify(profile, 0, "", 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].profile, profile);
    EXPECT_EQ(calls[0].index, 7);
    EXPECT_EQ(calls[0].propertyId, "Offset");
    EXPECT_EQ(calls[0].value, -3);
    EXPECT_EQ(calls[1].propertyId, "");

    // The list attaches its groups too; they tell the component as well.
    ASSERT_GT(list.GetCollection().GetGroupCount(), 0);
    list.GetCollection().GetGroup(0)->Notify(profile, 1, "g", 1);
    EXPECT_EQ(calls.size(), 3u);

    // Destroyed with its form: neither the list nor a group calls it afterwards.
    calls.clear();
    delete observer;
    list.Notify(profile, 1, "after", 1);
    list.GetCollection().GetGroup(0)->Notify(profile, 1, "after", 1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ObserverComponentTest, TheBlockObserverDetachesFromBothBlocksWhenDestroyed)
{
    Sequencer& sequencer = db->GetSequencer();
    TimerXManager& timers = db->GetTimerXManager();
    std::vector<std::pair<int, const void*>> calls;
    {
        TQStructOberver observer;
        observer.setObjectName("QStructOberver1");
        observer.OnSChanged = [&](int type, const void* st) { calls.emplace_back(type, st); };
        observer.AttachTo(sequencer);
        observer.AttachTo(timers);
        observer.AttachTo(timers);  // attached twice: told twice
        const char image[4] = {1, 2, 3, 4};
        sequencer.Notify(0, image);
        timers.Notify(0, image);
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0], std::make_pair(0, static_cast<const void*>(image)));

        // Detached early from one block, still told by the other.
        observer.DetachFrom(timers);
        timers.Notify(0, image);
        sequencer.Notify(0, image);
        EXPECT_EQ(calls.size(), 4u);
    }
    calls.clear();
    const char image[1] = {0};
    sequencer.Notify(0, image);
    timers.Notify(0, image);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ObserverComponentTest, AHandlersFailureReachesThePublisher)
{
    Sequencer& sequencer = db->GetSequencer();
    TQStructOberver observer;
    observer.AttachTo(sequencer);
    observer.OnSChanged = [](int, const void*) { throw std::runtime_error("decode failed"); };
    const char image[1] = {0};
    EXPECT_THROW(sequencer.Notify(0, image), std::runtime_error);

    TQSequencerObserver entries;
    entries.Respond(1, 2, "x", 3);  // unassigned: nothing
    std::string seen = "unset";
    entries.OnSEChanged = [&](int parent, int index, std::string propertyId, int value) {
        EXPECT_EQ(parent, 1);
        EXPECT_EQ(index, 2);
        EXPECT_EQ(value, 3);
        seen = propertyId;
    };
    entries.Respond(1, 2, "", 3);
    EXPECT_EQ(seen, "");
}
