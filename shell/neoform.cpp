#include "neoform.h"

#include "appcontext.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

int TNeoForm::menuSwitchState_ = 1;

namespace {

constexpr int kTopHeight = 49;
constexpr int kBottomHeight = 12;
constexpr int kLeftWidth = 10;
constexpr int kRightWidth = 13;
constexpr int kTopLeftWidth = 81;
constexpr int kTopCenterWidth = 1024;
constexpr int kTopRightWidth = 94;
constexpr int kEdgeHeight = 6;
constexpr int kBottomLeftWidth = 10;
constexpr int kBottomRightWidth = 13;
constexpr QSize kWindowButton(17, 19);
constexpr int kWindowButtonTop = 5;
constexpr QSize kMenuButton(52, 16);
constexpr int kMenuButtonTop = 25;
const QColor kFaceGrey(207, 207, 207);

// The frame's pictures, drawn here in place of the bitmaps of a form resource.
QPixmap titlePicture(int width, bool active)
{
    QPixmap picture(width, kTopHeight);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, kTopHeight);
    gradient.setColorAt(0, active ? QColor(40, 70, 140) : QColor(150, 150, 150));
    gradient.setColorAt(1, active ? QColor(90, 130, 200) : QColor(190, 190, 190));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

QPixmap edgePicture(const QSize& size)
{
    QPixmap picture(size);
    picture.fill(QColor(120, 120, 130));
    return picture;
}

// 0 minimise, 1 maximise, 2 restore, 3 close, 4 control box.
QPixmap buttonPicture(int glyph, const QSize& size)
{
    QPixmap picture(size);
    picture.fill(kFaceGrey);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    const QRect r = picture.rect().adjusted(4, 4, -5, -5);
    switch (glyph) {
    case 0:
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        break;
    case 1:
        painter.drawRect(r);
        break;
    case 2:
        painter.drawRect(r.adjusted(0, 3, -3, 0));
        painter.drawRect(r.adjusted(3, 0, 0, -3));
        break;
    case 3:
        painter.drawLine(r.topLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomLeft());
        break;
    default:
        painter.drawEllipse(r);
        break;
    }
    return picture;
}

}  // namespace

