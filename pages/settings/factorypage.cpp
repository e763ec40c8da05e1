#include "factorypage.h"

#include "analogsupply.h"
#include "database.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "pagehost.h"
#include "pointids.h"
#include "portframe.h"
#include "streamcount.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

const PageDecl TfraFactory::kDecl = {
    .frameName = "fraFactory",
    .sheetName = "TabSheetBT",
    .caption = "Factory ",
    .tab = 16,
    .level = 3,
    .scan = {.number = 8, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Factory",
};

namespace factorypage {

const char* const kResetConfigQuestion =
    "Are you sure you want to reset the configuration on the unit?\n"
    "If YES, please Write Configuration to Flash if you want to keep these changes.";
const char* const kWipeArchiveQuestion =
    "Are you sure you want to wipe the archive on the unit?\n"
    "Every archive record kept by the unit will be lost.";
const char* const kWipeEventLogQuestion =
    "Are you sure you want to wipe the event log on the unit?\n"
    "Every event kept by the unit will be lost.";
const char* const kResetPasswordQuestion =
    "This will reset the \"Update Mode\" Password to the factory default setting.\n\nContinue?";
const char* const kResetPasswordFailed =
    "The \"Update Mode\" Password could not be reset: the password file could not be written.\n"
    "The current password stays in force.";

std::vector<int> scanList()
{
    std::vector<int> ids = {pid::SensorSampleBoxCarSize, pid::SensorADCSampleRate, pid::SensorDifferentialEnable,
                            pid::SensorTargetDiodeVoltage, pid::SensorMaxDiodeCurrent};
    for (int i = 0; i < 5; ++i)
        ids.push_back(pid::CommPort2BaudRate + i);
    ids.push_back(pid::TotalRunCounter);
    ids.push_back(pid::Streams);
    for (const analogsupply::SupplyPoints* s : {&analogsupply::kSupply1, &analogsupply::kSupply2})
        ids.insert(ids.end(),
                   {s->operatingVoltage, s->operatingPosition, s->bypassVoltage, s->bypassPosition, s->description});
    // The action boxes show and store the low-tape actions: they must be the unit's, so the mask
    // is read with the enable.
    ids.push_back(pid::AlarmLowTapeEnable);
    ids.push_back(pid::AlarmLowTapeActions);
    return ids;
}

}  // namespace factorypage

namespace {

constexpr const char* kHint = "This function is for manufacturer use only";

bool confirmed(const char* question)
{
    return DialogService::ask(QMessageBox::Warning, QStringLiteral("Warning"), QString::fromUtf8(question),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

TfraFactory::TfraFactory(const PageServices& services, QWidget* parent) : TPageFrame(kDecl, services, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);

    Qcomment_ =
        new QLabel("Only authorized user can access this page, please contact Quenrick for more informations.", this);
    Qcomment_->setObjectName("Qcomment");
    QFont bold = Qcomment_->font();
    bold.setBold(true);
    Qcomment_->setFont(bold);
    Qcomment_->setWordWrap(true);
    grid->addWidget(Qcomment_, 0, 0, 1, 3, Qt::AlignTop);

    auto* left = new QVBoxLayout;
    left->addWidget(BuildButtons());
    left->addStretch();
    grid->addLayout(left, 1, 0);

    auto* middle = new QVBoxLayout;
    middle->addWidget(BuildSensor());
    auto* portGroup = new QGroupBox("Sensor Port (RS-485)", this);
    portGroup->setObjectName("gbSensorPort");
    auto* portColumn = new QVBoxLayout(portGroup);
    fraPortX_ = new TfraPort(Database(),
                             {{pid::CommPort2BaudRate, pid::CommPort2BaudRate + 1, pid::CommPort2BaudRate + 2,
                               pid::CommPort2BaudRate + 3, pid::CommPort2BaudRate + 4}},
                             true, portGroup);
    fraPortX_->setObjectName("fraPortX");
    portColumn->addWidget(fraPortX_);
    middle->addWidget(portGroup);

    auto* streamsRow = new QHBoxLayout;
    auto* streamsLabel = new QLabel("Streams:", this);
    streamsLabel->setObjectName("lblStreams");
    auto* cbStreams = new TQComboBox(this);
    cbStreams->setObjectName("cbStreams");
    cbStreams->addItems({"1-Stream", "2-Streams", "3-Streams", "4-Streams"});
    cbStreams->setDbId(pid::Streams);
    streamsLabel->setBuddy(cbStreams);
    streamsRow->addWidget(streamsLabel);
    streamsRow->addWidget(cbStreams, 1);
    middle->addLayout(streamsRow);

    auto* runCounter = new TQLabeledEdit(this);
    runCounter->setObjectName("RunCounter");
    runCounter->setLabelCaption("Total Run Counter");
    runCounter->EditLabel()->setFont(bold);
    runCounter->setDataType(dbctl::dtInt);
    runCounter->setDbId(pid::TotalRunCounter);
    middle->addWidget(runCounter);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);

    auto* right = new QVBoxLayout;
    auto* supplies = new QGroupBox("Analog Supply Calibration", this);
    supplies->setObjectName("gbAnalogSupply");
    auto* supplyColumn = new QVBoxLayout(supplies);
    fmAnalogSupply1_ = new TfmAnalogSupply(Host(), analogsupply::kSupply1, supplies);
    fmAnalogSupply1_->setObjectName("fmAnalogSupply1");
    fmAnalogSupply2_ = new TfmAnalogSupply(Host(), analogsupply::kSupply2, supplies);
    fmAnalogSupply2_->setObjectName("fmAnalogSupply2");
    supplyColumn->addWidget(fmAnalogSupply1_);
    supplyColumn->addWidget(fmAnalogSupply2_);
    right->addWidget(supplies);
    right->addWidget(BuildTapeAlarm());
    right->addStretch();
    grid->addLayout(right, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);

    lblStream2_ = new TQLabel(this);
    lblStream2_->setObjectName("lblStream2");
    lblStream2_->setDbId(pid::Streams);
    streamcount::bindDisplay(lblStream2_, streamcount::Words::Count, Host());

    ShowControls(false);
}

QWidget* TfraFactory::BuildButtons()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("pnlFactoryActions");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    struct Action {
        const char* name;
        const char* caption;
        void (TfraFactory::*click)();
    };
    const Action actions[] = {
        {"butWriteConfigFlash", "Reset to default Config.", &TfraFactory::butResetDefaultConfig},
        {"btnWipe", "Wipe Archive", &TfraFactory::btnWipeClick},
        {"btnWipeLog", "Wipe Event Log", &TfraFactory::btnWipeLogClick},
        {"btnResetPw", "Reset Password", &TfraFactory::btnResetPwClick},
        {"btnQCDoc", "Analyzer Configuration and Q.C.Documentation", &TfraFactory::btnQCDocClick},
    };
    for (const Action& action : actions) {
        auto* button = new TQAdvToolButton(panel);
        button->setObjectName(action.name);
        button->setText(action.caption);
        button->setToolTip(kHint);
        button->setMinimumWidth(170);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(button, &QToolButton::clicked, this, action.click);
        column->addWidget(button);
    }
    return panel;
}

QWidget* TfraFactory::BuildSensor()
{
    auto* group = new QGroupBox("Sensor", this);
    group->setObjectName("gbSensor");
    auto* column = new QVBoxLayout(group);
    struct Field {
        const char* name;
        const char* caption;
        int point;
        dbctl::DataType type;
    };
    const Field fields[] = {
        {"edtSampleBoxCarSize", "Sample Box Car Size", pid::SensorSampleBoxCarSize, dbctl::dtInt},
        {"edtADCSampelRate", "ADC Sample Rate", pid::SensorADCSampleRate, dbctl::dtFloat},
        {"edtTargetDiodVolt", "Target Diode Voltage", pid::SensorTargetDiodeVoltage, dbctl::dtFloat},
        {"edtMaxDiodeCurrent", "Max Diode Current", pid::SensorMaxDiodeCurrent, dbctl::dtFloat},
    };
    for (const Field& field : fields) {
        auto* edit = new TQLabeledEdit(group);
        edit->setObjectName(field.name);
        edit->setLabelCaption(field.caption);
        edit->setDataType(field.type);
        edit->setDbId(field.point);
        column->addWidget(edit);
        if (field.point == pid::SensorADCSampleRate) {
            auto* diff = new TQCheckBox(group);
            diff->setObjectName("chkDiffEnable");
            diff->setText("Differential Enable");
            diff->setTrueValue("True");
            diff->setDbId(pid::SensorDifferentialEnable);
            column->addWidget(diff);
        }
    }
    return group;
}

QWidget* TfraFactory::BuildTapeAlarm()
{
    auto* group = new QGroupBox("Tape Alarm", this);
    group->setObjectName("gbTapeAlarm");
    auto* row = new QHBoxLayout(group);
    LowTape_ = new TQCheckBox(group);
    LowTape_->setObjectName("LowTape");
    LowTape_->setText("Low Tape");
    LowTape_->setTrueValue("True");
    LowTape_->setDbId(pid::AlarmLowTapeEnable);
    LowTape_->OnDBPointValueChanged = [this](QWidget*, const QString&, bool&) { LowTapeDBPointValueChanged(); };
    // The user's click only: an arriving value is never written back.
    connect(LowTape_, &QAbstractButton::clicked, this, [this] { LowTapeClick(); });
    row->addWidget(LowTape_, 0, Qt::AlignTop);

    auto* actions = new QGroupBox("Actions", group);
    actions->setObjectName("gbLowTapeActions");
    auto* grid = new QGridLayout(actions);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    struct Bank {
        const char* caption;
        const char* prefix;
        int count;
        int firstBit;
    };
    const Bank banks[] = {{"Relays", "ckLowTapR", 6, 0}, {"Solenoids", "ckLowTapS", 8, 8}};
    for (int b = 0; b < 2; ++b) {
        auto* caption = new QLabel(banks[b].caption, actions);
        caption->setObjectName(QStringLiteral("lbl%1").arg(banks[b].caption));
        grid->addWidget(caption, b, 0);
        for (int n = 1; n <= banks[b].count; ++n) {
            auto* box = new TQCheckBox(actions);
            box->setObjectName(QStringLiteral("%1%2").arg(banks[b].prefix).arg(n));
            box->setText(QString::number(n));
            box->setDbId(pid::AlarmLowTapeActions);
            box->setWatchBitNumber(static_cast<dbctl::WatchBit>(banks[b].firstBit + n - 1));
            grid->addWidget(box, b, n);
            lowTapeActions_.push_back(box);
        }
    }
    grid->setColumnStretch(9, 1);
    row->addWidget(actions, 1);
    return group;
}

void TfraFactory::ShowControls(bool show)
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setVisible(show);
    Qcomment_->setEnabled(!show);
    Qcomment_->setVisible(!show);
    lblStream2_->setVisible(false);
}

