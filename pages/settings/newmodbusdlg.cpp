#include "newmodbusdlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TNewModbusDlg::TNewModbusDlg(QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("NewModbusDlg");
    setWindowTitle("Create Modbus");
    auto* layout = new QVBoxLayout(this);
    group_ = new QGroupBox("Modbus Protocol Type", this);
    group_->setObjectName("rgMBType");
    auto* items = new QVBoxLayout(group_);
    buttons_ = new QButtonGroup(this);
    const char* captions[] = {"Enron", "Modicon 16", "Modicon with Floating Point"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(captions[i], group_);
        item->setObjectName(QStringLiteral("rgMBType%1").arg(i));
        buttons_->addButton(item, i);
        items->addWidget(item);
    }
    buttons_->button(0)->setChecked(true);
    layout->addWidget(group_);
    auto* row = new QHBoxLayout;
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("btnOK");
    ok_->setDefault(true);
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("btnCancel");
    row->addStretch();
    row->addWidget(ok_);
    row->addWidget(cancel_);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, [this] { done(Ok); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(Cancel); });
}

int TNewModbusDlg::ChosenMode() const
{
    return std::max(buttons_->checkedId(), 0);
}

void TNewModbusDlg::SetChosenMode(int mode)
{
    if (QAbstractButton* item = buttons_->button(mode))
        item->setChecked(true);
}

void TNewModbusDlg::keyPressEvent(QKeyEvent* event)
{
    // Esc is Cancel's modal result, not QDialog's plain rejection.
    if (event->key() == Qt::Key_Escape) {
        done(Cancel);
        return;
    }
    QDialog::keyPressEvent(event);
}