TNeoForm::TNeoForm(QWidget* parent, BorderIcons icons)
        : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), borderIcons_(icons)
{
    setObjectName("NeoForm");
    resize(536, 353);

    TopPanel = new QWidget(this);
    TopPanel->setObjectName("TopPanel");
    TopLeftImage =
        MakeImage(TopPanel, "TopLeftImage", {0, 0, kTopLeftWidth, kTopHeight}, titlePicture(kTopLeftWidth, true));
    TopCenterImage = MakeImage(TopPanel, "TopCenterImage", {kTopLeftWidth, 0, kTopCenterWidth, kTopHeight},
                               titlePicture(kTopCenterWidth, true));
    TopRightImage =
        MakeImage(TopPanel, "TopRightImage", {0, 0, kTopRightWidth, kTopHeight}, titlePicture(kTopRightWidth, true));
    CaptionLabel = new QLabel(TopPanel);
    CaptionLabel->setObjectName("CaptionLabel");
    CaptionLabel->setStyleSheet("color: white; background: transparent;");
    ControlBoxImage = MakeImage(TopPanel, "ControlBoxImage", {9, 5, 26, 21}, buttonPicture(4, {26, 21}));
    MinImage = MakeImage(TopPanel, "MinImage", {{0, kWindowButtonTop}, kWindowButton}, buttonPicture(0, kWindowButton));
    MaxImage = MakeImage(TopPanel, "MaxImage", {{0, kWindowButtonTop}, kWindowButton}, buttonPicture(1, kWindowButton));
    RestoreImage =
        MakeImage(TopPanel, "RestoreImage", {{0, kWindowButtonTop}, kWindowButton}, buttonPicture(2, kWindowButton));
    RestoreImage->hide();
    CloseImage =
        MakeImage(TopPanel, "CloseImage", {{0, kWindowButtonTop}, kWindowButton}, buttonPicture(3, kWindowButton));
    TopImage = MakeImage(TopPanel, "TopImage", {0, 0, width(), kEdgeHeight}, QPixmap());
    for (int tag = 0; tag < kMenuButtons; ++tag) {
        auto* button = new QToolButton(TopPanel);
        button->setObjectName(QStringLiteral("MenuButton%1").arg(tag + 1));
        button->setProperty("Tag", tag);
        button->setGeometry(kTopLeftWidth + tag * kMenuButton.width(), kMenuButtonTop, kMenuButton.width(),
                            kMenuButton.height());
        // Each button is a group of its own that may be all up: it stays down while its menu is open.
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->hide();
        connect(button, &QToolButton::clicked, this, [this, button] { MenuButtonClick(button); });
        MenuButtons[static_cast<std::size_t>(tag)] = button;
    }

    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName("BottomPanel");
    BottomLeftImage = MakeImage(BottomPanel, "BottomLeftImage", {0, 0, kBottomLeftWidth, kBottomHeight},
                                edgePicture({kBottomLeftWidth, kBottomHeight}));
    BottomCenterImage = MakeImage(BottomPanel, "BottomCenterImage", {kBottomLeftWidth, 0, 0, kBottomHeight},
                                  edgePicture({kTopCenterWidth, kBottomHeight}));
    BottomRightImage = MakeImage(BottomPanel, "BottomRightImage", {0, 0, kBottomRightWidth, kBottomHeight},
                                 edgePicture({kBottomRightWidth, kBottomHeight}));
    LeftImage = MakeImage(this, "LeftImage", {0, kTopHeight, kLeftWidth, 0}, edgePicture({kLeftWidth, 768}));
    RightImage = MakeImage(this, "RightImage", {0, kTopHeight, kRightWidth, 0}, edgePicture({kRightWidth, 768}));

    GetFTopLeftImage = MakeImage(this, "GetFTopLeftImage", {}, titlePicture(kTopLeftWidth, true));
    GetFTopCenterImage = MakeImage(this, "GetFTopCenterImage", {}, titlePicture(kTopCenterWidth, true));
    GetFTopRightImage = MakeImage(this, "GetFTopRightImage", {}, titlePicture(kTopRightWidth, true));
    LostFTopLeftImage = MakeImage(this, "LostFTopLeftImage", {}, titlePicture(kTopLeftWidth, false));
    LostFTopCenterImage = MakeImage(this, "LostFTopCenterImage", {}, titlePicture(kTopCenterWidth, false));
    LostFTopRightImage = MakeImage(this, "LostFTopRightImage", {}, titlePicture(kTopRightWidth, false));
    for (QLabel* holder : {GetFTopLeftImage, GetFTopCenterImage, GetFTopRightImage, LostFTopLeftImage,
                           LostFTopCenterImage, LostFTopRightImage})
        holder->hide();

    menuTimer_ = new QTimer(this);
    menuTimer_->setObjectName("MenuTimer");
    menuTimer_->setInterval(100);
    connect(menuTimer_, &QTimer::timeout, this, &TNeoForm::MenuTimerTimer);

    PopupMenu = [](QMenu* menu, const QPoint& at) { menu->exec(at); };

    for (QWidget* w : std::initializer_list<QWidget*>{
             TopPanel, BottomPanel, TopImage, LeftImage, RightImage, BottomLeftImage, BottomCenterImage,
             BottomRightImage, CaptionLabel, MinImage, MaxImage, RestoreImage, CloseImage, ControlBoxImage})
        w->installEventFilter(this);

    // What the form's construction does once its resource is loaded.
    SetResizable(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kFaceGrey);
    setPalette(p);
    setAutoFillBackground(true);
    CaptionLabel->setText(windowTitle());
    SetBorderIcons(icons);
    LayOut();
}

TNeoForm::~TNeoForm() = default;

