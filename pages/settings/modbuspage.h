#pragma once

#include "modbuscontroller.h"
#include "modbuslisting.h"
#include "pageframe.h"

#include <QTreeWidget>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QAction;
class QMenu;
class QPrinter;
class QModbusObserver;
class TQLabel;
class TQLabeledEdit;

namespace Ui {
class TfraModbus;
}

// The two trees of the Modbus page: they carry drags between each other and ask the page what
// to accept.
class TModbusTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TModbusTree(QWidget* parent = nullptr);

    std::function<bool()> OnStartDrag;  // false: no drag
    std::function<bool(QTreeWidgetItem* node, QObject* source)> OnDragOver;
    std::function<void(QTreeWidgetItem* node, QObject* source)> OnDragDrop;

    static constexpr char kMime[] = "application/x-kvt515-modbus";

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The Modbus tab: points dragged from the tree of mappable points into the register groups of
// the unit's Modbus map, the map's mode, the unit's slave address and byte orders, and the map
// kept in "*.515mb" files and printed as a register listing. The edits themselves are
// modbuspage::Controller's; the toolbar's write sends the map while this page is current.
class TfraModbus : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;

    // Node data of the list's rows and groups.
    static constexpr int EntryRole = Qt::UserRole;       // true on an entry row
    static constexpr int RootRole = Qt::UserRole + 1;    // a group's root index
    static constexpr int SubRole = Qt::UserRole + 2;     // a group's subgroup index, -1 for none
    static constexpr int ClassRole = Qt::UserRole + 3;   // an entry row's register class
    static constexpr int OffsetRole = Qt::UserRole + 4;  // an entry row's register offset

    explicit TfraModbus(const PageServices& services, QWidget* parent = nullptr);
    ~TfraModbus() override;

    // The page stays enabled in both modes; read-only mode only locks its edits (SetReadOnly).
    void FollowReadOnly(bool readOnly) override;

    void RegisterPoints() override;
    ScanIds ScanList() const override;
    bool IsReadOnly() const { return readOnly_; }

    QTreeWidget* PointTree() const;
    QTreeWidget* ModbusTree() const;
    QMenu* PopupMenu() const { return popModbus_; }
    // The group node of the list view; null when the mode has none there.
    QTreeWidgetItem* GroupNode(modbuspage::GroupRef group) const;

    void RebuildTrees();
    void FillPointTree();
    void RebuildList();

    // The drag roads, as the trees' events take them.
    bool treeDBStartDrag();
    bool tlModbusStartDrag();
    bool tlModbusDragOver(QTreeWidgetItem* node, QObject* source);
    void tlModbusDragDrop(QTreeWidgetItem* node, QObject* source);
    bool treeDBDragOver(QTreeWidgetItem* node, QObject* source);
    void treeDBDragDrop(QTreeWidgetItem* node, QObject* source);
    // Delete, Alt+Up, Alt+Down in the list; true when the key was taken.
    bool tlModbusKeyDown(int key, Qt::KeyboardModifiers modifiers);

    void mnuDeleteSelectedClick();
    void NewModbusListClick();
    void btnLoadModbusClick();
    void mnuSaveModbusListClick();
    void mnuLoadModbusListClick();
    void mnuPrintClick();

    // The printer "Print..." uses; null restores the page's own. Not owned.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }
    // The listing "Print..." prints, from the list view.
    modbuspage::Listing BuildListing() const;

public slots:
    void SetReadOnly(bool readOnly);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    modbuspage::Controller Controller() const;
    void OnMBChange(TMBGProfile profile, int index, const std::string& propertyId, int value);
    void AddListEntry(QTreeWidgetItem* groupNode, modbuspage::GroupRef group, int position);
    void AddPoint(QTreeWidgetItem* node);
    void RemoveSelected();
    void SelectRow(modbuspage::GroupRef group, int position);
    // The entry row selected, with its group and position; false when none is.
    bool SelectedEntry(modbuspage::GroupRef& group, int& position) const;
    bool ExecuteSaveDialog(QString& fileName);
    void SetStatus(const QString& text);

    // The engine whose "NewModbusList" command takes the chosen mode.
    MyActiveObjectEngine& engine_;
    std::unique_ptr<Ui::TfraModbus> ui_;
    QMenu* popModbus_ = nullptr;
    QAction* mnuDeleteSelected_ = nullptr;
    QModbusObserver* observer_ = nullptr;
    bool readOnly_ = false;
    int draggedPoint_ = -1;
    bool draggingEntry_ = false;
    std::recursive_mutex rebuilding_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPrinter> ownPrinter_;
};
