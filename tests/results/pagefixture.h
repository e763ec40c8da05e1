#pragma once

// The main window logged on to the emulated unit over loopback TCP, polling every 50 ms.
#include "formmainfixture.h"
#include "unitlinkfixture.h"

#include "pollcommands.h"
#include "readcommands.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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

    // Logs on and makes the poll quick.
    void logOn(bool updateMode = false)
    {
        if (updateMode)
            modals.answers = {ScriptedModals::press("btnUpdate"), ScriptedModals::password("qe$3916")};
        else
            modals.answers = {ScriptedModals::press("btnReadOnly")};
        form->tbtnLogonClick();
        ASSERT_FALSE(form->GetBool("LoggingOn")) << shownTexts().join(" | ").toStdString();
        engine()->Find<PeriodicPollCommand>("PeriodicPoll")->Timer().setInterval(50);
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
};
