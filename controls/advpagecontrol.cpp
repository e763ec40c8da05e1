#include "advpagecontrol.h"

#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QToolTip>
#include <algorithm>

namespace {
// QTabWidget counts its tab bar in its own size even while the bar is hidden: this one takes no
// room, as the rows stand outside.
class NoRoomTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;
    QSize sizeHint() const override { return {0, 0}; }
    QSize minimumSizeHint() const override { return {0, 0}; }
};
}  // namespace

TAdvPageControl::TAdvPageControl(QWidget* parent) : QTabWidget(parent), rows_(new TAdvTabRows(this))
{
    setTabBar(new NoRoomTabBar(this));
    tabBar()->hide();
    connect(this, &QTabWidget::currentChanged, rows_.data(), [this] { rows_->update(); });
}

TAdvPageControl::~TAdvPageControl()
{
    // The rows live in the owner's layout; they must not outlive the pages they draw.
    delete rows_.data();
}

void TAdvPageControl::setTabVisible(int index, bool visible)
{
    QTabWidget::setTabVisible(index, visible);
    rows_->Relayout();
}

void TAdvPageControl::setTabEnabled(int index, bool enabled)
{
    QTabWidget::setTabEnabled(index, enabled);
    rows_->update();
}

void TAdvPageControl::setTabText(int index, const QString& text)
{
    QTabWidget::setTabText(index, text);
    rows_->Relayout();
}

QSize TAdvPageControl::PaneFrame() const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, 1000, 1000);
    const QRect contents = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    return option.rect.size() - contents.size();
}

QSize TAdvPageControl::sizeHint() const
{
    const auto* stack = findChild<const QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return stack ? stack->sizeHint() + PaneFrame() : QTabWidget::sizeHint();
}

QSize TAdvPageControl::minimumSizeHint() const
{
    const auto* stack = findChild<const QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return stack ? stack->minimumSizeHint() + PaneFrame() : QTabWidget::minimumSizeHint();
}

void TAdvPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    tabBar()->hide();
    rows_->Relayout();
}

void TAdvPageControl::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    rows_->Relayout();
}

void TAdvPageControl::changeEvent(QEvent* event)
{
    QTabWidget::changeEvent(event);
    // Disabled pages take their tabs with them: no page can be chosen while a command runs.
    if (event->type() == QEvent::EnabledChange)
        rows_->setEnabled(isEnabled());
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rows_->setFont(font());
        rows_->Relayout();
    }
}

// ------------------------------------------------------------------------------------------------

TAdvTabRows::TAdvTabRows(TAdvPageControl* pages) : QWidget(pages->parentWidget()), pages_(pages)
{
    setObjectName(pages->objectName() + QStringLiteral("Tabs"));
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(pages, &QObject::objectNameChanged, this,
            [this](const QString& name) { setObjectName(name + QStringLiteral("Tabs")); });
}

