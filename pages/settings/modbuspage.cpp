#include "modbuspage.h"

#include "activeobjectengine.h"
#include "database.h"
#include "databasepoint.h"
#include "dialogservice.h"
#include "maintenancecommands.h"
#include "modbuslist.h"
#include "newmodbusdlg.h"
#include "observercomponents.h"
#include "pagehost.h"
#include "pointtreeadapter.h"
#include "ridovaz.h"
#include "streamcount.h"
#include "ui_modbuspage.h"
#include "winmsg.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>

using modbuspage::GroupRef;

const PageDecl TfraModbus::kDecl = {
    .frameName = "fraModbus",
    .sheetName = "TabSheetMB",
    .caption = "Modbus ",
    .tab = 12,
    .level = 1,
    .scan = {.number = 7, .useAlternate = true, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Modbus",
};

namespace {

constexpr char kFilter[] = "Sentrel515 Modbus List (*.515mb *.515MB)";
constexpr int kColumns = 5;

GroupRef groupOf(const QTreeWidgetItem* node)
{
    return {node->data(0, TfraModbus::RootRole).toInt(), node->data(0, TfraModbus::SubRole).toInt()};
}

bool isEntry(const QTreeWidgetItem* node)
{
    return node && node->data(0, TfraModbus::EntryRole).toBool();
}

}  // namespace

TModbusTree::TModbusTree(QWidget* parent) : QTreeWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TModbusTree::startDrag(Qt::DropActions)
{
    if (!OnStartDrag || !OnStartDrag())
        return;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kMime, QByteArray());
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void TModbusTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(kMime))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TModbusTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (event->mimeData()->hasFormat(kMime) && OnDragOver && OnDragOver(node, event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TModbusTree::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (event->mimeData()->hasFormat(kMime) && OnDragDrop)
        OnDragDrop(node, event->source());
    // The page moved the data itself; the view must not move its items.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

TfraModbus::TfraModbus(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), engine_(services.engine), ui_(std::make_unique<Ui::TfraModbus>())
{
    ui_->setupUi(this);
    setObjectName(kDecl.frameName);
    streamcount::bindDisplay(ui_->lblStream2, streamcount::Words::SingleDual, Host());

    QTreeWidget* list = ui_->tlModbus;
    list->setColumnCount(kColumns);
    list->setHeaderLabels({"Modbus Items", "Register", "Type", "Permissions", "Value"});
    const int widths[kColumns] = {300, 80, 70, 80, 100};
    for (int c = 0; c < kColumns; ++c)
        list->setColumnWidth(c, widths[c]);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->installEventFilter(this);
    ui_->treeDB->setSelectionMode(QAbstractItemView::SingleSelection);
    ui_->Splitter1->setStretchFactor(0, 1);
    ui_->Splitter1->setStretchFactor(1, 2);

    ui_->treeDB->OnStartDrag = [this] { return treeDBStartDrag(); };
    ui_->treeDB->OnDragOver = [this](QTreeWidgetItem* node, QObject* source) { return treeDBDragOver(node, source); };
    ui_->treeDB->OnDragDrop = [this](QTreeWidgetItem* node, QObject* source) { treeDBDragDrop(node, source); };
    ui_->tlModbus->OnStartDrag = [this] { return tlModbusStartDrag(); };
    ui_->tlModbus->OnDragOver = [this](QTreeWidgetItem* node, QObject* source) {
        return tlModbusDragOver(node, source);
    };
    ui_->tlModbus->OnDragDrop = [this](QTreeWidgetItem* node, QObject* source) { tlModbusDragDrop(node, source); };

    popModbus_ = new QMenu(this);
    popModbus_->setObjectName("popModbus");
    auto addItem = [this](const char* name, const char* text, void (TfraModbus::*slot)()) {
        QAction* action = popModbus_->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addItem("mnuEditSelected", "Load Modbus List from Analyzer", &TfraModbus::btnLoadModbusClick);
    mnuDeleteSelected_ = addItem("mnuDeleteSelected", "Delete Selected Item", &TfraModbus::mnuDeleteSelectedClick);
    popModbus_->addSeparator();
    addItem("mnuPrint", "Print...", &TfraModbus::mnuPrintClick);
    popModbus_->addSeparator();
    addItem("mnuLoadModbusList", "Load a Modbus List from a File", &TfraModbus::mnuLoadModbusListClick);
    addItem("mnuSaveModbusList", "Save This Modbus List to a File", &TfraModbus::mnuSaveModbusListClick);
    for (QWidget* owner :
         std::initializer_list<QWidget*>{ui_->tlModbus, ui_->lblMode, ui_->lblMBModeText, ui_->ledAddress}) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this, [this, owner](const QPoint& at) {
            if (owner == ui_->tlModbus) {
                // The pop-up acts on the node under the mouse.
                if (QTreeWidgetItem* node = ui_->tlModbus->itemAt(at))
                    ui_->tlModbus->setCurrentItem(node);
                popModbus_->popup(ui_->tlModbus->viewport()->mapToGlobal(at));
            } else {
                popModbus_->popup(owner->mapToGlobal(at));
            }
        });
    }
    connect(ui_->NewModbusList, &QToolButton::clicked, this, &TfraModbus::NewModbusListClick);
    connect(ui_->btnLoadModbus, &QToolButton::clicked, this, &TfraModbus::btnLoadModbusClick);

    observer_ = new QModbusObserver(this);
    observer_->setObjectName("MbObserver");
    observer_->OnMBChanged = [this](TMBGProfile profile, int index, std::string propertyId, int value) {
        OnMBChange(profile, index, propertyId, value);
    };
}

TfraModbus::~TfraModbus() = default;

QTreeWidget* TfraModbus::PointTree() const
{
    return ui_->treeDB;
}

QTreeWidget* TfraModbus::ModbusTree() const
{
    return ui_->tlModbus;
}

modbuspage::Controller TfraModbus::Controller() const
{
    return modbuspage::Controller(Database().GetModbusList());
}

void TfraModbus::RegisterPoints()
{
    if (FirstEntry())
        RebuildTrees();
    TPageFrame::RegisterPoints();
}

TPageFrame::ScanIds TfraModbus::ScanList() const
{
    ScanIds ids = BoundIds();
    // The mapped points follow the page's own, so the read shows their values in the rows.
    QTreeWidgetItemIterator it(ui_->tlModbus);
    for (; *it; ++it)
        if (isEntry(*it)) {
            const int id = (*it)->data(1, Qt::UserRole).toInt();
            if (std::find(ids.main.begin(), ids.main.end(), id) == ids.main.end())
                ids.main.push_back(id);
        }
    return ids;
}

bool TfraModbus::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case winmsg::WM_REGISTER_DATABASE:
        observer_->AttachTo(Database().GetModbusList());
        return TPageFrame::event(e);
    case winmsg::WM_UNREGISTER_DATABASE:
        ui_->tlModbus->clear();
        return TPageFrame::event(e);
    default:
        return TPageFrame::event(e);
    }
}