QLabel* TNeoForm::MakeImage(QWidget* parent, const char* name, const QRect& geometry, const QPixmap& picture)
{
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setGeometry(geometry);
    image->setScaledContents(true);
    if (!picture.isNull())
        image->setPixmap(picture);
    return image;
}

void TNeoForm::SetBorderIcons(BorderIcons icons)
{
    borderIcons_ = icons;
    MinImage->setVisible(icons.testFlag(biMinimize));
    MaxImage->setVisible(icons.testFlag(biMaximize) && !isMaximized());
}

void TNeoForm::SetResizable(bool resizable)
{
    resizable_ = resizable;
    SetBorderCursors(resizable);
}

void TNeoForm::SetBorderCursors(bool sizing)
{
    const auto shape = [sizing](Qt::CursorShape sizingShape) { return sizing ? sizingShape : Qt::ArrowCursor; };
    TopImage->setCursor(shape(Qt::SizeVerCursor));
    BottomCenterImage->setCursor(shape(Qt::SizeVerCursor));
    LeftImage->setCursor(shape(Qt::SizeHorCursor));
    RightImage->setCursor(shape(Qt::SizeHorCursor));
    BottomLeftImage->setCursor(shape(Qt::SizeBDiagCursor));
    BottomRightImage->setCursor(shape(Qt::SizeFDiagCursor));
}

// The toolkit's alignment of the panels and edges: top and bottom panels across the window, the
// side edges between them.
void TNeoForm::LayOut()
{
    const int w = width();
    const int h = height();
    const int middle = std::max(0, h - kTopHeight - kBottomHeight);
    TopPanel->setGeometry(0, 0, w, kTopHeight);
    BottomPanel->setGeometry(0, h - kBottomHeight, w, kBottomHeight);
    LeftImage->setGeometry(0, kTopHeight, kLeftWidth, middle);
    RightImage->setGeometry(w - kRightWidth, kTopHeight, kRightWidth, middle);
}

void TNeoForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TNeoForm::TopPanelResize()
{
    const int w = TopPanel->width();
    CaptionLabel->setGeometry(85, 11, std::max(0, width() - 175), CaptionLabel->sizeHint().height());
    TopRightImage->move(w - TopRightImage->width(), 0);
    TopCenterImage->move(TopLeftImage->x() + TopLeftImage->width(), 0);
    TopImage->setGeometry(0, 0, w, kEdgeHeight);
    MinImage->move(w - 60, kWindowButtonTop);
    MaxImage->move(w - 41, kWindowButtonTop);
    RestoreImage->move(w - 41, kWindowButtonTop);
    CloseImage->move(w - 22, kWindowButtonTop);
    // The caption and the centre picture lie behind the other title controls, the picture lowest.
    CaptionLabel->lower();
    TopCenterImage->lower();
    TopPanel->update();
}

void TNeoForm::BottomPanelResize()
{
    const int w = BottomPanel->width();
    BottomRightImage->move(w - BottomRightImage->width(), 0);
    BottomCenterImage->setGeometry(kBottomLeftWidth, 0, std::max(0, w - kBottomLeftWidth - kBottomRightWidth),
                                   kBottomHeight);
    BottomPanel->update();
}

QRect TNeoForm::GetWorkArea() const
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool TNeoForm::FormCanResize(int& newWidth, int& newHeight) const
{
    if (newWidth < kMinWidth || newHeight < kMinHeight)
        return false;
    const QRect area = GetWorkArea();
    if (area.isValid()) {
        newWidth = std::min(newWidth, area.width());
        newHeight = std::min(newHeight, area.height());
    }
    return true;
}

void TNeoForm::ApplyBounds(const QRect& bounds)
{
    int w = bounds.width();
    int h = bounds.height();
    if (!FormCanResize(w, h))
        return;
    setGeometry(bounds.left(), bounds.top(), w, h);
}

