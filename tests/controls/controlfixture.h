#pragma once

#include "analogoutputcollection.h"
#include "dbcontrols.h"
#include "pointfixture.h"
#include "winmsg.h"

#include <QCoreApplication>
#include <QWidget>

// A database without a unit, and the window messages the main window sends the controls.
class ControlFixture : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        AnalogOutputCollection::Instance()->Build();
    }
    void TearDown() override
    {
        AnalogOutputCollection::ReleaseInstance();
        DatabaseFixture::TearDown();
    }

    // One message to one control; its answer.
    static std::intptr_t send(QWidget* control, int message, std::intptr_t lParam = 0)
    {
        WinMessageEvent m(message, 0, lParam);
        QCoreApplication::sendEvent(control, &m);
        return m.result;
    }
    std::intptr_t registerControl(QWidget* control)
    {
        return send(control, winmsg::WM_REGISTER_DATABASE, dbctl::glueParam(db));
    }
    std::intptr_t unregisterControl(QWidget* control)
    {
        return send(control, winmsg::WM_UNREGISTER_DATABASE, dbctl::glueParam(db));
    }

    // The main window's broadcast: depth first, stopping at the first non-zero answer.
    static std::intptr_t broadcast(QWidget* root, int message, std::intptr_t lParam = 0)
    {
        WinMessageEvent m(message, 0, lParam);
        walk(root, m);
        return m.result;
    }
    // The three send-to-database messages in turn, as a write does; the first refusal.
    static std::intptr_t sendToDatabase(QWidget* root)
    {
        for (int message :
             {winmsg::WM_BEFORE_SEND_TO_DATABASE, winmsg::WM_SEND_TO_DATABASE, winmsg::WM_AFTER_SEND_TO_DATABASE})
            if (const std::intptr_t r = broadcast(root, message))
                return r;
        return 0;
    }

    // The value arriving from the unit.
    void announce(int pointId, const std::string& text) { db->GetPointById(pointId)->SetAndNotify(text); }
    // The point's pending value, what a write would send.
    std::string pending(int pointId) const { return db->GetPointText(pointId); }
    void load(int pointId, const std::string& text) { db->GetPointById(pointId)->Load(text); }

    // Connected, with the page's points listed and read from the unit.
    void goOnline(const std::vector<int>& pageIds)
    {
        link.values[0] = {0x09, 0x08, 0x04, 0x01};
        db->Connect();
        db->expressScan.Clear();
        for (int id : pageIds)
            db->expressScan.AddPoint(id);
        db->expressScan.SetPage(2, false, true);
    }

    static QStringList shownTexts() { return testenv::dialogs().texts(); }

private:
    static void walk(QWidget* w, WinMessageEvent& m)
    {
        QCoreApplication::sendEvent(w, &m);
        for (QWidget* child : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (m.result)
                return;
            walk(child, m);
        }
    }
};
