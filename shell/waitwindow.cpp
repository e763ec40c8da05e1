#include "waitwindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStyle>

namespace {
QPointer<TWait> gWait;
}

TWait::TWait(QWidget* parent) : QDialog(parent)
{
    setObjectName("Wait");
    setWindowTitle("Information");
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setCursor(Qt::WaitCursor);
    setFixedSize(267, 54);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* text = new QLabel("Processing Data, Please Wait...", this);
    aniIcon_ = new QLabel(this);
    aniIcon_->setObjectName("AniIcon1");
    aniIcon_->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(24, 24));
    progress_ = new QProgressBar(this);
    progress_->setObjectName("Progress");
    progress_->setTextVisible(false);
    layout->addWidget(aniIcon_, 0, 0, 2, 1);
    layout->addWidget(text, 0, 1);
    layout->addWidget(progress_, 1, 1);
}

TWait* TWait::Instance()
{
    if (!gWait)
        gWait = new TWait;
    return gWait;
}

void TWait::ReleaseInstance()
{
    delete gWait.data();
}

void TWait::ShowAnimated()
{
    aniIcon_->setVisible(true);
    progress_->setVisible(false);
    show();
    repaint();
}

void TWait::ShowProgress(int maximum)
{
    aniIcon_->setVisible(false);
    progress_->setRange(0, maximum);
    progress_->setValue(0);
    progress_->setVisible(true);
    show();
    repaint();
}
