#include "statuspanels.h"
#include "appcontext.h"
#include "toolkitcolor.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

TEST(LocalStatusBarMsg, TextGoesToPanelZeroOfTheFirstStatusBar)
{
    QMainWindow window;
    auto* bar = new QStatusBar(&window);
    bar->setObjectName("StatusLine");
    window.setStatusBar(bar);
    auto* clock = new QLabel("clock");
    auto* hint = new QLabel("hint");
    statuspanels::setPanel(hint, 0);
    statuspanels::setPanel(clock, 3);
    bar->addPermanentWidget(clock);
    bar->addWidget(hint);
    auto* second = new QStatusBar(&window);  // not the first status bar: never touched
    second->showMessage("untouched");

    statuspanels::showLocalMessage(&window, "Configuration successfully saved to file \"a.cfg\"", 0x000000FF, false);
    EXPECT_EQ(hint->text(), "Configuration successfully saved to file \"a.cfg\"");
    EXPECT_EQ(clock->text(), "clock");
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(second->currentMessage(), "untouched");

    statuspanels::showLocalMessage(&window, "again", toolkitcolor::clBtnFace, false);
    EXPECT_EQ(hint->text(), "again");
    EXPECT_EQ(bar->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
}

TEST(LocalStatusBarMsg, BarWithoutPanelsShowsTheTextAcrossTheBar)
{
    QWidget window;
    auto* bar = new QStatusBar(&window);  // its size grip is no panel
    statuspanels::showLocalMessage(&window, "whole bar", 0x00C0C0C0, false);
    EXPECT_EQ(bar->currentMessage(), "whole bar");
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
}

TEST(LocalStatusBarMsg, UnmarkedWidgetsArePanelsInTheOrderPlaced)
{
    QStatusBar bar;
    auto* first = new QLabel("1");
    auto* second = new QLabel("2");
    bar.addWidget(first);
    bar.addWidget(second);
    ASSERT_EQ(statuspanels::panels(&bar).size(), 2);
    EXPECT_TRUE(statuspanels::setPanelText(&bar, 1, "two"));
    EXPECT_EQ(second->text(), "two");
    EXPECT_FALSE(statuspanels::setPanelText(&bar, 2, "none"));
}

TEST(LocalStatusBarMsg, NoStatusBarOrNoWindowDoesNothing)
{
    QWidget plain;
    auto* label = new QLabel("label", &plain);
    statuspanels::showLocalMessage(&plain, "nothing", 0, true);
    EXPECT_EQ(label->text(), "label");

    // Without a parent the main form is used; without a main form nothing happens.
    ASSERT_EQ(appcontext::mainForm(), nullptr);
    statuspanels::showLocalMessage(nullptr, "nobody", 0, false);
    QMainWindow main;
    main.statusBar();
    appcontext::setMainForm(&main);
    statuspanels::showLocalMessage(nullptr, "to the main form", 0, false);
    EXPECT_EQ(main.statusBar()->currentMessage(), "to the main form");
    appcontext::setMainForm(nullptr);
}