TPageFrame::ScanIds TfraFactory::ScanList() const
{
    return {factorypage::scanList(), {}};
}

void TfraFactory::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    // The sensor's port is shown for reference: changing it would cut the unit off its sensor.
    fraPortX_->setEnabled(false);
}

void TfraFactory::butResetDefaultConfig()
{
    if (confirmed(factorypage::kResetConfigQuestion))
        Host().Queue("SetDefaultConfig", "");
}

void TfraFactory::btnWipeClick()
{
    if (confirmed(factorypage::kWipeArchiveQuestion))
        Host().Queue("WipeAL", "");
}

void TfraFactory::btnWipeLogClick()
{
    if (confirmed(factorypage::kWipeEventLogQuestion))
        Host().Queue("WipeLog", "");
}

void TfraFactory::btnResetPwClick()
{
    if (!confirmed(factorypage::kResetPasswordQuestion))
        return;
    if (!Host().ResetPassword())
        DialogService::warn(QString::fromUtf8(factorypage::kResetPasswordFailed));
}

void TfraFactory::btnQCDocClick()
{
    Host().ShowWindow("QCForm");
}

void TfraFactory::LowTapeDBPointValueChanged()
{
    // The actions of an enabled alarm are locked: clear the alarm, change them, enable it again.
    const bool locked = LowTape_->isChecked();
    for (TQCheckBox* box : lowTapeActions_)
        box->setEnabled(!locked);
}

void TfraFactory::LowTapeClick()
{
    if (Database().expressScan.GetPage() != kDecl.scan.number)
        return;
    Host().WriteSinglePoint(LowTape_->DbId(), LowTape_->isChecked() ? "True" : "False");
}
