#include "statemgr.h"

#include "appcontext.h"
#include "pageframe.h"
#include "ridovaz.h"

#include <QVariant>
#include <QWidget>

namespace {
StateMgr* gStateMgr = nullptr;

// E enable, D disable, - untouched; columns: log off, log on, read-only, update, busy,
// idle read-only, idle update, file buttons off.
struct ModeButtonRow {
    const char* name;
    const char* columns;
};
const ModeButtonRow kModeButtons[] = {
    {"tbtnWrite", "D-DEDDE-"},       {"WriteConfig", "D-DEDDE-"},     {"tbtnPoll", "DE---EE-"},
    {"tbtnSync", "D-DEDDE-"},        {"tbtnAcknowledge", "D-DE-DE-"}, {"tbtnBypass", "D-DE-DE-"},
    {"tbtnTapeAdvance", "D-DE-DE-"}, {"tbtnOpen", "EE--DDED"},        {"tbtnSave", "DE--DDED"},
    {"tbtnSaveAs", "DE--DDED"},
};
}  // namespace

StateMgr* StateMgr::Instance()
{
    if (!gStateMgr)
        gStateMgr = new StateMgr;
    return gStateMgr;
}

void StateMgr::ReleaseInstance()
{
    delete gStateMgr;
    gStateMgr = nullptr;
    // A new state manager starts from the default, as it always has.
    RidovazFactory::SetUpdateAllowed(1);
}

void StateMgr::SetUpdateAllowed(int allowed)
{
    RidovazFactory::SetUpdateAllowed(allowed);
}

int StateMgr::IsUpdateAllowed() const
{
    return RidovazFactory::UpdateAllowed();
}

QWidget* StateMgr::Root() const
{
    return root_ ? root_ : appcontext::mainForm();
}

QObject* StateMgr::Button(QWidget* root, std::size_t row)
{
    static_assert(std::size(kModeButtons) == kButtonRows);
    if (buttonsRoot_ != root) {
        buttonsRoot_ = root;
        buttons_.fill(nullptr);
    }
    QPointer<QObject>& button = buttons_[row];
    if (!button)
        button = root->findChild<QObject*>(kModeButtons[row].name);
    return button;
}

void StateMgr::ApplyButtons(Column column)
{
    QWidget* root = Root();
    if (!root)
        return;
    for (std::size_t row = 0; row < std::size(kModeButtons); ++row) {
        const char mark = kModeButtons[row].columns[column];
        if (mark == '-')
            continue;
        // Tool buttons are widgets, menu items actions: both carry an "enabled" property.
        if (QObject* target = Button(root, row))
            target->setProperty("enabled", mark == 'E');
    }
}

void StateMgr::ApplyFrames(bool readOnly)
{
    QWidget* root = Root();
    if (!root)
        return;
    // Each page says how it follows the mode (TPageFrame::FollowReadOnly).
    for (TPageFrame* page : root->findChildren<TPageFrame*>())
        page->FollowReadOnly(readOnly);
}

void StateMgr::SetLogOff()
{
    loggedOn_ = 0;
    ApplyButtons(LogOff);
}

void StateMgr::SetLogOn()
{
    loggedOn_ = 1;
    ApplyButtons(LogOn);
}

void StateMgr::SetReadOnly()
{
    if (!loggedOn_)
        return;
    readOnly_ = 1;
    ApplyButtons(ReadOnly);
    ApplyFrames(true);
}

void StateMgr::SetUpdateMode()
{
    if (!loggedOn_)
        return;
    readOnly_ = 0;
    ApplyButtons(Update);
    ApplyFrames(false);
}

void StateMgr::SetBusy()
{
    if (!loggedOn_)
        return;
    busy_ = 1;
    ApplyButtons(Busy);
}

void StateMgr::SetIdle()
{
    if (!loggedOn_)
        return;
    busy_ = 0;
    ApplyButtons(readOnly_ ? IdleReadOnly : IdleUpdate);
}

void StateMgr::DisableFileButtons()
{
    ApplyButtons(FileButtons);
}
