#include "csvconfigdialog.h"

#include "archiveviewer.h"
#include "qadvcolumngrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kColLogName = 0;
constexpr int kColEnable = 1;

QString tickText(bool ticked)
{
    return ticked ? QStringLiteral("Y") : QStringLiteral("N");
}

}  // namespace

TfmCSVConfig::TfmCSVConfig(QWidget* parent) : QDialog(parent), grid_(new QAdvColumnGrid(this))
{
    setObjectName(QStringLiteral("fmCSVConfig"));
    setWindowTitle(QStringLiteral("CSV File Configuration"));
    grid_->setObjectName(QStringLiteral("AdvColGridCSVConfig"));
    grid_->setColumnCount(2);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Log Name"), QStringLiteral("Enable Output to CSV File")});
    grid_->horizontalHeaderItem(kColLogName)->setData(Qt::UserRole, QStringLiteral("LogName"));
    grid_->horizontalHeaderItem(kColEnable)->setData(Qt::UserRole, QStringLiteral("Enable"));
    grid_->Column(kColLogName).Editor = GridEditor::None;
    grid_->Column(kColEnable).Editor = GridEditor::None;
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setSectionResizeMode(kColLogName, QHeaderView::Stretch);
    grid_->horizontalHeader()->setSectionResizeMode(kColEnable, QHeaderView::ResizeToContents);
    grid_->verticalHeader()->setVisible(false);
    grid_->setRowCount(1);
    connect(grid_, &QTableWidget::itemChanged, this, [](QTableWidgetItem* item) {
        if (item->column() == kColEnable && item->flags().testFlag(Qt::ItemIsUserCheckable)) {
            const QString text = tickText(item->checkState() == Qt::Checked);
            if (item->text() != text)
                item->setText(text);
        }
    });

    auto* save = new QPushButton(QStringLiteral("Save && Exit"), this);
    save->setObjectName(QStringLiteral("SaveExit"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &TfmCSVConfig::SaveExitClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(460, 360);
}

void TfmCSVConfig::FormShow()
{
    const QSignalBlocker quiet(grid_);
    grid_->clearContents();
    grid_->setRowCount(std::max<int>(1, static_cast<int>(items_.size())));
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const auto& item = items_[static_cast<std::size_t>(i)];
        auto* name = new QTableWidgetItem(item.name);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(i, kColLogName, name);
        auto* tick = new QTableWidgetItem(tickText(item.enabled));
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        tick->setCheckState(item.enabled ? Qt::Checked : Qt::Unchecked);
        grid_->setItem(i, kColEnable, tick);
    }
}

void TfmCSVConfig::SaveExitClick()
{
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        items_[static_cast<std::size_t>(i)].enabled = grid_->Cells(kColEnable, i) == QLatin1String("Y");
    accept();
}

namespace logcsv {

void InstallExports(std::function<TfmCSVConfig*()> dialog, std::function<int(QDialog&)> run)
{
    const ColumnChooser choose = [dialog, run](std::vector<Config_item>& items) {
        TfmCSVConfig* form = dialog ? dialog() : nullptr;
        if (!form || !run)
            return false;
        form->Items() = items;
        form->FormShow();
        if (run(*form) != QDialog::Accepted)
            return false;
        items = form->Items();
        return true;
    };
    TfraArchiveViewer::SetCsvExports(
        [choose](DataBase& database, LogDBMgr& logs, const QString& fileName, QString* error) {
            return Export(database, logs, Kind::Legal, fileName, choose, error);
        },
        [choose](DataBase& database, LogDBMgr& logs, const QString& fileName, QString* error) {
            return Export(database, logs, Kind::Packet, fileName, choose, error);
        });
}

}  // namespace logcsv
