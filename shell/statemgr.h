#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>

// Turns the program's state (logged on, read-only or update, busy) into the enabled state of the
// main window's operation and file buttons, found by name under the main form, and tells the page
// frames under it the access mode (each follows it as it declares, TPageFrame::FollowReadOnly).
// Before the first logon only the logon, logoff and file-button operations change anything.
class StateMgr {
public:
    static StateMgr* Instance();
    static void ReleaseInstance();

    void SetLogOff();
    void SetLogOn();
    void SetReadOnly();
    void SetUpdateMode();
    void SetBusy();
    void SetIdle();
    void DisableFileButtons();

    // The register map's verdict on the unit's version, kept by the map's factory.
    void SetUpdateAllowed(int allowed);
    int IsUpdateAllowed() const;
    bool IsReadOnly() const { return readOnly_; }
    bool IsBusy() const { return busy_; }
    bool IsLoggedOn() const { return loggedOn_; }

    // The window whose buttons and frames are switched; the application's main form by default.
    void SetRoot(QWidget* root) { root_ = root; }

private:
    enum Column { LogOff, LogOn, ReadOnly, Update, Busy, IdleReadOnly, IdleUpdate, FileButtons };

    StateMgr() = default;
    void ApplyButtons(Column column);
    void ApplyFrames(bool readOnly);
    QWidget* Root() const;
    // Button row `row` under the root. Every command switches the buttons twice (busy, idle), and
    // a search by name runs through every control of every page: a button once found is kept.
    QObject* Button(QWidget* root, std::size_t row);

    std::uint8_t readOnly_ = 1;
    std::uint8_t busy_ = 1;
    std::uint8_t loggedOn_ = 0;
    QWidget* root_ = nullptr;
    QPointer<QWidget> buttonsRoot_;
    static constexpr std::size_t kButtonRows = 10;
    std::array<QPointer<QObject>, kButtonRows> buttons_;
};