void TNeoForm::SizeMessage(SizeKind kind)
{
    switch (kind) {
    case SIZE_RESTORED:
        if (borderIcons_.testFlag(biMaximize)) {
            MaxImage->show();
            RestoreImage->hide();
        }
        SetBorderCursors(resizable_);
        break;
    case SIZE_MAXIMIZED:
        if (borderIcons_.testFlag(biMaximize)) {
            MaxImage->hide();
            RestoreImage->show();
        }
        SetBorderCursors(false);
        break;
    default:
        break;
    }
}

void TNeoForm::ShowTitlePictures(QLabel* left, QLabel* center, QLabel* right)
{
    TopLeftImage->setPixmap(left->pixmap());
    TopCenterImage->setPixmap(center->pixmap());
    TopRightImage->setPixmap(right->pixmap());
}

void TNeoForm::ActivateMessage(ActivateState state)
{
    if (state == WA_INACTIVE) {
        menuTimer_->stop();
        ShowTitlePictures(LostFTopLeftImage, LostFTopCenterImage, LostFTopRightImage);
    } else {
        ShowTitlePictures(GetFTopLeftImage, GetFTopCenterImage, GetFTopRightImage);
        TopPanel->repaint();
    }
}

void TNeoForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::WindowStateChange:
        if (isMaximized())
            SizeMessage(SIZE_MAXIMIZED);
        else if (!isMinimized())
            SizeMessage(SIZE_RESTORED);
        break;
    case QEvent::ActivationChange:
        ActivateMessage(isActiveWindow() ? WA_ACTIVE : WA_INACTIVE);
        break;
    case QEvent::WindowTitleChange:
        CaptionLabel->setText(windowTitle());
        break;
    default:
        break;
    }
}

bool TNeoForm::IsEdge(QObject* watched) const
{
    return watched == TopImage || watched == LeftImage || watched == RightImage || watched == BottomLeftImage ||
           watched == BottomCenterImage || watched == BottomRightImage;
}

void TNeoForm::EdgeMouseMove(QLabel* edge, const QPoint& p)
{
    if (!borderDrag_ || !resizable_ || isMaximized())
        return;
    QRect bounds = geometry();
    const int grabX = borderGrab_.x();
    const int grabY = borderGrab_.y();
    const int pictureRight = p.x() + edge->width() - grabX;
    const int pictureBottom = p.y() + edge->height() - grabY;
    // QRect's right and bottom are the last pixels inside; the table's edges lie just past them.
    if (edge == TopImage) {
        bounds.setTop(p.y() - grabY);
    } else if (edge == LeftImage) {
        bounds.setLeft(p.x() - grabX);
    } else if (edge == RightImage) {
        bounds.setRight(pictureRight - 1);
    } else if (edge == BottomLeftImage) {
        bounds.setLeft(p.x() - grabX);
        bounds.setBottom(pictureBottom - 1);
    } else if (edge == BottomCenterImage) {
        bounds.setBottom(pictureBottom - 1);
    } else if (edge == BottomRightImage) {
        bounds.setRight(pictureRight - 1);
        bounds.setBottom(pictureBottom - 1);
    }
    ApplyBounds(bounds);
}

bool TNeoForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize) {
        if (watched == TopPanel)
            TopPanelResize();
        else if (watched == BottomPanel)
            BottomPanelResize();
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mouse->position().toPoint();
    const QPoint global = mouse->globalPosition().toPoint();

    if (IsEdge(watched)) {
        if (type == QEvent::MouseButtonPress) {
            borderDrag_ = true;
            borderGrab_ = local;
        } else if (type == QEvent::MouseMove) {
            EdgeMouseMove(static_cast<QLabel*>(watched), global);
        } else if (type == QEvent::MouseButtonRelease) {
            borderDrag_ = false;
        }
        return false;
    }
    if (watched == CaptionLabel) {
        if (type == QEvent::MouseButtonPress) {
            captionDrag_ = true;
            captionGrab_ = local + CaptionLabel->pos();
        } else if (type == QEvent::MouseMove) {
            if (captionDrag_ && !isMaximized())
                move(global - captionGrab_);
        } else if (type == QEvent::MouseButtonRelease) {
            captionDrag_ = false;
        } else {
            CaptionLabelDblClick();
        }
        return false;
    }
    if (type == QEvent::MouseButtonDblClick && watched == ControlBoxImage) {
        CloseImageClick();
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        auto* image = static_cast<QWidget*>(watched);
        if (!image->rect().contains(local))
            return false;
        if (watched == MinImage)
            MinImageClick();
        else if (watched == MaxImage)
            MaxImageClick();
        else if (watched == RestoreImage)
            RestoreImageClick();
        else if (watched == CloseImage)
            CloseImageClick();
        else
            return false;
        return true;
    }
    return false;
}

