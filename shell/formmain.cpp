#include "formmain.h"

#include "appcontext.h"

#include <QLabel>

namespace {
using InitFn = void (*)();
}

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("FormMain");
    setWindowTitle("Sentrel515 Desktop");
    appcontext::setMainForm(this);
    auto* placeholder = new QLabel(this);
    placeholder->setObjectName("lblNotConnected");
    setCentralWidget(placeholder);
    resize(1024, 700);

    if (LoadGuiRoutines())
        LoadComms();
}

TFormMain::~TFormMain()
{
    if (auto cleanup = portelle_.entry<InitFn>("_Cleanup"))
        cleanup();
}

bool TFormMain::LoadGuiRoutines()
{
    if (!panekit_.load(LibraryBinder::programDir(), "libPanekit.so", {"_Initialize", "_Cleanup"})) {
        panekit_.reportLoadFailure();
        return false;
    }
    panekit_.entry<InitFn>("_Initialize")();
    return true;
}

void TFormMain::LoadComms()
{
    if (!portelle_.load(LibraryBinder::programDir(), "libPortelle.so", {"_Initialize", "_Cleanup"})) {
        portelle_.reportLoadFailure();
        return;
    }
    portelle_.entry<InitFn>("_Initialize")();
}
