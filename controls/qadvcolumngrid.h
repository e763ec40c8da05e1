#pragma once

#include "iqtorvahelp.h"

#include <QColor>
#include <QStringList>
#include <QTableWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QAbstractItemDelegate;

// The record of a WM_SEND_TO_DATABASE message as the grid's veto handles it: four 32-bit fields
// in the order of the toolkit's message record.
struct TQMMOVEVAL {
    std::int32_t Msg;
    std::int32_t WParam;
    std::int32_t LParam;
    std::int32_t Result;
};

// How a column edits its cells. The numbers are the editor kinds of the grid package the pages
// were designed with (GetComboItemIndex answers only for 2 and 3).
enum class GridEditor {
    Normal = 0,
    SpinEdit = 1,
    ComboEdit = 2,  // free text with a drop-down of choices
    ComboList = 3,  // one of the choices only
    None = 100,     // the column's cells are not edited
};

// What a column knows beyond its cells. Pages that need more (filters, file and export names)
// subclass the grid and keep their own per-column data beside this.
struct GridColumn {
    GridEditor Editor = GridEditor::Normal;
    QStringList ComboItems;
    int SpinMin = 0;
    int SpinMax = 100;
};

// The column grid the pages share: a table whose columns carry an editor kind and choices, which
//  - takes part in the send-to-database broadcast that precedes every write and save: on
//    WM_SEND_TO_DATABASE it asks BeforePost and answers 1 (stopping the broadcast, so the write
//    or save refuses) when the handler clears CanPost;
//  - reports an error or asks a warning in a way that brings it into view and marks it in its
//    alarm colour;
//  - answers a combo cell's choice index;
//  - announces F1 with its help context (there is no platform help to open).
// Cells are addressed column first, as the pages were written: Cells(col, row). Rows and
// columns are the table's own; the headers are not rows.
class QAdvColumnGrid : public QTableWidget, public IQTORVAHelp {
    Q_OBJECT
    Q_INTERFACES(IQTORVAHelp)
    Q_PROPERTY(QColor AlarmColor READ AlarmColor WRITE SetAlarmColor)
    Q_PROPERTY(int HelpContextTORVA READ HelpContextTORVA WRITE SetHelpContextTORVA)

public:
    // Sender, and CanPost: preset to true, cleared by a handler that vetoes the write.
    using BeforePostEvent = std::function<void(QAdvColumnGrid* sender, bool& canPost)>;

    explicit QAdvColumnGrid(QWidget* parent = nullptr);
    ~QAdvColumnGrid() override;

    // Unassigned at construction.
    BeforePostEvent BeforePost;

    // The colour the grid takes while it reports; a new grid starts with its own colour.
    QColor AlarmColor() const { return alarmColor_; }
    void SetAlarmColor(const QColor& colour) { alarmColor_ = colour; }
    // The grid's own colour (its cells' background).
    QColor Color() const;
    void SetColor(const QColor& colour);

    int HelpContextTORVA() const { return helpContext_; }
    void SetHelpContextTORVA(int context) { helpContext_ = context; }
    int GetHelpContextTORVA() const override { return helpContext_; }

    // The column's settings; a column past the grid's count is made room for.
    GridColumn& Column(int col);
    const GridColumn* FindColumn(int col) const;

    // A cell's text, empty for a cell never set or outside the grid.
    QString Cells(int col, int row) const;
    // Grows the grid when the cell lies outside it.
    void SetCells(int col, int row, const QString& text);

    // Runs FireBeforePostEvent; a veto sets message.Result to 1 and leaves it alone otherwise.
    bool DoBeforePost(TQMMOVEVAL& message);
    void FireBeforePostEvent(bool& canPost);

    // Beeps, turns to the alarm colour, brings the grid into view and shows the text in the
    // window's status bars (or an error box when it has none); then takes the focus, explaining
    // in a further box when the grid cannot (disabled or hidden).
    void ReportError(const QString& text);
    // Beeps, turns to the alarm colour, brings the grid into view and asks text + "Continue?";
    // Yes gives back the grid's colour. True on Yes.
    bool ReportWarning(const QString& text);

    // The position of the cell's text among the column's choices; -1 for a negative column or
    // row, a column that is no combo column, or a text not among the choices.
    int GetComboItemIndex(int col, int row) const;

    // Brings the grid into view; returns the window that holds it.
    QWidget* FindMe();

signals:
    // F1 on a grid with a help context: the context to show. The platform has no context help,
    // so nothing in the program listens; a window that offers help may.
    void HelpContextPopup(int context);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The editor of a cell; subclasses add kinds of their own by overriding it (null: the
    // table's own line edit).
    virtual QWidget* CreateCellEditor(QWidget* parent, int col, int row);
    // Loads the cell's text into an editor made by CreateCellEditor, and stores it back.
    virtual void SetEditorText(QWidget* editor, const QString& text);
    virtual QString EditorText(QWidget* editor) const;

private:
    class Delegate;
    friend class Delegate;

    void TurnToAlarmColor();
    void ShowInStatusBars(QWidget* form, const QString& text, bool& found);

    std::vector<GridColumn> columns_;
    QColor alarmColor_;
    QColor savedColor_;
    int helpContext_ = 0;
};
