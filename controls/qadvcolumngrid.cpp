#include "qadvcolumngrid.h"

#include "componentcommon.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "statuspanels.h"
#include "winmsg.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <stdexcept>

namespace {
// Marks the editors the grid made itself, as against the table's own line edit.
constexpr char kOwnEditor[] = "kvt.gridEditor";
}  // namespace

class QAdvColumnGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(QAdvColumnGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const GridColumn* column = grid_->FindColumn(index.column());
        if (column && column->Editor == GridEditor::None)
            return nullptr;
        if (QWidget* editor = grid_->CreateCellEditor(parent, index.column(), index.row())) {
            editor->setProperty(kOwnEditor, true);
            return editor;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor->property(kOwnEditor).toBool())
            grid_->SetEditorText(editor, index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (editor->property(kOwnEditor).toBool())
            model->setData(index, grid_->EditorText(editor), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    QAdvColumnGrid* grid_;
};

QAdvColumnGrid::QAdvColumnGrid(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new Delegate(this));
    alarmColor_ = savedColor_ = Color();
    // The column settings follow the table's columns wherever they are inserted or removed.
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex&, int first, int last) {
        const auto at =
            columns_.begin() + std::min<std::ptrdiff_t>(first, static_cast<std::ptrdiff_t>(columns_.size()));
        columns_.insert(at, static_cast<std::size_t>(last - first + 1), GridColumn{});
    });
    connect(model(), &QAbstractItemModel::columnsRemoved, this, [this](const QModelIndex&, int first, int last) {
        const auto size = static_cast<int>(columns_.size());
        if (first >= size)
            return;
        columns_.erase(columns_.begin() + first, columns_.begin() + std::min(last + 1, size));
    });
}

QAdvColumnGrid::~QAdvColumnGrid() = default;

QColor QAdvColumnGrid::Color() const
{
    return palette().color(QPalette::Base);
}

void QAdvColumnGrid::SetColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

GridColumn& QAdvColumnGrid::Column(int col)
{
    if (col < 0)
        throw std::out_of_range("QAdvColumnGrid::Column: negative column");
    if (col >= columnCount())
        setColumnCount(col + 1);
    return columns_[static_cast<std::size_t>(col)];
}

const GridColumn* QAdvColumnGrid::FindColumn(int col) const
{
    if (col < 0 || col >= static_cast<int>(columns_.size()))
        return nullptr;
    return &columns_[static_cast<std::size_t>(col)];
}

