#pragma once

#include "logcsv.h"

#include <QDialog>
#include <functional>
#include <vector>

class QAdvColumnGrid;
class QPushButton;

// "CSV File Configuration": one row per column of the logs with a tick for whether it goes into
// the CSV file. Made once at start-up and shown modally for each export.
class TfmCSVConfig : public QDialog {
    Q_OBJECT
public:
    explicit TfmCSVConfig(QWidget* parent = nullptr);

    std::vector<logcsv::Config_item>& Items() { return items_; }
    // Rebuilds the grid from the items (every row ticked as its item says).
    void FormShow();
    QAdvColumnGrid* Grid() const { return grid_; }

public slots:
    // Takes the ticks back into the items and closes with OK.
    void SaveExitClick();

private:
    QAdvColumnGrid* grid_;
    std::vector<logcsv::Config_item> items_;
};

namespace logcsv {
// Registers the two exports with the Archive page. The column choice shows the dialog through
// `run` (which answers the dialog's result), so that whoever owns the modal loop decides how.
void InstallExports(std::function<TfmCSVConfig*()> dialog, std::function<int(QDialog&)> run);
}  // namespace logcsv
