#pragma once

// The emulated unit on loopback TCP, made before the main window: the communications library
// reads its settings when it starts, and they must already point at the unit.
#include "logoncommands.h"
#include "testenv.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <gtest/gtest.h>
#include <memory>

// Starts a unit with a fresh model, points the link at it and shortens the logon's settling pause
// (the fixture's TearDown puts it back).
inline ::testing::AssertionResult startUnitOnLoopback(std::unique_ptr<UnitEmulator>& emulator, UnitModel*& unit)
{
    auto model = std::make_unique<UnitModel>();
    unit = model.get();
    emulator = std::make_unique<UnitEmulator>(std::move(model));
    if (!emulator->start())
        return ::testing::AssertionFailure() << "the emulated unit could not open its ports";
    testenv::pointLinkAtLoopback(emulator->tcpPort());
    LogonCommand::SetSettleDelay(10);
    return ::testing::AssertionSuccess();
}
