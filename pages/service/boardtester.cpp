#include "boardtester.h"

#include "aocalibration.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "lamps.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

const PageDecl TfraBoardTester::kDecl = {
    .frameName = "fraBoardTester",
    .sheetName = "TabSheetFC",
    .caption = "Maintenance ",
    .tab = 15,
    .level = 2,
    .scan = {.number = 9, .showWait = true},
    .entry = {.setsMode = true,
              .stopsPoll = true,
              .enterRoutine = true,
              .read = "ExpressRead",
              .closing = EntryClose::MaintenanceCaution},
    .splash = "Loading Sentrel515 Desktop...Service",
};

namespace {

const QString kDirectControlWarning =
    QStringLiteral("You have selected Direct Board Control Mode. In this mode WARNING light will blink.\n") +
    "This mode gives control of the Relays, Solenoids and Analog Outputs to the user.\n" +
    "It is the user's responsibility to ensure that this mode is used carefully and with understanding of its "
    "application.\n" +
    "The user may temporarily force changes to any of the outputs mentioned above.\n" +
    "(This option is provided for testing of the wiring, and is mostly used during installation of new tape "
    "analyzers.)\n" +
    "Please make sure that Direct Board Control Mode is disabled before you exit the application.\n" +
    "Do you wish to continue?\n";

void setBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace

TfraBoardTester::TfraBoardTester(const PageServices& services, QWidget* parent) : TPageFrame(kDecl, services, parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("sbBoardTester");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName("pnlBoardTester");
    auto* page = new QVBoxLayout(content);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    page->addWidget(BuildOutputs());

    auto* frames = new QGridLayout;
    frames->setHorizontalSpacing(8);
    frames->setVerticalSpacing(6);
    for (int i = 0; i < 6; ++i) {
        const servicepage::AOFrame& points = servicepage::kAOFrames[static_cast<std::size_t>(i)];
        auto* frame = new TfraAOCalibration(Host(), i + 1, points.bound, content);
        frame->RawBypassId = static_cast<std::uint16_t>(points.ids.rawBypass);
        frame->AnalogOutputId = static_cast<std::uint16_t>(points.ids.analogOutput);
        frame->ScalingFactorId = static_cast<std::uint16_t>(points.ids.scalingFactor);
        frame->ZeroOffsetId = static_cast<std::uint16_t>(points.ids.zeroOffset);
        frame->FactoryBypassId = static_cast<std::uint16_t>(points.ids.factoryBypass);
        frame->ScaledOutputId = static_cast<std::uint16_t>(points.ids.scaledOutput);
        setBold(frame->findChild<QWidget*>("btnCaptureCalibration"));
        frame->CalibrateButton()->setEnabled(false);
        connect(frame->CalibrateButton(), &QAbstractButton::toggled, this,
                [this, frame](bool down) { CalibrateToggled(frame, down); });
        frames_[static_cast<std::size_t>(i)] = frame;
        frames->addWidget(frame, i / 2, i % 2, Qt::AlignTop | Qt::AlignLeft);
    }
    frames->setColumnStretch(2, 1);
    page->addLayout(frames);

    // The firmware upgrade's three steps live here, hidden and disabled for the life of the page.
    page->addWidget(BuildFirmwareGroup());
    page->addStretch();
    // Six calibration frames are taller than the tab: the page scrolls rather than squeezes.
    scroll->setWidget(content);

    lblStream2_ = new TQLabel(this);
    lblStream2_->setObjectName("lblStream2");
    lblStream2_->setDbId(pid::Streams);
    lblStream2_->hide();
    lblStream2_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        lblStream2DBPointValueChanged(value, showValue);
    };
}

QWidget* TfraBoardTester::BuildOutputs()
{
    auto* row = new QWidget(this);
    row->setObjectName("pnlOutputs");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    auto* left = new QVBoxLayout;
    directControl_ = new TQCheckBox(row);
    directControl_->setObjectName("DirectControlEnable");
    directControl_->setText("Direct Board Control Enable");
    setBold(directControl_);
    directControl_->setDbId(pid::DirectBoardControlEnable);
    directControl_->setTrueValue("True");
    connect(directControl_, &QCheckBox::toggled, this, [this] { DirectControlEnableClick(); });
    directControl_->OnDBPointValueChanged = [this](QWidget*, const QString&, bool&) {
        DirectControlEnableDBPointValueChanged();
    };
    left->addWidget(directControl_);

    pulseCount_ = new TQLabeledEdit(row);
    pulseCount_->setObjectName("PulseCount");
    pulseCount_->setLabelPos(TQLabeledEdit::lpAbove);
    pulseCount_->setLabelCaption("Tape Encoder Test");
    pulseCount_->setReadOnly(true);
    pulseCount_->setDataType(dbctl::dtInt);
    pulseCount_->setDbId(pid::TotalPulseCount);
    pulseCount_->Edit()->setFixedWidth(100);
    left->addWidget(pulseCount_, 0, Qt::AlignLeft);
    left->addStretch();
    layout->addLayout(left);

    layout->addWidget(BuildOutputGroup("gbRelays", "Relays", "ckRelay", "imRelay", 0, 6));
    layout->addWidget(BuildOutputGroup("gbSolenoids", "Solenoids", "ckSolenoid", "imSolenoid", 6, 8));
    layout->addStretch();
    EnableOutputs(false);
    return row;
}

