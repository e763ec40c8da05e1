#pragma once

// The command engine with every command registered against a recording window, over the
// database fixture's emulated unit. The engine goes first on tear-down, so no command outlives
// the database or the windows it reports to.
#include "activeobjectengine.h"
#include "commandregistry.h"
#include "pointfixture.h"
#include "pollcommands.h"
#include "recordingframe.h"
#include "shellwindows.h"

template <typename Frame = RecordingFrame>
class CommandFixture : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        engine = MyActiveObjectEngine::Instance();
        RegisterCommands(engine, &frame);
    }
    void TearDown() override
    {
        MyActiveObjectEngine::Teardown();
        shellwindows::DestroyAll();
        StopPolling = false;
        DatabaseFixture::TearDown();
    }

    MyActiveObjectEngine* engine = nullptr;
    Frame frame;
};
