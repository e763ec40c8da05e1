#include "neoform.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace {

// The pointer where the test puts it.
class TestNeoForm : public TNeoForm {
public:
    using TNeoForm::TNeoForm;
    QPoint cursor{-1000, -1000};

protected:
    QPoint CursorPos() const override { return cursor; }
};

void mouse(QWidget* target, QEvent::Type type, const QPoint& local, const QPoint& global)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(global), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

class NeoFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.setGeometry(100, 100, 400, 300);
        form.show();
    }
    template <typename T = QLabel>
    T* part(const char* name)
    {
        auto* w = form.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Presses on an edge picture at a point inside it, drags the pointer to a screen point and lets go.
    void dragEdge(const char* name, const QPoint& grab, const QPoint& to)
    {
        QLabel* edge = part(name);
        mouse(edge, QEvent::MouseButtonPress, grab, edge->mapToGlobal(grab));
        mouse(edge, QEvent::MouseMove, edge->mapFromGlobal(to), to);
        mouse(edge, QEvent::MouseButtonRelease, edge->mapFromGlobal(to), to);
    }

    TestNeoForm form;
};

}  // namespace

TEST(NeoForm, ConstructionAndBorderIcons)
{
    TNeoForm form;
    EXPECT_EQ(form.objectName(), "NeoForm");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.size(), QSize(536, 353));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(207, 207, 207));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.IsResizable());
    EXPECT_EQ(form.CurrentMenuIndex(), -1);
    EXPECT_EQ(form.OpenButtonIndex(), -1);
    EXPECT_FALSE(form.MenuTimer()->isActive());
    EXPECT_EQ(form.MenuTimer()->interval(), 100);
    EXPECT_FALSE(form.findChild<QLabel*>("MinImage")->isHidden());
    EXPECT_FALSE(form.findChild<QLabel*>("MaxImage")->isHidden());
    EXPECT_TRUE(form.findChild<QLabel*>("RestoreImage")->isHidden());
    EXPECT_EQ(form.findChild<QLabel*>("TopImage")->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(form.findChild<QLabel*>("BottomLeftImage")->cursor().shape(), Qt::SizeBDiagCursor);
    EXPECT_EQ(form.findChild<QLabel*>("BottomRightImage")->cursor().shape(), Qt::SizeFDiagCursor);
    for (int tag = 0; tag < TNeoForm::kMenuButtons; ++tag) {
        QToolButton* button = form.FindMenuButton(tag);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->objectName(), QString("MenuButton%1").arg(tag + 1));
        EXPECT_TRUE(button->isHidden());
        EXPECT_EQ(button->geometry(), QRect(81 + 52 * tag, 25, 52, 16));
    }
    EXPECT_EQ(form.FindMenuButton(12), nullptr);

    form.SetResizable(false);
    EXPECT_EQ(form.findChild<QLabel*>("LeftImage")->cursor().shape(), Qt::ArrowCursor);

    TNeoForm plain(nullptr, TNeoForm::biSystemMenu);
    EXPECT_TRUE(plain.findChild<QLabel*>("MinImage")->isHidden());
    EXPECT_TRUE(plain.findChild<QLabel*>("MaxImage")->isHidden());
}

TEST_F(NeoFormTest, TitleBarLaysOutAlongTheWindow)
{
    EXPECT_EQ(part("TopRightImage")->x(), 400 - 94);
    EXPECT_EQ(part("CloseImage")->x(), 400 - 22);
    EXPECT_EQ(part("MinImage")->x(), 400 - 60);
    EXPECT_EQ(part("CaptionLabel")->geometry().topLeft(), QPoint(85, 11));
    EXPECT_EQ(part("CaptionLabel")->width(), 400 - 175);
    EXPECT_EQ(part("BottomRightImage")->x(), 400 - 13);
    EXPECT_EQ(part("RightImage")->geometry(), QRect(400 - 13, 49, 13, 300 - 49 - 12));
    form.setWindowTitle("Sentrel");
    EXPECT_EQ(part("CaptionLabel")->text(), "Sentrel");
}

