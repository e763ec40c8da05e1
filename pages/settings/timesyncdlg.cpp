#include "timesyncdlg.h"

#include "dbchoices.h"
#include "dbdisplays.h"
#include "dialogservice.h"
#include "toolkitdate.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

TTimeSyncDlg::TTimeSyncDlg(QWidget* parent, Converter converter, Clock clock)
        : QDialog(parent), converter_(std::move(converter)), clock_(std::move(clock))
{
    if (!clock_)
        clock_ = [] { return toolkitdate::now(); };

    setObjectName("TimeSyncDlg");
    setWindowTitle("Set Analyzer Date & Time");
    setModal(true);

    rgSyncOption_ = new TQRadioGroup(this);
    rgSyncOption_->setObjectName("rgSyncOption");
    rgSyncOption_->setTitle("Synchronization Option");
    rgSyncOption_->setColumns(2);
    rgSyncOption_->setItems({"Use Current PC Time", "Set Time Manually"});
    rgSyncOption_->setItemIndex(0);

    dtDate_ = new QDateEdit(this);
    dtDate_->setObjectName("dtDate");
    dtDate_->setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
    dtDate_->setCalendarPopup(true);
    dtDate_->setDateRange(QDate(kFirstYear, 1, 1), QDate(kLastYear, 12, 31));
    dtDate_->setEnabled(false);
    dtTime_ = new QTimeEdit(this);
    dtTime_->setObjectName("dtTime");
    dtTime_->setDisplayFormat("HH:mm:ss");
    dtTime_->setEnabled(false);

    auto* caption = new QLabel("Modbus Time Token:", this);
    caption->setObjectName("lblModbusTimeToken");
    labToken_ = new TQLabel(this);
    labToken_->setObjectName("labToken");
    labToken_->setText("0000000000");

    btnOk_ = new TQBitBtn(this);
    btnOk_->setObjectName("btnOk");
    btnOk_->setText("Set Analyzer Time");
    btnOk_->setDefault(true);
    btnCancel_ = new TQBitBtn(this);
    btnCancel_->setObjectName("btnCancel");
    btnCancel_->setText("Cancel");

    auto* pickers = new QHBoxLayout;
    pickers->addWidget(dtDate_, 1);
    pickers->addWidget(dtTime_);
    auto* token = new QHBoxLayout;
    token->addWidget(caption);
    token->addWidget(labToken_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(rgSyncOption_);
    column->addLayout(pickers);
    column->addLayout(token);
    column->addLayout(buttons);
    // A fixed dialog border.
    column->setSizeConstraint(QLayout::SetFixedSize);

    for (QAbstractButton* option : rgSyncOption_->findChildren<QAbstractButton*>())
        connect(option, &QAbstractButton::toggled, this, [this] { rgSyncOptionClick(); });
    connect(dtDate_, &QDateEdit::dateChanged, this, [this] { PickerChange(); });
    connect(dtTime_, &QTimeEdit::timeChanged, this, [this] { PickerChange(); });
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { btnOkClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { btnCancelClick(); });
}

void TTimeSyncDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    FormShow();
}

void TTimeSyncDlg::FormShow()
{
    const double now = clock_();
    const QDateTime moment = toolkitdate::toQDateTime(now);
    {
        const QSignalBlocker blockDate(dtDate_);
        const QSignalBlocker blockTime(dtTime_);
        dtDate_->setDate(moment.date());
        dtTime_->setTime(moment.time());
    }
    if (const std::optional<std::uint32_t> token = converter_(now))
        Token = *token;
    ShowToken();
}

void TTimeSyncDlg::rgSyncOptionClick()
{
    const bool manual = rgSyncOption_->ItemIndex() == 1;
    dtDate_->setEnabled(manual);
    dtTime_->setEnabled(manual);
}

double TTimeSyncDlg::ManualMoment() const
{
    // The date picker gives the day, the time picker only the time of day.
    return toolkitdate::fromDateTime(dtDate_->date(), QTime(0, 0)) +
           toolkitdate::fromDateTime(QDate(1899, 12, 30), dtTime_->time());
}

void TTimeSyncDlg::PickerChange()
{
    if (const std::optional<std::uint32_t> token = converter_(ManualMoment())) {
        Token = *token;
        ShowToken();
    }
}

void TTimeSyncDlg::ShowToken()
{
    labToken_->setText(QString::number(Token));
}

void TTimeSyncDlg::btnOkClick()
{
    const double moment = rgSyncOption_->ItemIndex() == 1 ? ManualMoment() : clock_();
    const std::optional<std::uint32_t> token = converter_(moment);
    if (!token) {
        DialogService::warn(QStringLiteral("The analyzer's clock can only be set to a date from %1 to %2.")
                                .arg(kFirstYear)
                                .arg(kLastYear));
        return;
    }
    Token = *token;
    accept();
}

void TTimeSyncDlg::btnCancelClick()
{
    reject();
}
