#include "pagewalk.h"

#include "advpagecontrol.h"
#include "archiveviewer.h"
#include "auditpage.h"
#include "database.h"
#include "databasepoint.h"
#include "factorypage.h"
#include "qcform.h"
#include "shellwindows.h"

#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace pagewalk {
namespace {

// The nearest name a technician's tool would find the widget by.
QString nameOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            return name;
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

QString tooWide(const QString& where, const QWidget* widget, const QString& text, int needed, int room)
{
    return QStringLiteral("%1: %2 shows \"%3\" in %4 px, which needs %5 px")
        .arg(where, nameOf(widget), text)
        .arg(room)
        .arg(needed);
}

// What QLineEdit draws its text into: the style's contents rectangle less the text margins and
// the two-pixel margin QLineEdit keeps on either side.
int lineEditRoom(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    return contents.marginsRemoved(edit->textMargins()).width() - 2 * 2;
}

void checkLineEdit(const QLineEdit* edit, const QString& where, QStringList& out)
{
    const QString text = edit->displayText();
    if (text.isEmpty())
        return;
    // QLineEdit scrolls once the text and one pixel for the cursor pass its room.
    const int needed = edit->fontMetrics().horizontalAdvance(text) + 1;
    const int room = lineEditRoom(edit);
    if (needed > room)
        out << tooWide(where, edit, text, needed, room);
}

// A choice shows its chosen item in its field: every item it offers must fit there.
void checkComboText(const QComboBox* combo, const QString& where, QStringList& out)
{
    if (combo->isEditable())
        return;  // its line edit is checked as one
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    option.frame = combo->hasFrame();
    option.subControls = QStyle::SC_All;
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        int room = field.width() - 2;  // the style draws the label one pixel in from either side
        if (!combo->itemIcon(i).isNull())
            room -= combo->iconSize().width() + 4;
        const int needed = combo->fontMetrics().horizontalAdvance(text);
        if (needed > room) {
            out << tooWide(where, combo, text, needed, room);
            return;
        }
    }
}

// A choice that shows nothing although there is something to show.
void checkChoice(const QComboBox* combo, const QString& where, QStringList& out)
{
    if (combo->currentIndex() >= 0)
        return;
    bool bound = false;
    const int id = combo->property("DbId").toInt(&bound);
    if (bound && id >= 0 && combo->property("UseDatabase").toBool()) {
        const DatabasePoint* point = DataBase::Instance()->GetPointById(id);
        if (point && point->IsFresh())
            out << QStringLiteral("%1: %2 shows no item while the unit holds \"%3\" for point %4")
                       .arg(where, nameOf(combo), QString::fromStdString(point->ToString()))
                       .arg(id);
        return;
    }
    // A choice the page fills; an editable one is the technician's to type into.
    if (combo->count() > 0 && combo->isEnabled() && !combo->isEditable())
        out << QStringLiteral("%1: %2 shows none of its %3 items").arg(where, nameOf(combo)).arg(combo->count());
}

// The visible cells of a grid, each against the room its text has.
void checkGrid(const QTableView* view, const QString& where, QStringList& out)
{
    const QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0 || model->columnCount() == 0)
        return;
    const QRect viewport = view->viewport()->rect();
    int firstRow = view->rowAt(0), lastRow = view->rowAt(viewport.height() - 1);
    int firstColumn = view->columnAt(0), lastColumn = view->columnAt(viewport.width() - 1);
    if (firstRow < 0 || firstColumn < 0)
        return;
    if (lastRow < 0)
        lastRow = model->rowCount() - 1;
    if (lastColumn < 0)
        lastColumn = model->columnCount() - 1;
    const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (view->isRowHidden(row))
            continue;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (view->isColumnHidden(column))
                continue;
            const QModelIndex index = model->index(row, column);
            const QString text = index.data(Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.rect = view->visualRect(index);
            option.font = index.data(Qt::FontRole).isValid() ? index.data(Qt::FontRole).value<QFont>() : view->font();
            option.fontMetrics = QFontMetrics(option.font);
            option.features = QStyleOptionViewItem::HasDisplay;
            option.text = text;
            if (index.data(Qt::CheckStateRole).isValid())
                option.features |= QStyleOptionViewItem::HasCheckIndicator;
            if (!index.data(Qt::DecorationRole).isNull()) {
                option.features |= QStyleOptionViewItem::HasDecoration;
                option.decorationSize = view->iconSize();
            }
            const QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
            const int room = textRect.width() - 2 * textMargin;
            const QFontMetrics metrics(option.font);
            bool fits = true;
            int needed = 0;
            for (const QString& line : text.split(QLatin1Char('\n')))
                needed = std::max(needed, metrics.horizontalAdvance(line));
            if (view->wordWrap() && text.contains(QLatin1Char(' '))) {
                const QRect wrapped =
                    metrics.boundingRect(QRect(0, 0, room, 100000), Qt::TextWordWrap | Qt::AlignLeft, text);
                fits = wrapped.width() <= room && wrapped.height() <= textRect.height();
            } else {
                fits = needed <= room;
            }
            if (!fits)
                out << QStringLiteral("%1: %2 row %3 column %4 shows \"%5\" in %6 px, which needs %7 px")
                           .arg(where, nameOf(view))
                           .arg(row)
                           .arg(column)
                           .arg(text)
                           .arg(room)
                           .arg(needed);
        }
    }
}

