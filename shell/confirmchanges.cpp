#include "confirmchanges.h"

#include "database.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kBits8Type = 7;

// A flag byte's value text is the byte itself; the row shows its eight bits, highest first.
QString bitsText(const std::string& value)
{
    const auto byte = value.empty() ? 0u : static_cast<unsigned char>(value[0]);
    QString bits;
    for (int bit = 7; bit >= 0; --bit)
        bits.append((byte >> bit) & 1 ? u'1' : u'0');
    return bits;
}

}  // namespace

TfrmChanges::TfrmChanges(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmChanges");
    setWindowTitle("Confirm Changes");
    setWindowIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    resize(694, 476);

    list_ = new QTableWidget(0, 3, this);
    list_->setObjectName("lvChanges");
    list_->setHorizontalHeaderLabels({"Point ID", "Name", "Value"});
    list_->verticalHeader()->hide();
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setShowGrid(true);
    list_->setSortingEnabled(false);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->horizontalHeader()->setSectionsClickable(false);
    list_->horizontalHeader()->setMinimumSectionSize(45);
    list_->setColumnWidth(0, 150);
    list_->setColumnWidth(1, 350);
    list_->setColumnWidth(2, 180);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    panel->setFixedHeight(45);
    accept_ = new QPushButton("Accept", panel);
    accept_->setObjectName("Button1");
    cancel_ = new QPushButton("Cancel", panel);
    cancel_->setObjectName("Button2");
    auto* buttons = new QHBoxLayout(panel);
    buttons->addStretch();
    buttons->addWidget(accept_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    layout->addWidget(panel);

    connect(accept_, &QPushButton::clicked, this, &TfrmChanges::Button1Click);
    connect(cancel_, &QPushButton::clicked, this, &TfrmChanges::Button2Click);
}

void TfrmChanges::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmChanges::FormShow()
{
    list_->setRowCount(0);
    DataBase* db = DataBase::Instance();
    for (const int id : db->GetChangeList().Ids()) {
        QString name;
        QString value;
        if (id == WriteLogRecordsManager::kTimerBlockId) {
            name = "Timer X";
            value = "Changed";
        } else if (const DatabasePoint* point = db->GetPointById(id)) {
            name = QString::fromStdString(point->GetName());
            value = point->GetType() == kBits8Type ? bitsText(point->ToString())
                                                   : QString::fromLatin1(point->ToString().c_str());
        }
        const int row = list_->rowCount();
        list_->insertRow(row);
        list_->setItem(row, 0, new QTableWidgetItem(QString::number(id)));
        list_->setItem(row, 1, new QTableWidgetItem(name));
        list_->setItem(row, 2, new QTableWidgetItem(value));
    }
}

void TfrmChanges::Button1Click()
{
    DataBase::Instance()->GetChangeList().Clear();
    done(QDialog::Accepted);
}

void TfrmChanges::Button2Click()
{
    done(QDialog::Rejected);
}
