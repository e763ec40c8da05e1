#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// What the pages ask of the main window. The pages sit below the shell, so they reach the window
// through this interface, which the main window implements and hands to each page it makes.
class PageHost {
public:
    virtual ~PageHost() = default;

    // The main window's stream display ("StreamDisp").
    virtual void SetStreamDisplay(const QString& text) = 0;
    // Queues "WriteSinglePoint" for the point with the text.
    virtual void WriteSinglePoint(int pointId, const std::string& value) = 0;
    // How many single-point writes the unit has taken since start: a page that must know whether
    // its write arrived compares the count before and after a write that ran at once.
    virtual std::uint64_t SinglePointWritesAccepted() const { return 0; }
    // Queues "ReadSinglePoint" for the point; nothing when the program has no such command.
    virtual void ReadSinglePoint(int pointId) { (void)pointId; }
    // Queues a named command with its parameter.
    virtual void Queue(const char* command, const std::string& parameter) = 0;
    // The Logon button's enabled state is the test for being logged off.
    virtual bool LoggedOn() const = 0;
    // The data directory (created when missing), without a trailing separator; empty when there
    // is none. The program's own files there are opened by absolute path.
    virtual QString DataDirectory() const { return {}; }
    // The unit's clock token of a toolkit date-time, through the main window's converter;
    // nothing when there is no converter or the token cannot hold the date-time.
    virtual std::optional<std::uint32_t> ClockToken(double) const { return std::nullopt; }
    // True while a command runs: a command queued now runs only after it, not before the call
    // that queued it returns.
    virtual bool CommandRunning() const { return false; }
    // The status line's special panel.
    virtual void SetStatusText(const QString&) {}
    // The status line's progress bar: a new maximum, the bar back at the start.
    virtual void SetProgressMaximum(int) {}
    // The Wait window: hidden, with its animation, or with its progress bar.
    enum class Wait { Hidden, Animated, Progress };
    virtual void ShowWait(Wait) {}
    // Shows the program's window of that name modally; false when the program has no such window.
    virtual bool ExecWindow(const char*) { return false; }
    // Asks for a range of dates with the program's date-range dialog; nothing when cancelled.
    virtual std::optional<std::pair<QDate, QDate>> AskDateRange() { return std::nullopt; }
    // Asks for the chart's vertical range with the program's scale dialog ("frmScaleDlg"): the
    // texts of its minimum and maximum edits as the user left them; nothing when cancelled.
    virtual std::optional<std::pair<QString, QString>> AskScale() { return std::nullopt; }
    // Shows one of the program's own windows by its name, not modally ("QCForm").
    virtual void ShowWindow(const char* name) { (void)name; }
    // Puts the update-mode password back to the factory default; false when it could not be
    // stored (the password in force stays).
    virtual bool ResetPassword() { return false; }
    // The three steps of the service page's firmware upgrade; each tells the user how it ended.
    // True when the step was carried out whole.
    enum class UpgradeStep { ReadOldConfiguration, WriteFirmware, MergeConfiguration };
    virtual bool RunUpgradeStep(UpgradeStep step)
    {
        (void)step;
        return false;
    }

    // A host for windows made while there is no main window (and for pages tested alone): every
    // request does nothing and the user counts as logged off.
    static PageHost& None();
};