QWidget* TfraBoardTester::BuildOutputGroup(const char* name, const char* caption, const char* boxPrefix,
                                           const char* lampPrefix, int first, int count)
{
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(name);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < count; ++i) {
        const int index = first + i;
        const int point = servicepage::kOutputPoints[static_cast<std::size_t>(index)];
        const QString n = QString::number(i + 1);

        // The box names its point for the page only; what it shows comes from the lamp.
        auto* box = new TQCheckBox(group);
        box->setObjectName(boxPrefix + n);
        box->setText(n);
        box->setUseDatabase(false);
        box->setDbId(point);
        connect(box, &QCheckBox::toggled, this, [this, index] { OutputBoxClick(index); });
        grid->addWidget(box, 0, i, Qt::AlignHCenter);

        auto* lamp = new TQImage(group);
        lamp->setObjectName(lampPrefix + n);
        lamp->setFixedSize(16, 16);
        lamp->setPixmap(lamps::alarm(lamps::AlarmGrey));
        lamp->setDbId(point);
        lamp->setTrueValue("True");
        lamp->OnDBPointValueChanged = [this](QWidget* sender, const QString&, bool&) {
            imRelayDBPointValueChanged(sender);
        };
        grid->addWidget(lamp, 1, i, Qt::AlignHCenter);

        boxes_[static_cast<std::size_t>(index)] = box;
        lamps_[static_cast<std::size_t>(index)] = lamp;
    }
    return group;
}

QWidget* TfraBoardTester::BuildFirmwareGroup()
{
    gbFirmware_ = new TQGroupBox(this);
    gbFirmware_->setObjectName("gbFirmwareUpgrade");
    gbFirmware_->setUseDatabase(false);
    gbFirmware_->setTitle("Firmware Upgrade (Push Buttons Below to Initiate)");
    setBold(gbFirmware_);
    auto* row = new QHBoxLayout(gbFirmware_);
    auto make = [this, row](const char* name, const char* caption, const char* hint) {
        auto* b = new TQAdvToolButton(gbFirmware_);
        b->setObjectName(name);
        b->setUseDatabase(false);
        b->setText(caption);
        b->setToolTip(hint);
        row->addWidget(b);
        return b;
    };
    btnReadOldConfig_ = make("btnReadOldConfig", "Read Configuration", "Upgrade Step 1: Read Old Configuration");
    btnWriteFirmware_ = make("btnWriteFirmware", "Write Firmware", "Upgrade Step 2: Write New Firmware");
    btnMergeFirmware_ = make("btnMergeFirmware", "Merge Firmware", "Upgrade Step 3: Merge Firmware");
    row->addStretch();
    connect(btnReadOldConfig_, &QAbstractButton::clicked, this, &TfraBoardTester::btnReadOldConfigClick);
    connect(btnWriteFirmware_, &QAbstractButton::clicked, this, &TfraBoardTester::btnWriteFirmwareClick);
    connect(btnMergeFirmware_, &QAbstractButton::clicked, this, &TfraBoardTester::btnMergeFirmwareClick);
    gbFirmware_->setEnabled(false);
    gbFirmware_->hide();
    return gbFirmware_;
}

TQAdvToolButton* TfraBoardTester::FirmwareButton(int step) const
{
    switch (step) {
    case 1:
        return btnReadOldConfig_;
    case 2:
        return btnWriteFirmware_;
    case 3:
        return btnMergeFirmware_;
    default:
        return nullptr;
    }
}

void TfraBoardTester::btnReadOldConfigClick()
{
    RunUpgradeStep(1);
}

void TfraBoardTester::btnWriteFirmwareClick()
{
    RunUpgradeStep(2);
}

void TfraBoardTester::btnMergeFirmwareClick()
{
    RunUpgradeStep(3);
}