// True when the rectangle (in the widget's coordinates) is shown whole: not cut by any of the
// widget's ancestors up to its window. A scroll area's viewport may hide it on purpose.
bool shownWhole(const QWidget* widget, const QRect& rect)
{
    QRect visible = rect;
    for (const QWidget* w = widget; !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        if (auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
            area && area->viewport() == parent)
            return true;
        visible = visible.intersected(parent->rect().translated(-widget->mapTo(parent, QPoint(0, 0))));
    }
    return visible == rect;
}

void checkTabBar(const QTabBar* bar, const QString& where, QStringList& out)
{
    QList<QRect> covers;
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>())
        if (arrow->isVisible())
            covers << arrow->geometry();
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        const QRect tab = bar->tabRect(i);
        bool covered = !bar->rect().contains(tab) || !shownWhole(bar, tab);
        for (const QRect& cover : covers)
            covered = covered || cover.intersects(tab);
        if (covered)
            out << QStringLiteral("%1: tab \"%2\" of %3 lies outside its tab bar")
                       .arg(where, bar->tabText(i).trimmed(), nameOf(bar));
    }
}

void checkTabRows(const TAdvTabRows* rows, const QString& where, QStringList& out)
{
    const TAdvPageControl* pages = rows->Pages();
    for (int i = 0; i < pages->count(); ++i) {
        if (!pages->isTabVisible(i))
            continue;
        const QRect tab = rows->TabRect(i);
        if (tab.isEmpty() || !rows->rect().contains(tab) || !shownWhole(rows, tab))
            out << QStringLiteral("%1: tab \"%2\" of %3 lies outside its tab bar")
                       .arg(where, pages->tabText(i).trimmed(), pages->objectName());
    }
}

}  // namespace

QStringList Inspect(QWidget* root, const QString& where)
{
    QStringList out;
    if (!root->isVisible())
        return out;
    for (const QLineEdit* edit : root->findChildren<QLineEdit*>())
        if (edit->isVisible()) {
            checkLineEdit(edit, where, out);
            if (!shownWhole(edit, edit->rect()))
                out << QStringLiteral("%1: %2 is cut off by its frame").arg(where, nameOf(edit));
        }
    for (const QComboBox* combo : root->findChildren<QComboBox*>())
        if (combo->isVisible()) {
            checkComboText(combo, where, out);
            checkChoice(combo, where, out);
            if (!shownWhole(combo, combo->rect()))
                out << QStringLiteral("%1: %2 is cut off by its frame").arg(where, nameOf(combo));
        }
    for (const QTableView* view : root->findChildren<QTableView*>())
        if (view->isVisible())
            checkGrid(view, where, out);
    // A page may scroll down (the input pages are taller than a tab), never sideways.
    for (const QScrollArea* area : root->findChildren<QScrollArea*>())
        if (area->isVisible() && area->horizontalScrollBar()->isVisible())
            out << QStringLiteral("%1: %2 must be scrolled sideways to be read").arg(where, nameOf(area));
    for (const QTabBar* bar : root->findChildren<QTabBar*>())
        if (bar->isVisible())
            checkTabBar(bar, where, out);
    QList<TAdvTabRows*> rows = root->findChildren<TAdvTabRows*>();
    if (auto* self = qobject_cast<TAdvTabRows*>(root))
        rows << self;
    for (const TAdvTabRows* row : rows)
        if (row->isVisible())
            checkTabRows(row, where, out);
    return out;
}

}  // namespace pagewalk

// ------------------------------------------------------------------------------------------------