void TfraModbus::FollowReadOnly(bool readOnly)
{
    setEnabled(true);
    SetReadOnly(readOnly);
}

void TfraModbus::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    mnuDeleteSelected_->setEnabled(!readOnly);
    ui_->NewModbusList->setEnabled(!readOnly);
}

void TfraModbus::OnMBChange(TMBGProfile, int, const std::string&, int value)
{
    std::lock_guard<std::recursive_mutex> lock(rebuilding_);
    if (value == 0)
        RebuildTrees();
}

void TfraModbus::RebuildTrees()
{
    try {
        FillPointTree();
        RebuildList();
    } catch (const std::exception&) {
        // The views stay as far as they were built; the next load rebuilds them.
    }
}

void TfraModbus::FillPointTree()
{
    ui_->treeDB->clear();
    PointTreeAdapter(ui_->treeDB, PointTreeAdapter::kModbusMode, PointTreeAdapter::kRootCaption).Fill();
    ui_->treeDB->expandToDepth(0);
}

void TfraModbus::RebuildList()
{
    QTreeWidget* list = ui_->tlModbus;
    const modbuspage::Controller controller = Controller();
    const int mode = controller.Mode();
    list->setUpdatesEnabled(false);
    list->clear();
    if (modbuspage::RootCount(mode) > 0)
        ui_->lblMBModeText->setText(modbuspage::ModeName(mode));
    QTreeWidgetItem* root = nullptr;
    QFont bold = list->font();
    bold.setBold(true);
    for (const GroupRef group : controller.Groups()) {
        auto* node = group.sub < 0 ? new QTreeWidgetItem(list) : new QTreeWidgetItem(root);
        if (group.sub < 0)
            root = node;
        node->setData(0, RootRole, group.root);
        node->setData(0, SubRole, group.sub);
        node->setText(0, controller.Caption(group));
        node->setFont(0, bold);
        if (group.sub < 0 && modbuspage::SubgroupCount(mode, group.root) > 0)
            continue;
        for (int position = 0; position < controller.Count(group); ++position)
            AddListEntry(node, group, position);
    }
    list->expandAll();
    list->setUpdatesEnabled(true);
}

