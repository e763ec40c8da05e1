#include "waitwindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionProgressBar>

namespace {
QPointer<TWait> gWait;

// The bar steps once for every block of a download, and each step asks for the style option to
// judge whether the bar moved by a pixel. The option's text is the value formatted in the bar's
// locale; the Wait window shows no text, so the bar leaves it out rather than format it per step.
class WaitBar : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void initStyleOption(QStyleOptionProgressBar* option) const override
    {
        if (!option || isTextVisible()) {
            QProgressBar::initStyleOption(option);
            return;
        }
        option->initFrom(this);
        if (orientation() == Qt::Horizontal)
            option->state |= QStyle::State_Horizontal;
        option->minimum = minimum();
        option->maximum = maximum();
        option->progress = value();
        option->textAlignment = alignment();
        option->textVisible = false;
        option->text.clear();
        option->invertedAppearance = invertedAppearance();
        option->bottomToTop = textDirection() == QProgressBar::BottomToTop;
    }
};
}  // namespace

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
    progress_ = new WaitBar(this);
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
