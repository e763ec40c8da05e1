#pragma once

// A page tested alone against the point database: a stand-in for the main window that records
// what the page sends, and the fixture that builds the page over it.
#include "controlfixture.h"
#include "pagehost.h"
#include "testpages.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class RecordingHost : public PageHost {
public:
    void SetStreamDisplay(const QString& text) override { streamDisplay = text; }
    void WriteSinglePoint(int pointId, const std::string& value) override { writes.emplace_back(pointId, value); }
    void ReadSinglePoint(int pointId) override
    {
        queued.push_back("ReadSinglePoint " + std::to_string(pointId));
        parameters.emplace_back();
    }
    void Queue(const char* command, const std::string& parameter) override
    {
        queued.push_back(command);
        parameters.push_back(parameter);
    }
    bool LoggedOn() const override { return loggedOn; }
    bool CommandRunning() const override { return running; }

    QString streamDisplay = "unchanged";
    std::vector<std::pair<int, std::string>> writes;
    std::vector<std::string> queued;
    std::vector<std::string> parameters;  // one for each queued command
    bool loggedOn = true;
    bool running = false;
};

template <typename Page, typename Host = RecordingHost>
class PageAlone : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        page = std::make_unique<Page>(testenv::pageServices(*db, host));
        ASSERT_EQ(broadcast(page.get(), winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db)), 0);
    }
    void TearDown() override
    {
        page.reset();
        ControlFixture::TearDown();
    }
    // Logged on, the page entered and its points read.
    void enter()
    {
        goOnline({});
        page->RegisterPoints();
        testenv::dialogs().clear();
    }
    template <typename T>
    T* find(const char* name, QWidget* under = nullptr) const
    {
        T* control = (under ? under : page.get())->template findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    Host host;
    std::unique_ptr<Page> page;
};
