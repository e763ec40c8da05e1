#include "portframe.h"

#include "database.h"
#include "dbchoices.h"

#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>

namespace portframe {

QStringList standardBauds()
{
    return {"300", "600", "1200", "2400", "4800", "9600", "19200"};
}

}  // namespace portframe

namespace {

enum Point { kBaud, kDataBits, kParity, kStopBits, kEnvelope };

}  // namespace

TfraPort::TfraPort(DataBase& database, const portframe::PortPoints& points, bool bound, QWidget* parent)
        : QWidget(parent), database_(database)
{
    // Frames made one after the other get distinct names; a page that places the frame names it.
    setObjectName(QStringLiteral("fraPort%1").arg(QDateTime::currentMSecsSinceEpoch()));
    QThread::msleep(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    gbPortSetup_ = new QGroupBox("Port Setup", this);
    gbPortSetup_->setObjectName("gbPortSetup");
    auto* grid = new QGridLayout(gbPortSetup_);
    grid->setVerticalSpacing(4);
    cbBaudRate_ = MakeCombo("cbBaudRate", "Baud Rate", portframe::standardBauds(), points.ids[kBaud], bound, 0);
    cbBaudRate_->setMaxVisibleItems(7);
    cbDataBits_ = MakeCombo("cbDataBits", "Data Bits", {"5", "6", "7", "8"}, points.ids[kDataBits], bound, 1);
    cbParity_ = MakeCombo("cbParity", "Parity", {"None", "Odd", "Even"}, points.ids[kParity], bound, 2);
    cbStopBits_ = MakeCombo("cbStopBits", "Stop Bits", {"1", "2"}, points.ids[kStopBits], bound, 3);
    grid->setColumnStretch(1, 1);
    column->addWidget(gbPortSetup_);

    for (TQComboBox* combo : {cbDataBits_, cbStopBits_}) {
        combo->OnDBPointValueChanged = [this, combo](QWidget*, const QString& value, bool& showValue) {
            cbOverrideDBPointValueChanged(combo, value, showValue);
        };
        combo->OnPutToDatabase = [this, combo](QWidget*, bool& storeValue) {
            cbOverridePutToDatabase(combo, storeValue);
        };
    }

    rgEnvelope_ = new TQRadioGroup(this);
    rgEnvelope_->setObjectName("rgEnvelope");
    rgEnvelope_->setTitle("Envelope");
    rgEnvelope_->setColumns(2);
    rgEnvelope_->setItems({"RTU", "ASCII"});
    // The envelope is a Boolean point: RTU is off, ASCII on.
    rgEnvelope_->setValues({"False", "True"});
    rgEnvelope_->setDbId(points.ids[kEnvelope]);
    rgEnvelope_->setUseDatabase(bound);
    rgEnvelope_->setVisible(false);
    column->addWidget(rgEnvelope_);
    column->addStretch();

    cbBaudRate_->setCurrentIndex(6);
    cbDataBits_->setCurrentIndex(3);
    cbParity_->setCurrentIndex(0);
    cbStopBits_->setCurrentIndex(0);
}

TQComboBox* TfraPort::MakeCombo(const char* name, const char* caption, const QStringList& items, int point, bool bound,
                                int row)
{
    auto* grid = static_cast<QGridLayout*>(gbPortSetup_->layout());
    auto* label = new QLabel(caption, gbPortSetup_);
    label->setObjectName(QStringLiteral("lbl") + QString(name).mid(2));
    auto* combo = new TQComboBox(gbPortSetup_);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setDbId(point);
    combo->setUseDatabase(bound);
    label->setBuddy(combo);
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
    return combo;
}

void TfraPort::SetBaudItems(const QStringList& items)
{
    cbBaudRate_->clear();
    cbBaudRate_->addItems(items);
    cbBaudRate_->setCurrentIndex(0);
}

void TfraPort::cbOverrideDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue)
{
    showValue = false;
    combo->setCurrentIndex(combo->findText(value));
}

void TfraPort::cbOverridePutToDatabase(TQComboBox* combo, bool& storeValue)
{
    storeValue = false;
    if (combo->currentIndex() < 0)
        return;
    database_.SetPointTextChecked(combo->DbId(), dbctl::toPointText(combo->currentText()));
}
