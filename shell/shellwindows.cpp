#include "shellwindows.h"

#include "auditform.h"
#include "confirmchanges.h"
#include "csvconfigdialog.h"
#include "database.h"
#include "formmain.h"
#include "logconfigwindow.h"
#include "logondialogs.h"
#include "logrecord.h"
#include "neoform.h"
#include "newmodbusdlg.h"
#include "qcformwindow.h"
#include "shareddialogs.h"
#include "timesyncdlg.h"
#include "upgradewindow.h"
#include "waitwindow.h"

#include <QPointer>
#include <cstring>
#include <map>
#include <string>

namespace {

using Factory = QWidget* (*)();

// The windows of the pages' layer are handed what they use. The program makes them after the main
// window, whose pages hold the same database, and they reach the main window as its pages do;
// made while there is no main window (tests), they get a host that does nothing.
DataBase& windowsDatabase()
{
    return FormMain ? FormMain->Services().database : *DataBase::Instance();
}
PageHost& windowsHost()
{
    return FormMain ? static_cast<PageHost&>(*FormMain) : PageHost::None();
}

struct WindowRow {
    const char* name;
    // Null for a window that another part of the program has not brought yet.
    Factory create;
};

// The start-up windows in their order, then the dialogs made only when asked for.
const WindowRow kWindows[] = {
    {"SetUpdPwdDlg", []() -> QWidget* { return new TSetUpdPwdDlg; }},
    {"AboutForm", []() -> QWidget* { return new TAboutForm; }},
    {"frmDateRangeDlg", []() -> QWidget* { return new TfrmDateRangeDlg; }},
    {"frmScaleDlg", []() -> QWidget* { return new TfrmScaleDlg; }},
    {"frmLogon", []() -> QWidget* { return new TfrmLogon; }},
    {"LogFrm", []() -> QWidget* { return new TLogFrm(windowsDatabase(), windowsHost(), *UniqueLogID::Instance()); }},
    {"AuditForm", []() -> QWidget* { return new TAuditForm(windowsDatabase(), windowsHost()); }},
    {"fmUpgrade", []() -> QWidget* { return new TfmUpgrade; }},
    {"Back", []() -> QWidget* { return new TBack; }},
    {"fmCSVConfig", []() -> QWidget* { return new TfmCSVConfig; }},
    {"NewModbusDlg", []() -> QWidget* { return new TNewModbusDlg; }},
    {"UpdModeDlg", []() -> QWidget* { return new TUpdModeDlg; }},
    {"Wait", []() -> QWidget* { return TWait::Instance(); }},
    {"NeoForm", []() -> QWidget* { return new TNeoForm; }},
    {"frmChanges", []() -> QWidget* { return new TfrmChanges; }},
    {"QCForm", []() -> QWidget* { return MakeQCFormWindow(); }},
    // Made on demand: the clock dialog of the tool bar's time synchronisation.
    {"TimeSyncDlg",
     []() -> QWidget* {
         return new TTimeSyncDlg(nullptr, [](double dateTime) { return windowsHost().ClockToken(dateTime); });
     }},
};
constexpr int kStartupCount = 16;

struct Made {
    const char* name;
    QPointer<QWidget> window;
};

std::vector<Made>& made()
{
    static std::vector<Made> list;
    return list;
}

std::map<std::string, std::function<QWidget*()>>& overrides()
{
    static std::map<std::string, std::function<QWidget*()>> factories;
    return factories;
}

const WindowRow* find(const char* name)
{
    for (const auto& row : kWindows)
        if (std::strcmp(row.name, name) == 0)
            return &row;
    return nullptr;
}

}  // namespace

namespace shellwindows {

const std::vector<const char*>& StartupOrder()
{
    static const std::vector<const char*> order = [] {
        std::vector<const char*> names;
        for (int i = 0; i < kStartupCount; ++i)
            names.push_back(kWindows[i].name);
        return names;
    }();
    return order;
}

QWidget* Existing(const char* name)
{
    for (const auto& m : made())
        if (std::strcmp(m.name, name) == 0 && m.window)
            return m.window;
    return nullptr;
}

QWidget* Window(const char* name)
{
    if (QWidget* window = Existing(name))
        return window;
    const WindowRow* row = find(name);
    if (!row)
        return nullptr;
    const auto replaced = overrides().find(name);
    QWidget* window = nullptr;
    if (replaced != overrides().end())
        window = replaced->second();
    else if (row->create)
        window = row->create();
    if (!window)
        return nullptr;
    window->setObjectName(name);
    made().push_back({row->name, window});
    return window;
}

void SetFactory(const char* name, std::function<QWidget*()> factory)
{
    if (factory)
        overrides()[name] = std::move(factory);
    else
        overrides().erase(name);
}

void CreateStartupWindows()
{
    for (const char* name : StartupOrder())
        Window(name);
}

void DestroyAll()
{
    auto& list = made();
    while (!list.empty()) {
        QPointer<QWidget> window = list.back().window;
        list.pop_back();
        delete window.data();
    }
}

}  // namespace shellwindows