TEST_F(NeoFormTest, ResizeLimits)
{
    const QRect area = form.GetWorkArea();
    ASSERT_TRUE(area.isValid());
    struct Case {
        int w, h;
        bool allowed;
        int cutW, cutH;
    };
    const Case cases[] = {
        {199, 100, false, 199, 100},
        {300, 59, false, 300, 59},
        {200, 60, true, 200, 60},
        {area.width() + 50, area.height() + 10, true, area.width(), area.height()},
    };
    for (const auto& c : cases) {
        int w = c.w;
        int h = c.h;
        EXPECT_EQ(form.FormCanResize(w, h), c.allowed) << c.w << "x" << c.h;
        EXPECT_EQ(QSize(w, h), QSize(c.cutW, c.cutH)) << c.w << "x" << c.h;
    }
}

TEST_F(NeoFormTest, EdgesResizeTheWindow)
{
    // Grabbed 5 pixels inside the right edge, let go at x 600: the edge's outer side lies 8 further.
    dragEdge("RightImage", {5, 10}, {600, 300});
    EXPECT_EQ(form.geometry(), QRect(100, 100, 608 - 100, 300));

    dragEdge("BottomRightImage", {3, 2}, {500, 450});
    EXPECT_EQ(form.geometry(), QRect(100, 100, 500 + 13 - 3 - 100, 450 + 12 - 2 - 100));

    dragEdge("LeftImage", {4, 50}, {54, 300});
    EXPECT_EQ(form.geometry().left(), 50);
    dragEdge("TopImage", {10, 2}, {300, 82});
    EXPECT_EQ(form.geometry().top(), 80);

    // Too narrow: refused, nothing changes.
    const QRect before = form.geometry();
    dragEdge("RightImage", {5, 10}, {before.left() + 150, 300});
    EXPECT_EQ(form.geometry(), before);

    // A move without a press does nothing.
    QLabel* right = part("RightImage");
    mouse(right, QEvent::MouseMove, {5, 10}, {900, 300});
    EXPECT_EQ(form.geometry(), before);

    form.SetResizable(false);
    dragEdge("RightImage", {5, 10}, {700, 300});
    EXPECT_EQ(form.geometry(), before);
    form.SetResizable(true);

    form.showMaximized();
    const QRect maximised = form.geometry();
    dragEdge("BottomCenterImage", {5, 5}, {300, 200});
    EXPECT_EQ(form.geometry(), maximised);
}

TEST_F(NeoFormTest, TitleMovesAndMaximises)
{
    QLabel* caption = part("CaptionLabel");
    mouse(caption, QEvent::MouseButtonPress, {10, 5}, caption->mapToGlobal(QPoint(10, 5)));
    mouse(caption, QEvent::MouseMove, {0, 0}, {500, 400});
    mouse(caption, QEvent::MouseButtonRelease, {0, 0}, {500, 400});
    EXPECT_EQ(form.pos(), QPoint(500 - 95, 400 - 16));

    mouse(caption, QEvent::MouseButtonDblClick, {10, 5}, {0, 0});
    EXPECT_TRUE(form.isMaximized());
    EXPECT_TRUE(part("MaxImage")->isHidden());
    EXPECT_FALSE(part("RestoreImage")->isHidden());
    EXPECT_EQ(part("LeftImage")->cursor().shape(), Qt::ArrowCursor);

    // No moving while maximised.
    const QPoint at = form.pos();
    mouse(caption, QEvent::MouseButtonPress, {10, 5}, caption->mapToGlobal(QPoint(10, 5)));
    mouse(caption, QEvent::MouseMove, {0, 0}, {300, 300});
    mouse(caption, QEvent::MouseButtonRelease, {0, 0}, {300, 300});
    EXPECT_EQ(form.pos(), at);

    mouse(caption, QEvent::MouseButtonDblClick, {10, 5}, {0, 0});
    EXPECT_FALSE(form.isMaximized());
    EXPECT_FALSE(part("MaxImage")->isHidden());
    EXPECT_TRUE(part("RestoreImage")->isHidden());
    EXPECT_EQ(part("LeftImage")->cursor().shape(), Qt::SizeHorCursor);

    // The window buttons.
    QLabel* max = part("MaxImage");
    mouse(max, QEvent::MouseButtonRelease, {3, 3}, max->mapToGlobal(QPoint(3, 3)));
    EXPECT_TRUE(form.isMaximized());
    QLabel* restore = part("RestoreImage");
    mouse(restore, QEvent::MouseButtonRelease, {3, 3}, restore->mapToGlobal(QPoint(3, 3)));
    EXPECT_FALSE(form.isMaximized());
    QLabel* close = part("CloseImage");
    mouse(close, QEvent::MouseButtonRelease, {3, 3}, close->mapToGlobal(QPoint(3, 3)));
    EXPECT_FALSE(form.isVisible());
}

