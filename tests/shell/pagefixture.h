#pragma once

// A page under test inside the real main window, logged on to the emulated unit over loopback TCP
// through the real libraries. Page tests enter their tab, look at what was read, act through the
// widgets and check what the unit received.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "database.h"
#include "pollcommands.h"
#include "readcommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QThread>
#include <functional>

inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class PageWithUnit : public FormMainFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startUnitOnLoopback(emulator, unit));
        FormMainFixture::SetUp();
        // The poll reads the unit for real.
        auto poll = std::make_unique<ExpressRead2Command>();
        poll->SetFrameComm(form.get());
        engine()->RegisterCommand("ExpressRead2", std::move(poll));
    }

    void TearDown() override
    {
        FormMainFixture::TearDown();
        LogonCommand::SetSettleDelay(LogonCommand::kSettleMs);
        StopPolling = false;
        emulator.reset();
    }

    // Logs on (in update mode, or read-only) and waits until the logon has read the unit.
    void logOn(bool updateMode = true)
    {
        if (updateMode)
            modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        else
            modals.answers = {ScriptedModals::press("btnReadOnly")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
    }

    // Shows the tab as a user's click does and waits until the queue has run.
    void enterTab(int tab)
    {
        form->PageControlMain()->setCurrentIndex(tab);
        waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    }

    PeriodicPollCommand* poll() const { return engine()->Find<PeriodicPollCommand>("PeriodicPoll"); }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
};
