#pragma once

#include <QFlags>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QMenu;
class QTimer;
class QToolButton;

// A borderless window that draws its own frame from pictures: a title bar with caption, window
// buttons and a row of up to twelve menu buttons, picture edges that resize the window when
// dragged, and a title that moves it. Its title pictures change with the focus. The program
// creates it at start-up with the other shared windows and never shows it.
class TNeoForm : public QWidget {
    Q_OBJECT

public:
    enum BorderIcon { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4 };
    Q_DECLARE_FLAGS(BorderIcons, BorderIcon)

    // The window messages the frame follows, by their platform kinds.
    enum SizeKind { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
    enum ActivateState { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

    static constexpr int kMenuButtons = 12;
    static constexpr int kMinWidth = 200;
    static constexpr int kMinHeight = 60;

    explicit TNeoForm(QWidget* parent = nullptr, BorderIcons icons = {biSystemMenu, biMinimize, biMaximize});
    ~TNeoForm() override;

    BorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(BorderIcons icons);

    bool IsResizable() const { return resizable_; }
    void SetResizable(bool resizable);
    void SetBorderCursors(bool sizing);

    // The menu of the button with that tag (0-11); a menu shows its button with the menu's title,
    // null hides the button again. Not owned.
    void SetMenu(int tag, QMenu* menu);
    QMenu* Menu(int tag) const;
    QToolButton* FindMenuButton(int tag) const;
    int CurrentMenuIndex() const { return currentMenu_; }
    int OpenButtonIndex() const { return openButton_; }
    // Shared by every window of this kind.
    static int MenuSwitchState() { return menuSwitchState_; }

    // False (nothing changes) below the minimum size; otherwise cuts the size to the work area.
    bool FormCanResize(int& newWidth, int& newHeight) const;
    // The desktop's work area of the window's screen.
    QRect GetWorkArea() const;

    // What the window procedure does after the toolkit's own handling of a size or activate
    // message; the Qt state and activation changes arrive here.
    void SizeMessage(SizeKind kind);
    void ActivateMessage(ActivateState state);

    // Event handlers under the names the form binds.
    void TopPanelResize();
    void BottomPanelResize();
    void CaptionLabelDblClick();
    void MinImageClick();
    void MaxImageClick();
    void RestoreImageClick();
    void CloseImageClick();
    void MenuButtonClick(QToolButton* button);
    void MenuTimerTimer();

    QTimer* MenuTimer() const { return menuTimer_; }

    // Opens a menu at a screen position and returns when it closes; replaceable so that a test
    // need not run the menu's own event loop.
    std::function<void(QMenu* menu, const QPoint& at)> PopupMenu;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Where the pointer is, on the screen.
    virtual QPoint CursorPos() const;

private:
    QLabel* MakeImage(QWidget* parent, const char* name, const QRect& geometry, const QPixmap& picture);
    void LayOut();
    bool IsEdge(QObject* watched) const;
    void EdgeMouseMove(QLabel* edge, const QPoint& cursor);
    void ApplyBounds(const QRect& bounds);
    void ShowTitlePictures(QLabel* left, QLabel* center, QLabel* right);

    QWidget* TopPanel;
    QLabel* TopLeftImage;
    QLabel* TopCenterImage;
    QLabel* TopRightImage;
    QLabel* CaptionLabel;
    QLabel* ControlBoxImage;
    QLabel* MinImage;
    QLabel* MaxImage;
    QLabel* RestoreImage;
    QLabel* CloseImage;
    QLabel* TopImage;
    std::array<QToolButton*, kMenuButtons> MenuButtons{};
    QWidget* BottomPanel;
    QLabel* BottomLeftImage;
    QLabel* BottomCenterImage;
    QLabel* BottomRightImage;
    QLabel* LeftImage;
    QLabel* RightImage;
    QLabel* GetFTopLeftImage;
    QLabel* GetFTopCenterImage;
    QLabel* GetFTopRightImage;
    QLabel* LostFTopLeftImage;
    QLabel* LostFTopCenterImage;
    QLabel* LostFTopRightImage;
    QTimer* menuTimer_;

    BorderIcons borderIcons_;
    bool resizable_ = true;
    std::array<QMenu*, kMenuButtons> menus_{};
    int currentMenu_ = -1;
    int openButton_ = -1;
    bool borderDrag_ = false;
    QPoint borderGrab_;
    bool captionDrag_ = false;
    QPoint captionGrab_;

    static int menuSwitchState_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TNeoForm::BorderIcons)
