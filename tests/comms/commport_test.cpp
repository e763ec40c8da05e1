#include "commport.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <set>
#include <vector>

namespace {

// The port's tick timers as the engine uses them: armed, re-armed for later, removed, and armed
// again from inside a firing; all served by one system timer.
struct Fired {
    int handle;
    qint64 ms;
};

class TickTimers : public ::testing::Test {
protected:
    TickTimers()
    {
        QObject::connect(&port_, &CommPort::triggerTimer, &port_, [this](int handle) {
            fired_.push_back({handle, clock_.elapsed()});
            if (onFire_)
                onFire_(handle);
        });
        clock_.start();
    }

    std::vector<int> handlesFired() const
    {
        std::vector<int> handles;
        for (const Fired& f : fired_)
            handles.push_back(f.handle);
        return handles;
    }

    CommPort port_;
    QElapsedTimer clock_;
    std::vector<Fired> fired_;
    std::function<void(int)> onFire_;
};

TEST_F(TickTimers, EachFiresOnceInTheOrderTheyAreDueAndReArmingPostpones)
{
    const int longer = port_.addTimerTrigger();
    const int shorter = port_.addTimerTrigger();
    const int postponed = port_.addTimerTrigger();
    const int removed = port_.addTimerTrigger();
    const int stopped = port_.addTimerTrigger();
    ASSERT_EQ(std::set<int>({longer, shorter, postponed, removed, stopped}).size(), 5u);
    port_.setTimerTrigger(longer, 3, true);
    port_.setTimerTrigger(shorter, 1, true);
    port_.setTimerTrigger(postponed, 1, true);
    port_.setTimerTrigger(removed, 1, true);
    port_.setTimerTrigger(stopped, 1, true);
    // Re-armed for later before it was due, as the back-off timer is by every received chunk.
    port_.setTimerTrigger(postponed, 2, true);
    port_.removeTrigger(removed);
    port_.setTimerTrigger(stopped, 0, false);
    EXPECT_FALSE(port_.setTimerTrigger(removed, 1, true)) << "a removed handle is gone";

    QTest::qWait(4 * CommPort::kTickMs + 60);
    EXPECT_EQ(handlesFired(), (std::vector<int>{shorter, postponed, longer}));
    ASSERT_EQ(fired_.size(), 3u);
    EXPECT_GE(fired_[0].ms, CommPort::kTickMs);
    EXPECT_GE(fired_[1].ms, 2 * CommPort::kTickMs);
    EXPECT_GE(fired_[2].ms, 3 * CommPort::kTickMs);
}

TEST_F(TickTimers, ATimerArmedWhileAnotherFiresWaitsForALaterPass)
{
    // The character timer is re-armed from the handlers the beat calls; one armed for no ticks
    // from inside a firing must not fire inside that same firing, nor be lost.
    const int first = port_.addTimerTrigger();
    const int second = port_.addTimerTrigger();
    int rearms = 0;
    bool nested = false;
    bool inside = false;
    onFire_ = [&](int handle) {
        nested |= inside;
        inside = true;
        if (handle == first && rearms < 2) {
            if (rearms++ == 0)
                port_.setTimerTrigger(second, 0, true);
            port_.setTimerTrigger(first, 0, true);
        }
        inside = false;
    };
    port_.setTimerTrigger(first, 1, true);
    QTest::qWait(2 * CommPort::kTickMs + 60);
    EXPECT_FALSE(nested);
    // The second pass finds both due and fires them in the order they were armed.
    EXPECT_EQ(handlesFired(), (std::vector<int>{first, second, first, first}));
}

}  // namespace