// While a step runs only its own button stays enabled; the main window does the step itself.
void TfraBoardTester::RunUpgradeStep(int step)
{
    PageHost* host = &Host();
    for (int other = 1; other <= 3; ++other)
        if (other != step)
            FirmwareButton(other)->setEnabled(false);
    host->RunUpgradeStep(static_cast<PageHost::UpgradeStep>(step - 1));
    for (int other = 1; other <= 3; ++other)
        FirmwareButton(other)->setEnabled(true);
}

TPageFrame::ScanIds TfraBoardTester::ScanList() const
{
    return {servicepage::scanList(), {}};
}

void TfraBoardTester::RegisterPoints()
{
    if (FirstEntry())
        for (TQAdvToolButton* b : {btnReadOldConfig_, btnWriteFirmware_, btnMergeFirmware_})
            b->setEnabled(true);
    TPageFrame::RegisterPoints();
}

void TfraBoardTester::WriteBoolPoint(std::uint16_t pointId, const QString& value)
{
    Host().WriteSinglePoint(pointId, value == QLatin1String("True") ? "True" : "False");
}

void TfraBoardTester::ReleaseOutputs()
{
    for (TfraAOCalibration* frame : frames_)
        frame->ReleaseBypasses();
}

void TfraBoardTester::EnableOutputs(bool enable)
{
    for (TQCheckBox* box : boxes_)
        box->setEnabled(enable);
    for (TfraAOCalibration* frame : frames_)
        if (frame)
            frame->CalibrateButton()->setEnabled(enable);
}

void TfraBoardTester::DirectControlEnableClick()
{
    PageHost* host = &Host();
    if (directControl_->isChecked()) {
        if (!FirstEntry() && DialogService::ask(QMessageBox::Warning, "Warning", kDirectControlWarning,
                                                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            // Unchecking runs this handler again, which ends direct control.
            directControl_->setChecked(false);
            return;
        }
        EnableOutputs(true);
        host->WriteSinglePoint(pid::DirectBoardControlEnable, "True");
        host->Queue("ExpressRead", "");
        return;
    }
    host->WriteSinglePoint(pid::DirectBoardControlEnable, "False");
    host->Queue("ExpressRead", "");
    EnableOutputs(false);
    for (TfraAOCalibration* frame : frames_) {
        TQAdvToolButton* calibrate = frame->CalibrateButton();
        calibrate->setEnabled(false);
        calibrate->setChecked(false);
        frame->btnCalibrateAO1Click();
    }
}

void TfraBoardTester::DirectControlEnableDBPointValueChanged()
{
    EnableOutputs(directControl_->isChecked());
}

// A calibrate switch goes down only under direct control.
void TfraBoardTester::CalibrateToggled(TfraAOCalibration* frame, bool down)
{
    if (down && !directControl_->isChecked())
        frame->CalibrateButton()->setChecked(false);
}

void TfraBoardTester::OutputBoxClick(int index)
{
    if (FirstEntry())
        return;
    const std::size_t i = static_cast<std::size_t>(index);
    lampOn_[i] = boxes_[i]->isChecked();
    const QString value = lampOn_[i] ? QStringLiteral("True") : QStringLiteral("False");
    if (!directControl_->isChecked())
        return;
    const int point = servicepage::kOutputPoints[i];
    WriteBoolPoint(static_cast<std::uint16_t>(point), value);
    PageHost* host = &Host();
    // The unit confirms the change, then the point is read back for its lamp.
    host->Queue("DirectControlConfirm", "");
    host->ReadSinglePoint(lamps_[i]->DbId());
}

void TfraBoardTester::imRelayDBPointValueChanged(QWidget* sender)
{
    auto* lamp = qobject_cast<TQImage*>(sender);
    if (!lamp)
        return;
    for (std::size_t i = 0; i < lamps_.size(); ++i)
        if (lamps_[i] == lamp)
            lampOn_[i] = lamp->IsOn();
    lamp->setPixmap(lamps::alarm(lamp->IsOn() ? lamps::AlarmRed : lamps::AlarmGrey));
    // A box that changes here runs its click handler: under direct control the unit's state is
    // written back with its confirmation and read-back.
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setChecked(lampOn_[i]);
    if (!directControl_->isChecked())
        lamp->setPixmap(lamps::alarm(lamps::AlarmGrey));
}

void TfraBoardTester::lblStream2DBPointValueChanged(const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    showValue = false;
    if (const std::optional<QString> text = streamcount::displayText(value, streamcount::Words::Count))
        Host().SetStreamDisplay(*text);
}
