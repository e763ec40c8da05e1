#pragma once

#include <QPointer>
#include <QTabWidget>
#include <QVector>

class QStyleOptionTab;
class TAdvTabRows;

// A page control whose tabs stand in as many rows as they need, so that every tab is in view
// whatever the window's width (Qt's tab bar has one row and scrolls). It is a QTabWidget for
// everyone who switches pages; its own one-row bar stays hidden and the rows are drawn by
// TabRows(), a separate widget that the owner places under the pages (tab position South) or
// above them (North).
//
// Tab visibility, enabling and captions must be changed through this class (not through a
// QTabWidget pointer), so that the rows follow.
class TAdvPageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TAdvPageControl(QWidget* parent = nullptr);
    ~TAdvPageControl() override;

    TAdvTabRows* TabRows() const { return rows_; }

    void setTabVisible(int index, bool visible);
    void setTabEnabled(int index, bool enabled);
    void setTabText(int index, const QString& text);

    // The pages' own sizes and the pane's frame: QTabWidget also counts room for its tab bar.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void changeEvent(QEvent* event) override;

private:
    QSize PaneFrame() const;

    QPointer<TAdvTabRows> rows_;
};

// The tabs of a TAdvPageControl in rows, the first tab at the top left; each row is spread over
// the whole width. Rows keep their places whichever tab is chosen. A click or the arrow keys
// choose a tab.
class TAdvTabRows : public QWidget {
    Q_OBJECT
public:
    explicit TAdvTabRows(TAdvPageControl* pages);

    TAdvPageControl* Pages() const { return pages_; }
    int RowCount() const { return rowCount_; }
    // The tab's place in this widget; empty for a hidden tab.
    QRect TabRect(int index) const;
    int TabAt(const QPoint& pos) const;
    // Lays the tabs out again (after a tab was added, removed, hidden or renamed).
    void Relayout();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Layout {
        QVector<QRect> rects;  // per tab; empty when hidden
        int rows = 0;
        int height = 0;
    };
    Layout LayoutFor(int width) const;
    QSize TabSize(int index) const;
    void InitTabOption(QStyleOptionTab* option, int index) const;
    void Step(int direction);

    TAdvPageControl* pages_;
    QVector<QRect> rects_;
    int rowCount_ = 0;
    int hovered_ = -1;
};
