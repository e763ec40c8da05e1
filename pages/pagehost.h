#pragma once

#include <QString>
#include <string>

// What the pages ask of the main window. The pages sit below the shell, so they reach the window
// through this interface, which the main window implements and installs; without a host (a page
// tested alone) every request does nothing and the user counts as logged off.
class PageHost {
public:
    virtual ~PageHost() = default;

    // The main window's stream display ("StreamDisp").
    virtual void SetStreamDisplay(const QString& text) = 0;
    // Queues "WriteSinglePoint" for the point with the text.
    virtual void WriteSinglePoint(int pointId, const std::string& value) = 0;
    // Queues a named command with its parameter.
    virtual void Queue(const char* command, const std::string& parameter) = 0;
    // The Logon button's enabled state is the test for being logged off.
    virtual bool LoggedOn() const = 0;
    // Shows one of the program's own windows by its name, not modally ("QCForm").
    virtual void ShowWindow(const char* name) { (void)name; }

    static PageHost* Instance();
    // The main window installs itself; null uninstalls.
    static void SetInstance(PageHost* host);
};