QSize TAdvTabRows::TabSize(int index) const
{
    QStyleOptionTab option;
    InitTabOption(&option, index);
    const int hSpace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int vSpace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    const QFontMetrics metrics = fontMetrics();
    const QSize contents(metrics.size(Qt::TextShowMnemonic, option.text).width() + hSpace, metrics.height() + vSpace);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

TAdvTabRows::Layout TAdvTabRows::LayoutFor(int width) const
{
    Layout layout;
    const int count = pages_->count();
    layout.rects.resize(count);
    int tabHeight = 0;
    QVector<QVector<int>> rows;
    int used = 0;
    for (int i = 0; i < count; ++i) {
        if (!pages_->isTabVisible(i))
            continue;
        const QSize size = TabSize(i);
        tabHeight = std::max(tabHeight, size.height());
        if (rows.isEmpty() || (used + size.width() > width && !rows.last().isEmpty())) {
            rows.append(QVector<int>());
            used = 0;
        }
        rows.last().append(i);
        layout.rects[i] = QRect(used, 0, size.width(), 0);
        used += size.width();
    }
    // Each row is spread over the whole width, the extra shared out among its tabs.
    for (int r = 0; r < rows.size(); ++r) {
        const QVector<int>& row = rows[r];
        const int natural = layout.rects[row.last()].right() + 1;
        const int extra = std::max(0, width - natural);
        int x = 0;
        for (int k = 0; k < row.size(); ++k) {
            QRect& rect = layout.rects[row[k]];
            const int share = extra * (k + 1) / row.size() - extra * k / row.size();
            rect = QRect(x, r * tabHeight, rect.width() + share, tabHeight);
            x = rect.right() + 1;
        }
    }
    layout.rows = static_cast<int>(rows.size());
    layout.height = layout.rows * tabHeight;
    return layout;
}

void TAdvTabRows::Relayout()
{
    const Layout layout = LayoutFor(width());
    const bool taller = layout.rows != rowCount_;
    rects_ = layout.rects;
    rowCount_ = layout.rows;
    if (taller)
        updateGeometry();
    update();
}

QRect TAdvTabRows::TabRect(int index) const
{
    return index >= 0 && index < rects_.size() ? rects_[index] : QRect();
}

int TAdvTabRows::TabAt(const QPoint& pos) const
{
    for (int i = 0; i < rects_.size(); ++i)
        if (rects_[i].contains(pos))
            return i;
    return -1;
}

int TAdvTabRows::heightForWidth(int width) const
{
    return LayoutFor(width).height;
}

QSize TAdvTabRows::sizeHint() const
{
    // As wide as every tab in one row. The layout asks heightForWidth for the width it gives; a
    // width not yet given (a widget never laid out) counts as that one row.
    int oneRow = 0;
    for (int i = 0; i < pages_->count(); ++i)
        if (pages_->isTabVisible(i))
            oneRow += TabSize(i).width();
    return {oneRow, heightForWidth(testAttribute(Qt::WA_Resized) || isVisible() ? std::max(width(), 1) : oneRow)};
}

QSize TAdvTabRows::minimumSizeHint() const
{
    int widest = 0, height = 0;
    for (int i = 0; i < pages_->count(); ++i)
        if (pages_->isTabVisible(i)) {
            const QSize size = TabSize(i);
            widest = std::max(widest, size.width());
            height = std::max(height, size.height());
        }
    return {widest, height};
}

void TAdvTabRows::InitTabOption(QStyleOptionTab* option, int index) const
{
    option->initFrom(this);
    option->shape = pages_->tabPosition() == QTabWidget::North ? QTabBar::RoundedNorth : QTabBar::RoundedSouth;
    option->text = pages_->tabText(index);
    option->documentMode = false;
    const int current = pages_->currentIndex();
    option->state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Selected);
    if (index == current) {
        option->state |= QStyle::State_Selected;
        if (hasFocus())
            option->state |= QStyle::State_HasFocus;
    }
    if (!pages_->isTabEnabled(index) || !isEnabled())
        option->state &= ~QStyle::State_Enabled;
    if (index == hovered_ && option->state & QStyle::State_Enabled)
        option->state |= QStyle::State_MouseOver;
    if (index < 0 || index >= rects_.size() || rects_[index].isEmpty())
        return;
    option->rect = rects_[index];
    // Where the tab stands in its row, for the style's rounded ends.
    const QRect rect = rects_[index];
    const bool first = rect.left() == 0;
    const bool last = rect.right() >= width() - 1;
    option->position = first && last ? QStyleOptionTab::OnlyOneTab
                       : first       ? QStyleOptionTab::Beginning
                       : last        ? QStyleOptionTab::End
                                     : QStyleOptionTab::Middle;
    option->row = rect.top() / std::max(1, rect.height());
    option->selectedPosition = QStyleOptionTab::NotAdjacent;
    if (current >= 0 && current < rects_.size() && rects_[current].top() == rect.top()) {
        if (rects_[current].right() + 1 == rect.left())
            option->selectedPosition = QStyleOptionTab::PreviousIsSelected;
        else if (rect.right() + 1 == rects_[current].left())
            option->selectedPosition = QStyleOptionTab::NextIsSelected;
    }
}

void TAdvTabRows::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int current = pages_->currentIndex();
    // The chosen tab last, so that its raised edges lie over its neighbours.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < rects_.size(); ++i) {
            if (rects_[i].isEmpty() || (i == current) != (pass == 1))
                continue;
            QStyleOptionTab option;
            InitTabOption(&option, i);
            // Styles draw a tab as the one row of a tab bar, at the top of their painter; a chosen
            // tab's raised edge must not cover the row above it.
            painter.save();
            painter.translate(0, option.rect.top());
            option.rect.moveTop(0);
            painter.setClipRect(option.rect);
            style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
            painter.restore();
        }
}

void TAdvTabRows::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void TAdvTabRows::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = TabAt(event->position().toPoint());
    if (index >= 0 && pages_->isTabEnabled(index))
        pages_->setCurrentIndex(index);
}

void TAdvTabRows::mouseMoveEvent(QMouseEvent* event)
{
    const int index = TabAt(event->position().toPoint());
    if (index != hovered_) {
        hovered_ = index;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void TAdvTabRows::leaveEvent(QEvent* event)
{
    hovered_ = -1;
    update();
    QWidget::leaveEvent(event);
}

void TAdvTabRows::Step(int direction)
{
    const int count = pages_->count();
    for (int i = pages_->currentIndex() + direction; i >= 0 && i < count; i += direction)
        if (pages_->isTabVisible(i) && pages_->isTabEnabled(i)) {
            pages_->setCurrentIndex(i);
            return;
        }
}

void TAdvTabRows::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        Step(-1);
        break;
    case Qt::Key_Right:
        Step(1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TAdvTabRows::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = TabAt(help->pos());
        const QString tip = index >= 0 ? pages_->tabToolTip(index) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, TabRect(index));
        return true;
    }
    return QWidget::event(event);
}
