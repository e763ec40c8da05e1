#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <vector>

class AuditGridModel;
class LogGridView;
class PageHost;
class QLabel;
class QMenu;
struct AuditGridRow;

// What differs between the Events page's grid and the Event Log window's.
struct AuditViewLayout {
    const char* usageCaption;  // the bottom panel's label
    bool usageCaptionBold;
    int imageWidth;                   // the usage image, 15 pixels high
    std::array<int, 6> columnWidths;  // Seq, Timestamp, Event, Description 1, Description 2, comment
    const char* saveFilter;           // "Save to File"'s filter
};

// The event grid with its usage bar and its pop-up menu, shared by the Events page and the
// Event Log window: the grid `gridAudit` with its filter lists, the label `labPercent` and the
// image `imGraph`, and the menu `popAuditGrid` with its file, export and clipboard actions.
class TAuditView : public QWidget {
    Q_OBJECT
public:
    // pictured: the widget "Copy Image to Clipboard" copies; host: its owner's, which asks for
    // the date ranges of the Timestamp filter (and must outlive the view).
    TAuditView(const AuditViewLayout& layout, PageHost& host, QWidget* pictured, QWidget* parent);

    LogGridView* Grid() const { return grid_; }
    AuditGridModel* Model() const { return model_; }
    QMenu* PopupMenu() const { return popup_; }
    QLabel* PercentLabel() const { return labPercent_; }
    QLabel* Image() const { return imGraph_; }

    void ShowRows(std::vector<AuditGridRow> rows);
    void ClearRows();
    // The image blank and the percentage empty.
    void ClearUsage();
    // The green bar of used against total, and the percentage.
    void ShowUsage(std::size_t used, std::size_t total);

public slots:
    void mnuLoadFileClick();
    void mnuSaveFileClick();
    void SaveasCSVClick();
    void mnuSaveasXLSClick();
    void CopySelectiontoClipboard1Click();
    void mnuCopyImagetoClipboardClick();
    void AutoSizeColumns();

private:
    void gridAuditFilterSelect(int column, const QString& name, QString& condition);
    std::vector<int> ShownColumns() const;
    void BuildPopupMenu();

    AuditViewLayout layout_;
    PageHost& host_;
    QWidget* pictured_;
    AuditGridModel* model_;
    LogGridView* grid_;
    QLabel* imGraph_;
    QLabel* labPercent_;
    QMenu* popup_ = nullptr;
    // The last condition typed for each column after the Timestamp column, and for Seq.
    std::array<QString, 32> typedFilters_;
    QString seqFilter_;
};
