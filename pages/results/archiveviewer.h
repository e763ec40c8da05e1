#pragma once

#include "pageframe.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TfraArchiveViewer;
}
class ArchiveGridModel;
class DataBase;
class LogDBMgr;
class TArchiveChart;
class LogGridView;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

// The Archive page: the records of one archive log at a time, read from the unit ("Read Archive
// from Analyzer", which then offers to save them as an XML archive file) or from such a file.
// The grid is a view over the log database (archivegridmodel.h); whoever changes the database
// while the page shows it goes through this page, which detaches the grid first.
class TfraArchiveViewer : public TPageFrame {
    Q_OBJECT
public:
    static const PageDecl kDecl;
    static constexpr int kMaxDisplayRange = 500000;
    static constexpr const char* kIncompleteSaveQuestion =
        "The archive was not read completely: save the records read?";

    explicit TfraArchiveViewer(const PageServices& services, QWidget* parent = nullptr);
    ~TfraArchiveViewer() override;

    // The page stays enabled in both modes; read-only mode only locks the log setup (SetReadOnly).
    void FollowReadOnly(bool readOnly) override;

    void FillArchiveList();
    void SetHeadersFromLogTable(int archive);
    void SetHeadersFromFile(int archive);
    // Shows the last N ("Display the last") records of the archive.
    void FillGrid(int archive);
    // False (and the reason shown) when the file could not be written.
    bool WriteXmlArchive(const QString& fileName);

    void LoadGridFile();
    void SaveGridFile();
    bool AskGridFileName();
    void WriteGridFile();

    bool IsReadOnly() const { return readOnly_; }
    bool FromFile() const { return fromFile_; }
    const QString& ArchiveFileName() const { return archiveFileName_; }
    int ChosenArchive() const { return chosenArchive_; }
    ArchiveGridModel* GridModel() const { return model_; }
    LogGridView* Grid() const;
    QMenu* PopupMenu() const { return popArchGrid_; }
    TArchiveChart* Chart() const { return chart_; }

    // The two CSV exports of the log database, provided by the CSV export module: the page's
    // databases and the chosen file name in, false and the reason out on failure. Unset, the menu
    // items save nothing.
    using CsvExport = std::function<bool(DataBase& database, LogDBMgr& logs, const QString& fileName, QString* error)>;
    static void SetCsvExports(CsvExport legal, CsvExport packet);

public slots:
    void UpdateLogView();
    void SaveLogFile();
    // After a download that ended early: the save dialog only when the user chooses to keep the
    // records read, so a partial archive is never saved as if it were whole.
    void SaveIncompleteLogFile();
    bool LoadXmlArchive();
    void SetReadOnly(bool readOnly);

    void btnReadFromUnitClick();
    void btnReadFromFileClick();
    void cbArchiveSelect(int index);
    void cbArchiveDropDown();
    void btnAutoSizeColsClick();
    // Plots the current column over the selected rows on the Graph tab.
    void btnGraphSelColClick();
    void btnLogSetupClick();
    void SaveasCSVClick();
    void SaveAsPacketCSVClick();
    void pcViewerChange(int index);

    void gridArchiveSelectionChanged(int left, int top, int right, int bottom);
    void mnuLoadFileClick() { LoadGridFile(); }
    void mnuSaveFileClick() { SaveGridFile(); }
    void mnuSaveasXLSClick();
    void CopySelectiontoClipboard1Click();
    void mnuCopyImagetoClipboardClick();
    void mnuHideSelectedColumnClick();
    void mnuUnhideAllColumnsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void gridArchiveFilterSelect(int column, int entry, const QString& name, QString& condition);
    void edtDispRangeKeyDown(int key);
    void BuildPopupMenu();
    void SetValueFilterLists();
    void ExportCsv(const CsvExport& exporter);
    void SetStatus(const QString& text);
    static void ChangeToDataDirectory();

    LogDBMgr& logDb_;
    std::unique_ptr<Ui::TfraArchiveViewer> ui_;
    ArchiveGridModel* model_;
    TArchiveChart* chart_ = nullptr;
    QMenu* popArchGrid_ = nullptr;
    QAction* mnuHideSelectedColumn_ = nullptr;
    QAction* mnuUnhideAllColumns_ = nullptr;

    bool readOnly_ = false;
    bool fromFile_ = false;
    QString archiveFileName_;
    // The value headers of each log stored in the last archive file loaded.
    std::optional<std::array<QStringList, 6>> fileHeaders_;
    QStringList valueHeaders_;
    int chosenArchive_ = 0;

    std::array<QString, 32> valueFilterTexts_;
    QString seqFilterText_;
    int selLeft_ = 0, selTop_ = 0, selRight_ = 0, selBottom_ = 0;
    QString gridFileName_;
};