void PageWalk::Settle()
{
    waitFor([&] { return !engine()->IsRunning() && engine()->GetQueueCount() == 0; });
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void PageWalk::Grab(QWidget* window, const QString& file) const
{
    const QString folder = qEnvironmentVariable("KVT_GRAB_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QString safe = file;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("-"));
    window->grab().save(QDir(folder).filePath(safe + QStringLiteral(".png")));
}

QStringList PageWalk::Walk(const QString& scenarioFile, const QString& name)
{
    QString error;
    if (!unit->loadScenario(scenarioFile, &error)) {
        ADD_FAILURE() << error.toStdString();
        return {};
    }
    return Walk(QJsonObject(), name);
}

QStringList PageWalk::Walk(const QJsonObject& scenario, const QString& name)
{
    QString error;
    if (!scenario.isEmpty() && !unit->applyScenario(scenario, {}, &error)) {
        ADD_FAILURE() << error.toStdString();
        return {};
    }
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        ADD_FAILURE() << "the main window was never shown";
    EXPECT_EQ(form->size(), QSize(1020, 735)) << "the walk is at the main window's default size";
    EXPECT_EQ(form->Frame(0)->size(), testenv::kTabSize) << "the pages tested alone are tested at this size";

    logOn();
    if (form->GetBool("LoggingOn"))
        return {QStringLiteral("the logon failed: ") + shownTexts().join(QStringLiteral(" | "))};
    Settle();

    QStringList findings;
    TAdvPageControl* pages = form->PageControlMain();
    for (int tab = 0; tab < pages->count(); ++tab)
        if (pages->isTabVisible(tab))
            findings += WalkTab(tab, name);
    findings += WalkQcForm(name);
    findings.removeDuplicates();
    return findings;
}

QStringList PageWalk::WalkTab(int tab, const QString& name)
{
    TAdvPageControl* pages = form->PageControlMain();
    if (tab == TfraFactory::kDecl.tab)
        modals.answers = {ScriptedModals::password(TFormMain::kFactoryCode)};
    enterTab(tab);
    Settle();
    // The logs are read as a technician reads them: the grids show what a download brings.
    const char* read = tab == TfraArchiveViewer::kDecl.tab ? "btnReadFromUnit"
                       : tab == TfrmAudit::kDecl.tab       ? "btnReadAudit"
                                                           : nullptr;
    if (read)
        if (auto* button = form->Frame(tab)->findChild<QToolButton*>(read)) {
            button->click();
            Settle();
        }
    const QString where = pages->tabText(tab).trimmed();
    const QString grab = QStringLiteral("%1-%2-%3").arg(name).arg(tab, 2, 10, QLatin1Char('0')).arg(where);
    QStringList findings = pagewalk::Inspect(form.get(), where);
    Grab(form.get(), grab);
    findings += WalkInnerTabs(form->Frame(tab), where, grab);
    return findings;
}

QStringList PageWalk::WalkInnerTabs(QWidget* root, const QString& where, const QString& grab)
{
    QStringList findings;
    for (QTabWidget* tabs : root->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible())
            continue;
        // The outermost tab widgets only; the walk goes down into the others itself.
        bool nested = false;
        for (QWidget* p = tabs->parentWidget(); p && p != root; p = p->parentWidget())
            nested = nested || qobject_cast<QTabWidget*>(p);
        if (nested)
            continue;
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i) || !tabs->isTabEnabled(i))
                continue;
            tabs->setCurrentIndex(i);
            Settle();
            const QString here = where + QStringLiteral(" > ") + tabs->tabText(i).trimmed();
            if (i != shown) {
                findings += pagewalk::Inspect(tabs->widget(i), here);
                Grab(root->window(), grab + QStringLiteral("-") + tabs->tabText(i).trimmed());
            }
            findings += WalkInnerTabs(tabs->widget(i), here, grab + QStringLiteral("-") + tabs->tabText(i).trimmed());
        }
        tabs->setCurrentIndex(shown);
        Settle();
    }
    return findings;
}

QStringList PageWalk::WalkQcForm(const QString& name)
{
    auto* qc = qobject_cast<TQCForm*>(shellwindows::Window("QCForm"));
    if (!qc)
        return {QStringLiteral("QC form: there is no QC form")};
    form->ShowWindow("QCForm");
    qc->resize(977, 726);
    if (!QTest::qWaitForWindowExposed(qc))
        ADD_FAILURE() << "the QC form was never shown";
    qc->FormActivate();
    Settle();
    const QString where = QStringLiteral("QC form");
    QStringList findings = pagewalk::Inspect(qc, where);
    Grab(qc, name + QStringLiteral("-qcform"));
    // The whole form, as far as it scrolls.
    if (QWidget* content = qc->findChild<QWidget*>(QStringLiteral("QCContent")))
        Grab(content, name + QStringLiteral("-qcform-whole"));
    findings += WalkInnerTabs(qc, where, name + QStringLiteral("-qcform"));
    qc->hide();
    return findings;
}