void TfraModbus::AddListEntry(QTreeWidgetItem* groupNode, GroupRef group, int position)
{
    const modbuspage::Controller controller = Controller();
    DatabasePoint* point = controller.PointAt(group, position);
    if (!point)
        return;
    Database().expressScan.AddPoint(point->GetId());
    auto* row = new QTreeWidgetItem(groupNode);
    row->setData(0, EntryRole, true);
    row->setData(0, ClassRole, static_cast<int>(*modbuspage::ClassOf(controller.Mode(), group)));
    row->setData(0, OffsetRole, controller.OffsetAt(group, position));
    row->setData(1, Qt::UserRole, static_cast<int>(point->GetId()));
    row->setText(0, QString::fromStdString(point->GetName()));
    row->setText(1, QString::number(controller.RegisterNumber(group, position)));
    row->setText(2, QString::fromStdString(point->GetTypeName()));
    row->setText(3, point->IsWritable() ? "Writable" : "Read Only");
    row->setText(4, Host().LoggedOn() ? QString::fromStdString(point->ToString()) : QStringLiteral("0"));
    QFont bold = row->font(0);
    bold.setBold(true);
    row->setFont(0, bold);
    row->setFont(1, bold);
    row->setTextAlignment(1, Qt::AlignCenter);
    row->setTextAlignment(2, Qt::AlignCenter);
    row->setTextAlignment(3, Qt::AlignCenter);
}

QTreeWidgetItem* TfraModbus::GroupNode(GroupRef group) const
{
    QTreeWidget* list = ui_->tlModbus;
    if (group.root < 0 || group.root >= list->topLevelItemCount())
        return nullptr;
    QTreeWidgetItem* root = list->topLevelItem(group.root);
    if (group.sub < 0)
        return root;
    QTreeWidgetItem* sub = group.sub < root->childCount() ? root->child(group.sub) : nullptr;
    return sub && !isEntry(sub) ? sub : nullptr;
}

bool TfraModbus::SelectedEntry(GroupRef& group, int& position) const
{
    QTreeWidgetItem* node = ui_->tlModbus->currentItem();
    if (!isEntry(node) || !node->parent())
        return false;
    group = groupOf(node->parent());
    position = node->parent()->indexOfChild(node);
    return true;
}

void TfraModbus::SelectRow(GroupRef group, int position)
{
    QTreeWidgetItem* node = GroupNode(group);
    if (node && position >= 0 && position < node->childCount())
        ui_->tlModbus->setCurrentItem(node->child(position));
}

bool TfraModbus::treeDBStartDrag()
{
    if (readOnly_)
        return false;
    QTreeWidgetItem* node = ui_->treeDB->currentItem();
    draggedPoint_ = node && node->childCount() == 0 ? node->data(0, PointTreeAdapter::DataRole).toInt() : -1;
    draggingEntry_ = false;
    return draggedPoint_ >= 0;
}

bool TfraModbus::tlModbusStartDrag()
{
    if (readOnly_)
        return false;
    draggingEntry_ = isEntry(ui_->tlModbus->currentItem());
    draggedPoint_ = -1;
    return draggingEntry_;
}