QString QAdvColumnGrid::Cells(int col, int row) const
{
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void QAdvColumnGrid::SetCells(int col, int row, const QString& text)
{
    if (col < 0 || row < 0)
        return;
    if (col >= columnCount())
        setColumnCount(col + 1);
    if (row >= rowCount())
        setRowCount(row + 1);
    if (QTableWidgetItem* cell = item(row, col))
        cell->setText(text);
    else
        setItem(row, col, new QTableWidgetItem(text));
}

bool QAdvColumnGrid::DoBeforePost(TQMMOVEVAL& message)
{
    bool canPost = true;
    FireBeforePostEvent(canPost);
    if (!canPost)
        message.Result = 1;
    return canPost;
}

void QAdvColumnGrid::FireBeforePostEvent(bool& canPost)
{
    canPost = true;
    if (BeforePost)
        BeforePost(this, canPost);
}

bool QAdvColumnGrid::event(QEvent* event)
{
    if (static_cast<int>(event->type()) != winmsg::WM_SEND_TO_DATABASE)
        return QTableWidget::event(event);
    auto* message = static_cast<WinMessageEvent*>(event);
    TQMMOVEVAL record{static_cast<std::int32_t>(message->message()), static_cast<std::int32_t>(message->wParam),
                      static_cast<std::int32_t>(message->lParam), static_cast<std::int32_t>(message->result)};
    // Nothing may leave an event handler; a handler that fails refuses the write.
    try {
        DoBeforePost(record);
    } catch (const std::exception& e) {
        DialogService::showMessage(QString::fromLocal8Bit(e.what()));
        record.Result = 1;
    }
    message->result = record.Result;
    return true;
}

void QAdvColumnGrid::TurnToAlarmColor()
{
    // A second report keeps the colour saved by the first.
    if (Color() != alarmColor_) {
        savedColor_ = Color();
        SetColor(alarmColor_);
    }
}

void QAdvColumnGrid::ShowInStatusBars(QWidget* form, const QString& text, bool& found)
{
    for (QObject* child : form->children()) {
        auto* bar = qobject_cast<QStatusBar*>(child);
        if (!bar)
            continue;
        if (statuspanels::panels(bar).isEmpty())
            bar->showMessage(text);
        else
            statuspanels::setPanelText(bar, 0, text);
        bar->repaint();
        found = true;
    }
}

void QAdvColumnGrid::ReportError(const QString& text)
{
    QApplication::beep();
    TurnToAlarmColor();
    QWidget* form = BringControlToFront(this);
    bool statusBarFound = false;
    if (form)
        ShowInStatusBars(form, text, statusBarFound);
    if (!statusBarFound)
        DialogService::ask(QMessageBox::Critical, "Error", text, QMessageBox::Ok);

    if (isEnabled() && isVisible()) {
        setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString note =
        QStringLiteral("* Note:  Error applies to an item that is currently disabled.\n\nItem name:  ") + objectName() +
        QStringLiteral("\nItem type:  ") + QString::fromLatin1(metaObject()->className());
    DialogService::ask(QMessageBox::Critical, "Error", statusBarFound ? text + "\n\n" + note : note, QMessageBox::Ok);
}

bool QAdvColumnGrid::ReportWarning(const QString& text)
{
    QApplication::beep();
    TurnToAlarmColor();
    BringControlToFront(this);
    const bool yes = DialogService::ask(QMessageBox::Warning, "Warning", text + "\n\nContinue?",
                                        QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    if (yes)
        SetColor(savedColor_);
    setFocus(Qt::OtherFocusReason);
    return yes;
}

int QAdvColumnGrid::GetComboItemIndex(int col, int row) const
{
    if (col < 0 || row < 0)
        return -1;
    const GridColumn* column = FindColumn(col);
    if (!column || (column->Editor != GridEditor::ComboEdit && column->Editor != GridEditor::ComboList))
        return -1;
    return static_cast<int>(column->ComboItems.indexOf(Cells(col, row)));
}

QWidget* QAdvColumnGrid::FindMe()
{
    return BringControlToFront(this);
}

void QAdvColumnGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && helpContext_ != 0)
        emit HelpContextPopup(helpContext_);
    QTableWidget::keyPressEvent(event);
}

QWidget* QAdvColumnGrid::CreateCellEditor(QWidget* parent, int col, int /*row*/)
{
    const GridColumn* column = FindColumn(col);
    if (!column)
        return nullptr;
    switch (column->Editor) {
    case GridEditor::SpinEdit: {
        auto* spin = new QSpinBox(parent);
        spin->setRange(column->SpinMin, column->SpinMax);
        return spin;
    }
    case GridEditor::ComboEdit:
    case GridEditor::ComboList: {
        auto* combo = new QComboBox(parent);
        combo->addItems(column->ComboItems);
        combo->setEditable(column->Editor == GridEditor::ComboEdit);
        return combo;
    }
    default:
        return nullptr;
    }
}

void QAdvColumnGrid::SetEditorText(QWidget* editor, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->setValue(numtext::tryStrToInt(text).value_or(0));
    }
}

QString QAdvColumnGrid::EditorText(QWidget* editor) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        return combo->currentText();
    if (auto* spin = qobject_cast<QSpinBox*>(editor))
        return QString::number(spin->value());
    return {};
}