TEST(NeoForm, WithoutMaximiseNothingMaximises)
{
    TNeoForm form(nullptr, {TNeoForm::biSystemMenu, TNeoForm::biMinimize});
    form.show();
    QLabel* caption = form.findChild<QLabel*>("CaptionLabel");
    mouse(caption, QEvent::MouseButtonDblClick, {10, 5}, {0, 0});
    EXPECT_FALSE(form.isMaximized());
    // Maximised by the window manager: no restore picture appears.
    form.showMaximized();
    EXPECT_TRUE(form.findChild<QLabel*>("MaxImage")->isHidden());
    EXPECT_TRUE(form.findChild<QLabel*>("RestoreImage")->isHidden());
}

TEST_F(NeoFormTest, FocusChangesTheTitlePictures)
{
    const auto key = [this](const char* name) { return part(name)->pixmap().cacheKey(); };
    form.MenuTimer()->start();
    form.ActivateMessage(TNeoForm::WA_INACTIVE);
    EXPECT_FALSE(form.MenuTimer()->isActive());
    EXPECT_EQ(key("TopLeftImage"), key("LostFTopLeftImage"));
    EXPECT_EQ(key("TopCenterImage"), key("LostFTopCenterImage"));
    EXPECT_EQ(key("TopRightImage"), key("LostFTopRightImage"));
    form.ActivateMessage(TNeoForm::WA_CLICKACTIVE);
    EXPECT_EQ(key("TopLeftImage"), key("GetFTopLeftImage"));
    EXPECT_EQ(key("TopCenterImage"), key("GetFTopCenterImage"));
    EXPECT_EQ(key("TopRightImage"), key("GetFTopRightImage"));
}

TEST_F(NeoFormTest, MenuButtonsOpenTheirMenusAndSwitchUnderThePointer)
{
    QMenu file("File");
    QMenu edit("Edit");
    form.SetMenu(0, &file);
    form.SetMenu(1, &edit);
    QToolButton* first = form.FindMenuButton(0);
    QToolButton* second = form.FindMenuButton(1);
    ASSERT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), "File");
    EXPECT_TRUE(form.FindMenuButton(2)->isHidden());

    std::vector<QMenu*> opened;
    std::vector<QPoint> places;
    form.PopupMenu = [&](QMenu* menu, const QPoint& at) {
        opened.push_back(menu);
        places.push_back(at);
        EXPECT_EQ(form.CurrentMenuIndex(), menu == &file ? 0 : 1);
        EXPECT_TRUE(form.MenuTimer()->isActive());
    };

    // Closed with the pointer elsewhere: the button comes up.
    first->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(places[0], first->mapToGlobal(QPoint(0, 16 + 2)));
    EXPECT_FALSE(first->isChecked());
    EXPECT_EQ(form.OpenButtonIndex(), -1);
    EXPECT_EQ(form.CurrentMenuIndex(), -1);

    // Closed with the pointer on it: it stays down until clicked again.
    form.cursor = first->mapToGlobal(QPoint(5, 5));
    first->click();
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(form.OpenButtonIndex(), 0);
    first->click();
    EXPECT_FALSE(first->isChecked());
    EXPECT_EQ(form.OpenButtonIndex(), -1);
    EXPECT_EQ(opened.size(), 2u);

    // While File is open the pointer moves onto Edit: one tick closes File, the next opens Edit.
    opened.clear();
    form.cursor = {-1000, -1000};
    form.PopupMenu = [&](QMenu* menu, const QPoint&) {
        opened.push_back(menu);
        if (menu != &file)
            return;
        form.cursor = second->mapToGlobal(QPoint(5, 5));
        ASSERT_EQ(TNeoForm::MenuSwitchState(), 1);
        form.MenuTimerTimer();
        EXPECT_EQ(TNeoForm::MenuSwitchState(), 2);
        form.MenuTimerTimer();
        EXPECT_EQ(TNeoForm::MenuSwitchState(), 1);
    };
    first->click();
    EXPECT_EQ(opened, (std::vector<QMenu*>{&file, &edit}));
    EXPECT_FALSE(first->isChecked());

    // No menu open any more: a tick with the pointer on a button stops the timer.
    form.cursor = second->mapToGlobal(QPoint(5, 5));
    form.MenuTimer()->start();
    form.MenuTimerTimer();
    EXPECT_FALSE(form.MenuTimer()->isActive());
}