bool TfraModbus::tlModbusDragOver(QTreeWidgetItem* node, QObject* source)
{
    if (readOnly_)
        return false;
    if (draggingEntry_) {
        draggingEntry_ = false;
        return false;
    }
    if (draggedPoint_ < 0)
        return false;
    DatabasePoint* point = Database().GetPointByIndex(draggedPoint_);
    const QString typeName = point ? QString::fromStdString(point->GetTypeName()) : QString();
    if (!point || typeName == "text") {
        draggedPoint_ = -1;  // refused for the rest of the drag
        return false;
    }
    if (!qobject_cast<QTreeWidget*>(source) || !node)
        return false;
    modbuspage::NodeKind kind = modbuspage::NodeKind::Group;
    const QTreeWidgetItem* groupNode = node;
    if (isEntry(node)) {
        kind = modbuspage::NodeKind::Entry;
        groupNode = node->parent();
    } else if (node->parent()) {
        kind = modbuspage::NodeKind::Subgroup;
    }
    const bool hasEntries = groupNode->childCount() > 0 && isEntry(groupNode->child(0));
    return modbuspage::AcceptsDrop(Controller().Mode(), kind, groupOf(groupNode), hasEntries, typeName);
}

void TfraModbus::tlModbusDragDrop(QTreeWidgetItem* node, QObject* source)
{
    if (readOnly_)
        return;
    if (draggingEntry_ || !tlModbusDragOver(node, source)) {
        draggingEntry_ = false;
        draggedPoint_ = -1;
        return;
    }
    AddPoint(node);
    draggedPoint_ = -1;
    draggingEntry_ = false;
}

void TfraModbus::AddPoint(QTreeWidgetItem* node)
{
    const QTreeWidgetItem* groupNode = isEntry(node) ? node->parent() : node;
    const GroupRef target = groupOf(groupNode);
    DatabasePoint* point = Database().GetPointByIndex(draggedPoint_);
    if (!point)
        return;
    Database().expressScan.AddPoint(point->GetId());
    modbuspage::Controller controller = Controller();
    switch (controller.Drop(target, point)) {
    case modbuspage::DropResult::Full:
        DialogService::ask(QMessageBox::Information, "Attention",
                           "The Modbus List if full. The total amount should be less than 100 points.",
                           QMessageBox::Ok);
        return;
    case modbuspage::DropResult::Refused:
        return;
    case modbuspage::DropResult::Added:
        break;
    }
    RebuildList();
    SelectRow(target, controller.Count(target) - 1);
}

bool TfraModbus::treeDBDragOver(QTreeWidgetItem* node, QObject* source)
{
    return !readOnly_ && draggedPoint_ < 0 && draggingEntry_ && source == ui_->tlModbus && node;
}

void TfraModbus::treeDBDragDrop(QTreeWidgetItem* node, QObject* source)
{
    if (treeDBDragOver(node, source))
        RemoveSelected();
    draggedPoint_ = -1;
    draggingEntry_ = false;
}

void TfraModbus::RemoveSelected()
{
    GroupRef group;
    int position = 0;
    if (!SelectedEntry(group, position))
        return;
    if (Controller().Remove(group, position))
        RebuildList();
}

void TfraModbus::mnuDeleteSelectedClick()
{
    if (!readOnly_)
        RemoveSelected();
}

bool TfraModbus::tlModbusKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    GroupRef group;
    int position = 0;
    if (readOnly_ || !SelectedEntry(group, position))
        return false;
    if (key == Qt::Key_Delete && !(modifiers & Qt::AltModifier)) {
        RemoveSelected();
        return true;
    }
    if (!(modifiers & Qt::AltModifier))
        return false;
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return true;
    const std::optional<int> moved = Controller().Move(group, position, key == Qt::Key_Up);
    if (moved) {
        RebuildList();
        SelectRow(group, *moved);
    }
    return true;
}

bool TfraModbus::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == ui_->tlModbus && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (tlModbusKeyDown(key->key(), key->modifiers()))
            return true;
    }
    return TPageFrame::eventFilter(watched, e);
}