void TNeoForm::CaptionLabelDblClick()
{
    if (!borderIcons_.testFlag(biMaximize))
        return;
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void TNeoForm::MinImageClick()
{
    // As the main window it stands for the whole application.
    if (appcontext::mainForm() == this) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                window->showMinimized();
    } else {
        showMinimized();
    }
}

void TNeoForm::MaxImageClick()
{
    showMaximized();
}

void TNeoForm::RestoreImageClick()
{
    showNormal();
}

void TNeoForm::CloseImageClick()
{
    close();
}

void TNeoForm::SetMenu(int tag, QMenu* menu)
{
    if (tag < 0 || tag >= kMenuButtons)
        return;
    menus_[static_cast<std::size_t>(tag)] = menu;
    QToolButton* button = MenuButtons[static_cast<std::size_t>(tag)];
    button->setText(menu ? menu->title() : QString());
    button->setVisible(menu != nullptr);
}

QMenu* TNeoForm::Menu(int tag) const
{
    if (tag < 0 || tag >= kMenuButtons)
        return nullptr;
    return menus_[static_cast<std::size_t>(tag)];
}

QToolButton* TNeoForm::FindMenuButton(int tag) const
{
    for (QToolButton* button : findChildren<QToolButton*>())
        if (button->objectName().startsWith("MenuButton") && button->property("Tag").toInt() == tag)
            return button;
    return nullptr;
}

QPoint TNeoForm::CursorPos() const
{
    return QCursor::pos();
}

void TNeoForm::MenuButtonClick(QToolButton* button)
{
    const int tag = button->property("Tag").toInt();
    if (openButton_ == tag) {
        openButton_ = -1;
        button->setChecked(false);
        return;
    }
    currentMenu_ = openButton_ = tag;
    menuTimer_->start();
    button->setChecked(true);
    // A button without a menu has nothing to open, but behaves alike otherwise.
    if (QMenu* menu = Menu(tag))
        PopupMenu(menu, button->mapToGlobal(QPoint(0, button->height() + 2)));
    currentMenu_ = -1;
    if (!button->rect().contains(button->mapFromGlobal(CursorPos()))) {
        // Off and on again clears the hover highlight.
        button->setEnabled(false);
        button->setEnabled(true);
        button->setChecked(false);
        button->repaint();
        openButton_ = -1;
    }
}

void TNeoForm::MenuTimerTimer()
{
    QToolButton* found = nullptr;
    for (int tag = 0; tag < kMenuButtons && !found; ++tag) {
        QToolButton* button = FindMenuButton(tag);
        if (!button || !button->isVisible() || tag == currentMenu_)
            continue;
        if (button->rect().contains(button->mapFromGlobal(CursorPos())))
            found = button;
    }
    if (!found)
        return;
    if (menuSwitchState_ == 1) {
        if (currentMenu_ < 0) {
            menuTimer_->stop();
            return;
        }
        // Two Escapes close the open popup; its button's click returns and the next tick opens
        // the menu under the pointer.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (int i = 0; i < 2; ++i)
                QCoreApplication::postEvent(popup, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
        menuTimer_->start();
        menuSwitchState_ = 2;
    } else {
        menuSwitchState_ = 1;
        found->click();
    }
}
