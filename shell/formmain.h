#pragma once

#include "librarybinder.h"

#include <QMainWindow>

// The main window: owns the two shared libraries for the life of the process.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // False when the GUI routines did not load: the window then offers no unit operation.
    bool modulesLoaded() const { return panekit_.isLoaded(); }
    bool linkAvailable() const { return portelle_.isLoaded(); }

private:
    bool LoadGuiRoutines();
    void LoadComms();

    LibraryBinder panekit_;
    LibraryBinder portelle_;
};