void TfraModbus::NewModbusListClick()
{
    if (readOnly_)
        return;
    if (!Host().ExecWindow("NewModbusDlg"))
        return;
    TNewModbusDlg* dialog = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<TNewModbusDlg*>(window); found && found->objectName() == "NewModbusDlg")
            dialog = found;
    if (!dialog || dialog->result() != TNewModbusDlg::Ok)
        return;
    auto* command = engine_.Find<NewModbusListCommand>("NewModbusList");
    if (!command)
        return;
    const int mode = dialog->ChosenMode();
    command->SetMode(static_cast<std::uint8_t>(mode));
    Host().Queue("NewModbusList", "");
    // The command may wait behind a running one; the page shows the new list at once.
    Controller().NewList(mode);
    RebuildList();
}

void TfraModbus::btnLoadModbusClick()
{
    Host().Queue("LoadModbusList", "");
}

void TfraModbus::SetStatus(const QString& text)
{
    Host().SetStatusText(text);
}

bool TfraModbus::ExecuteSaveDialog(QString& fileName)
{
    fileName = DialogService::saveFileNameWithExtension("Save This Modbus List to a File", {}, kFilter, "515mb");
    return !fileName.isEmpty();
}

void TfraModbus::mnuSaveModbusListClick()
{
    QString fileName;
    if (!ExecuteSaveDialog(fileName))
        return;
    SetStatus("Saving Modbus List to file");
    ModbusList& list = Database().GetModbusList();
    if (list.SaveToFile(fileName) != 0) {
        SetStatus("");
        DialogService::ask(QMessageBox::Critical, QApplication::applicationName(),
                           "Error saving file \"" + fileName + "\"\n" + list.GetLastError(), QMessageBox::Ok);
        return;
    }
    SetStatus("Modbus List successfully saved to file");
}

void TfraModbus::mnuLoadModbusListClick()
{
    const QString fileName = DialogService::instance()->openFileName("Load a Modbus List from a File", {}, kFilter);
    if (fileName.isEmpty())
        return;
    SetStatus("Reading Modbus list from file");
    ModbusList& list = Database().GetModbusList();
    if (list.LoadFromFile(fileName) != 0) {
        SetStatus("");
        DialogService::ask(QMessageBox::Critical, QApplication::applicationName(),
                           "Error opening file \"" + fileName + "\"\n" + list.GetLastError(), QMessageBox::Ok);
        return;
    }
    list.RebuildImage();
    RebuildList();
    SetStatus("Loaded Modbus list from file");
}

modbuspage::Listing TfraModbus::BuildListing() const
{
    modbuspage::Listing listing;
    if (auto* tabs = qobject_cast<QTabWidget*>(parentWidget() ? parentWidget()->parentWidget() : nullptr)) {
        const int index = tabs->indexOf(const_cast<TfraModbus*>(this));
        listing.tabCaption = index >= 0 ? tabs->tabText(index) : QString(kDecl.caption);
    } else {
        listing.tabCaption = kDecl.caption;
    }
    listing.modeText = ui_->lblMBModeText->text();
    listing.addressText = ui_->ledAddress->Text();
    QTreeWidgetItemIterator it(ui_->tlModbus);
    for (; *it; ++it) {
        const QTreeWidgetItem* node = *it;
        modbuspage::Listing::Line line{};
        if (isEntry(node)) {
            line.kind = modbuspage::Listing::Line::Entry;
            line.text = node->text(0);
            line.registerText = node->text(1);
            line.type = node->text(2);
            line.permission = node->text(3);
            line.value = node->text(4);
        } else {
            line.kind = node->parent() ? modbuspage::Listing::Line::Subgroup : modbuspage::Listing::Line::TopGroup;
            line.text = node->text(0);
        }
        listing.lines.push_back(line);
    }
    return listing;
}

void TfraModbus::mnuPrintClick()
{
    QPrinter* printer = printer_;
    if (!printer) {
        if (!ownPrinter_)
            ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter_.get();
    }
    QPrintDialog dialog(printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (DialogService::instance()->execDialog(dialog) != QDialog::Accepted)
        return;
    QString problem;
    if (!modbuspage::PrintListing(*printer, BuildListing(), &problem))
        DialogService::warn(problem);
}
