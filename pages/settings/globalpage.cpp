#include "globalpage.h"

#include "analyzer.h"
#include "database.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "dispplacefile.h"
#include "globalbindings.h"
#include "numbertext.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"
#include "tapeadvance.h"
#include "textroom.h"
#include "ui_globalpage.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <cfloat>
#include <climits>
#include <cmath>

const PageDecl TfraAnalyzerGlobal::kDecl = {
    .frameName = "fraAnalyzerGlobal",
    .sheetName = "TabGlobal",
    .caption = "Global ",
    .tab = 5,
    .level = 1,
    .scan = {.number = globalpage::kScanPage, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Global",
};

namespace {

constexpr int kIdentificationLength = 19;

bool isScanPageOurs(const DataBase& database)
{
    return database.expressScan.GetPage() == globalpage::kScanPage;
}

}  // namespace

TfraAnalyzerGlobal::TfraAnalyzerGlobal(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), ui_(std::make_unique<Ui::TfraAnalyzerGlobal>())
{
    ui_->setupUi(this);
    setObjectName(kDecl.frameName);
    WireGeneral();
    BuildAlarmRows();
    BuildAutoTempCalTriggers();
    WireTape();
}

TfraAnalyzerGlobal::~TfraAnalyzerGlobal() = default;

void TfraAnalyzerGlobal::WireGeneral()
{
    // The identification boxes stand one under the other, each wide enough for the longest text a
    // unit keeps; their labels share one width, so the boxes line up.
    int labelWidth = 0;
    for (TQLabeledEdit* edit : {ui_->ledId, ui_->ledSite, ui_->ledLocation})
        labelWidth = std::max(labelWidth, edit->EditLabel()->sizeHint().width());
    for (TQLabeledEdit* edit : {ui_->ledId, ui_->ledSite, ui_->ledLocation}) {
        edit->setMaxLength(kIdentificationLength);
        edit->EditLabel()->setMinimumWidth(labelWidth);
        textroom::fitWidthTo(edit->Edit(), textroom::capitals(textroom::kUnitTextLength));
    }
    // The timeout shows the toolkit's fifteen-digit text of the seconds.
    textroom::fitWidthTo(ui_->edtBypassTimeoutActions->Edit(), QLatin1String(textroom::kFloatText));
    for (TQLabeledEdit* edit : {ui_->FirmwareVersion, ui_->RidovazVer, ui_->SensorMVer})
        edit->OnDBPointValueChanged = [this, edit](QWidget*, const QString& value, bool& showValue) {
            VersionDBPointValueChanged(value, showValue, edit);
        };
    streamcount::bindDisplay(ui_->Streams, streamcount::Words::Count, Host());
    ui_->edtBypassTimeoutActions->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        edtBypassTimeoutActionsDBPointValueChanged(value, showValue);
    };
    connect(ui_->TrendFilterLength->Edit(), &QLineEdit::textChanged, this, [this] { TrendFilterLengthChange(); });
    ui_->edFurancePulseWidth->Edit()->installEventFilter(this);
    ui_->edFurancePulseWidth->Edit()->setToolTip(ui_->edFurancePulseWidth->toolTip());
    // Only the user's pick is written: setting the entry on page entry must not rewrite the file.
    connect(ui_->cbDispPlace, &QComboBox::activated, this, [this](int index) { cbDispPlaceSelect(index); });
}

void TfraAnalyzerGlobal::BuildAlarmRows()
{
    using namespace globalpage;
    auto* grid = static_cast<QGridLayout*>(ui_->gbGlobalAlarms->layout());
    constexpr int kFirstRelayColumn = 2;
    constexpr int kGapColumn = kFirstRelayColumn + analyzer::kRelays;
    constexpr int kFirstSolenoidColumn = kGapColumn + 1;
    auto head = [&](const char* name, const QString& text, int row, int column, int span, Qt::Alignment align) {
        auto* label = new QLabel(text, ui_->gbGlobalAlarms);
        label->setObjectName(name);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        grid->addWidget(label, row, column, 1, span, align);
    };
    head("lblEnabled", "Enabled", 0, 0, 1, Qt::AlignLeft);
    head("lblLimit", "Limit", 0, 1, 1, Qt::AlignLeft);
    head("lblActions", "Actions", 0, kFirstRelayColumn, analyzer::kRelays + 1 + analyzer::kSolenoids, Qt::AlignHCenter);
    head("lblRelays", "Relays", 1, kFirstRelayColumn, analyzer::kRelays, Qt::AlignHCenter);
    head("lblSolenoids", "Solenoids", 1, kFirstSolenoidColumn, analyzer::kSolenoids, Qt::AlignHCenter);
    grid->setColumnMinimumWidth(kGapColumn, 10);
    grid->setColumnMinimumWidth(1, 60);

    for (std::size_t r = 0; r < kAlarmRows.size(); ++r) {
        const AlarmRow& row = kAlarmRows[r];
        const int gridRow = static_cast<int>(r) + 2;
        AlarmRowBoxes& boxes = rows_[r];

        boxes.enable = new TQCheckBox(ui_->gbGlobalAlarms);
        boxes.enable->setObjectName(row.enableName);
        boxes.enable->setText(row.caption);
        boxes.enable->setDbId(row.enablePoint);
        boxes.enable->setTrueValue("True");
        const int index = static_cast<int>(r);
        boxes.enable->OnDBPointValueChanged = [this, index](QWidget*, const QString&, bool&) {
            AlarmDBPointValueChanged(index);
        };
        TQCheckBox* enable = boxes.enable;
        connect(enable, &QAbstractButton::clicked, this, [this, enable] { chkCheckBoxClick(enable); });
        grid->addWidget(enable, gridRow, 0);

        if (row.limitName) {
            auto* limit = new TQEdit(ui_->gbGlobalAlarms);
            limit->setObjectName(row.limitName);
            limit->setDbId(row.limitPoint);
            limit->setDataType(row.limit == Limit::PosFloat ? dbctl::dtPosFloat : dbctl::dtFloat);
            limit->setFixedSize(56, 20);
            grid->addWidget(limit, gridRow, 1);
        }

        for (bool relay : {true, false}) {
            const int count = relay ? analyzer::kRelays : analyzer::kSolenoids;
            for (int n = 1; n <= count; ++n) {
                auto* box = new TQCheckBox(ui_->gbGlobalAlarms);
                box->setObjectName(actionBoxName(row, relay, n));
                box->setText(QString::number(n));
                box->setDbId(row.actionsPoint);
                const int bit = analyzer::actionBit(relay, n);
                box->setWatchBitNumber(static_cast<dbctl::WatchBit>(bit));
                connect(box, &QAbstractButton::clicked, this, [this, box, bit] { ckCheckBoxClick(box, bit); });
                grid->addWidget(box, gridRow, relay ? kFirstRelayColumn + n - 1 : kFirstSolenoidColumn + n - 1);
                boxes.actions.push_back(box);
            }
        }
    }
    grid->setColumnStretch(kFirstSolenoidColumn + analyzer::kSolenoids, 1);
}

void TfraAnalyzerGlobal::BuildAutoTempCalTriggers()
{
    // The group stays hidden; its points are still listed and kept with the page's values.
    auto* grid = static_cast<QGridLayout*>(ui_->gbAutoTempCal->layout());
    for (int bit = 0; bit < 24; ++bit) {
        auto* box = new TQCheckBox32(ui_->gbAutoTempCal);
        box->setObjectName(QStringLiteral("ckAutoTempCalT%1").arg(bit + 1));
        box->setText(QString::number(bit + 1));
        box->setDbId(pid::AutoTemperatureCalibrationTriggers);
        box->setWatchBitNumber(static_cast<dbctl::WatchBit>(bit));
        grid->addWidget(box, 1 + bit / 8, bit % 8);
    }
}

void TfraAnalyzerGlobal::WireTape()
{
    ui_->rdImperial->setChecked(true);
    connect(ui_->rdImperial, &QAbstractButton::toggled, this, [this](bool on) {
        if (on && !selectingUnits_)
            UnitsSelected(true);
    });
    connect(ui_->rdMetric, &QAbstractButton::toggled, this, [this](bool on) {
        if (on && !selectingUnits_)
            UnitsSelected(false);
    });
    ui_->edtTapeMeasurementUnits->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool&) {
        edtTapeMeasurementUnitsDBPointValueChanged(value);
    };
    ui_->AdvanceLength->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool&) {
        AdvanceLengthDBPointValueChanged(value);
    };
    ui_->AdvancePulses->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool&) {
        AdvancePulsesDBPointValueChanged(value);
    };
    ui_->TpRm->OnDBPointValueChanged = [this](QWidget*, const QString&, bool&) { TapeRemainingDBPointValueChanged(); };
    connect(ui_->btnSWPAccept, &QAbstractButton::clicked, this, [this] { btnSWPAcceptClick(); });
    connect(ui_->btnAccept2, &QAbstractButton::clicked, this, [this] { btnSWPAcceptClick(); });
    connect(ui_->btnTapeLengthReset, &QAbstractButton::clicked, this, [this] { btnTapeLengthResetClick(); });
}

TPageFrame::ScanIds TfraAnalyzerGlobal::ScanList() const
{
    ScanIds ids;
    for (const char* name : globalpage::kEntryControls) {
        const QWidget* control = findChild<QWidget*>(QString::fromLatin1(name));
        bool ok = false;
        const int id = control ? control->property("DbId").toInt(&ok) : -1;
        if (ok && id >= 0)
            ids.main.push_back(id);
    }
    return ids;
}

void TfraAnalyzerGlobal::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    LoadDispPlace();
}

bool TfraAnalyzerGlobal::IsImperial() const
{
    return ui_->rdImperial->isChecked();
}

// --- General -------------------------------------------------------------------------------

void TfraAnalyzerGlobal::VersionDBPointValueChanged(const QString& value, bool& showValue, TQLabeledEdit* edit)
{
    edit->setText(globalpage::versionText(value));
    showValue = false;
}

void TfraAnalyzerGlobal::edtBypassTimeoutActionsDBPointValueChanged(const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    // A text that is no number is shown as it came rather than stopping the read that brought it.
    const std::optional<QString> seconds = globalpage::bypassSecondsText(value);
    if (!seconds)
        return;
    ui_->edtBypassTimeoutActions->setText(*seconds);
    showValue = false;
}

void TfraAnalyzerGlobal::TrendFilterLengthChange()
{
    if (const std::optional<QString> clamped = globalpage::clampTrendFilter(ui_->TrendFilterLength->Text())) {
        ui_->TrendFilterLength->setText(*clamped);
        // What the box shows is what the next write sends, whether typed or brought by the unit.
        ui_->TrendFilterLength->MarkEdited();
    }
}

bool TfraAnalyzerGlobal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->edFurancePulseWidth->Edit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return edFurancePulseWidthEnter();
    }
    return TPageFrame::eventFilter(watched, event);
}

// True when the Enter is taken: a width above the limit is answered here, and the edit stays for
// the user to correct. A text that is no number is left to the edit's own check.
bool TfraAnalyzerGlobal::edFurancePulseWidthEnter()
{
    const std::optional<double> value = numtext::tryStrToFiniteFloat(ui_->edFurancePulseWidth->Text());
    if (!value || *value <= globalpage::kPulseWidthMax)
        return false;
    DialogService::warn(QString::fromLatin1(globalpage::kPulseWidthWarning));
    // The Part's warning is the one this Enter gives: the box's own range check (which the
    // message box's focus change would run) stays quiet about the same text.
    ui_->edFurancePulseWidth->WarnedOfEdit();
    return true;
}

// --- Global alarms ---------------------------------------------------------------------------

void TfraAnalyzerGlobal::AlarmDBPointValueChanged(int row)
{
    // The actions of an enabled alarm are locked: clear the enable box, change them, enable again.
    const AlarmRowBoxes& boxes = rows_[static_cast<std::size_t>(row)];
    const bool locked = boxes.enable->isChecked();
    for (TQCheckBox* box : boxes.actions)
        box->setEnabled(!locked);
}

void TfraAnalyzerGlobal::chkCheckBoxClick(TQCheckBox* box)
{
    if (!isScanPageOurs(Database()))
        return;
    Host().WriteSinglePoint(box->DbId(), box->isChecked() ? "True" : "False");
}

void TfraAnalyzerGlobal::ckCheckBoxClick(TQCheckBox* box, int bit)
{
    if (Loading() || !isScanPageOurs(Database()))
        return;
    DataBase* db = &Database();
    const int id = box->DbId();
    db->SetPointTextChecked(id, globalpage::actionBitText(bit, box->isChecked()));
    // The whole pending mask goes to the unit: the other boxes' bits as they stand.
    Host().WriteSinglePoint(id, db->GetPointText(id));
}

// --- Tape ------------------------------------------------------------------------------------

std::optional<double> TfraAnalyzerGlobal::UserNumber(QWidget* field, const QString& text, double largest)
{
    QString problem;
    if (const std::optional<QString> checked =
            dbctl::checkEdit(text, {dbctl::dtFloat, false, true, -largest, largest}, &problem))
        if (const std::optional<double> value = numtext::tryStrToFiniteFloat(*checked))
            return value;
    DialogService::warn(problem);
    if (field->isVisible())
        field->setFocus();
    return std::nullopt;
}

void TfraAnalyzerGlobal::edtTapeMeasurementUnitsDBPointValueChanged(const QString& value)
{
    // The integer part decides; a number beyond any integer is no zero.
    const bool imperial = std::trunc(numtext::cStrtod(value)) == 0;
    SelectUnits(imperial);
    ui_->CapstanDiameter->setLabelCaption(tapeadvance::capstanCaption(imperial));
    rows_[globalpage::kTapeLengthRow].enable->setText(tapeadvance::tapeLengthCaption(imperial));
}

void TfraAnalyzerGlobal::SelectUnits(bool imperial)
{
    // Selecting from code runs the switch as a click does, when the selection changes.
    fromUnit_ = true;
    (imperial ? ui_->rdImperial : ui_->rdMetric)->setChecked(true);
    fromUnit_ = false;
}

void TfraAnalyzerGlobal::UnitsSelected(bool imperial)
{
    TQLabeledEdit* capstan = ui_->CapstanDiameter;
    TQEdit* limit = findChild<TQEdit*>(QStringLiteral("TapeLengthAlarm"));
    const QString capstanText = capstan->Text().trimmed();
    const QString limitText = limit->text().trimmed();

    // Both values are checked before anything changes; the user's switch is undone when one is
    // no number or would be none in single precision once converted. A switch the unit asks for
    // happens all the same, converting what can be.
    const bool toMetric = !imperial;
    const auto convertible = [this](QWidget* field, const QString& text, double largest) -> std::optional<double> {
        if (!fromUnit_)
            return UserNumber(field, text, largest);
        const std::optional<double> value = numtext::tryStrToFiniteFloat(text);
        return value && std::fabs(*value) <= largest ? value : std::nullopt;
    };
    std::optional<double> diameter;
    std::optional<double> limitValue;
    if (!capstanText.isEmpty())
        diameter = convertible(capstan, capstanText, tapeadvance::largestConvertibleDiameter(toMetric));
    if (!limitText.isEmpty() && (diameter || capstanText.isEmpty() || fromUnit_))
        limitValue = convertible(limit, limitText, tapeadvance::largestConvertibleLength(toMetric));
    const bool bad = (!capstanText.isEmpty() && !diameter) || (!limitText.isEmpty() && !limitValue);
    if (bad && !fromUnit_) {
        selectingUnits_ = true;
        (imperial ? ui_->rdMetric : ui_->rdImperial)->setChecked(true);
        selectingUnits_ = false;
        return;
    }

    ui_->edtTapeMeasurementUnits->setText(imperial ? "0" : "1");
    ui_->edtTapeMeasurementUnits->MarkEdited();
    capstan->setLabelCaption(tapeadvance::capstanCaption(imperial));
    if (diameter) {
        capstan->setText(tapeadvance::diameterText(tapeadvance::convertDiameter(*diameter, toMetric)));
        btnSWPAcceptClick();
    }
    if (limitValue) {
        limit->setText(tapeadvance::limitText(tapeadvance::convertLength(*limitValue, toMetric)));
        limit->MarkEdited();
    }
}

void TfraAnalyzerGlobal::btnSWPAcceptClick()
{
    TQLabeledEdit* capstan = ui_->CapstanDiameter;
    const QString text = capstan->Text().trimmed();
    if (text.isEmpty())
        return;
    const std::optional<double> diameter = UserNumber(capstan, text);
    if (!diameter)
        return;
    const bool imperial = IsImperial();
    const float width = tapeadvance::widthPerPulse(*diameter, imperial);
    rows_[globalpage::kTapeLengthRow].enable->setText(tapeadvance::tapeLengthCaption(imperial));
    ui_->AdvanceLength->setText(tapeadvance::generalText(width));
    ui_->AdvanceLength->MarkEdited();

    const QString pulsesText = ui_->AdvancePulses->Text().trimmed();
    if (pulsesText.isEmpty())
        return;
    const std::optional<double> pulses = UserNumber(ui_->AdvancePulses, pulsesText);
    if (!pulses)
        return;
    // The product of the texts shown: the width's text holds all the digits of its value.
    if (const std::optional<double> shownWidth = numtext::tryStrToFiniteFloat(ui_->AdvanceLength->Text()))
        ShowStainWidth(*shownWidth * *pulses);
}

void TfraAnalyzerGlobal::AdvanceLengthDBPointValueChanged(const QString& value)
{
    const std::optional<double> pulses = numtext::tryStrToFiniteFloat(ui_->AdvancePulses->Text());
    if (ui_->AdvancePulses->Text().trimmed().isEmpty())
        return;
    const double width = numtext::cStrtod(value);
    if (pulses)
        ShowStainWidth(width * *pulses);
    const bool imperial = IsImperial();
    ui_->CapstanDiameter->setLabelCaption(tapeadvance::capstanCaption(imperial));
    ui_->CapstanDiameter->setText(tapeadvance::diameterText(tapeadvance::diameterOf(width, imperial)));
}

void TfraAnalyzerGlobal::AdvancePulsesDBPointValueChanged(const QString& value)
{
    const QString widthText = ui_->AdvanceLength->Text().trimmed();
    if (widthText.isEmpty())
        return;
    if (const std::optional<double> width = numtext::tryStrToFiniteFloat(widthText))
        ShowStainWidth(numtext::cStrtod(value) * *width);
}

void TfraAnalyzerGlobal::ShowStainWidth(double stainWidth)
{
    ui_->StainWidth->setText(tapeadvance::generalText(stainWidth));
    // A width beyond single precision gives no estimate.
    if (std::fabs(stainWidth) <= FLT_MAX)
        RefreshTapeDays(static_cast<float>(stainWidth));
}

void TfraAnalyzerGlobal::RefreshTapeDays(float stainWidth)
{
    // No stain per analysis: no estimate, and nothing to read. Logged off there is no unit to ask.
    if (stainWidth == 0 || !Host().LoggedOn())
        return;
    // The unit is reached only through the command engine: the fresh remaining length is read by
    // a queued command, and the days follow when it arrives (TapeRemainingDBPointValueChanged).
    // The handler may run inside a command delivering values, the logon's read among them.
    tapeDaysWidth_ = stainWidth;
    if (!tapeRemainingAsked_) {
        tapeRemainingAsked_ = true;
        Host().ReadSinglePoint(ui_->TpRm->DbId());
    }
}

void TfraAnalyzerGlobal::TapeRemainingDBPointValueChanged()
{
    tapeRemainingAsked_ = false;
    if (!tapeDaysWidth_)
        return;
    const float width = *tapeDaysWidth_;
    tapeDaysWidth_.reset();
    try {
        const int days = Database().GetTapeDaysRemaining(width);
        if (days != -1)
            ui_->TRD->setText(QString::number(days));
    } catch (const std::exception&) {
        // The estimate is a convenience of a hidden box: figures that do not convert give none.
    }
}

void TfraAnalyzerGlobal::btnTapeLengthResetClick()
{
    if (!Host().LoggedOn())
        return;
    TQLabeledEdit* reset = ui_->edtTapeLengthReset;
    const QString text = reset->Text().trimmed();
    if (text.isEmpty())
        return;
    QString problem;
    if (!dbctl::checkEdit(text, {dbctl::dtPosInt, true, true, 1, double(INT_MAX)}, &problem)) {
        DialogService::warn(problem);
        if (reset->isVisible())
            reset->setFocus();
        return;
    }
    Host().WriteSinglePoint(reset->DbId(), dbctl::toPointText(text));
}

// --- Display decimal places ------------------------------------------------------------------

void TfraAnalyzerGlobal::cbDispPlaceSelect(int index)
{
    const QString folder = Host().DataDirectory();
    const DispPlaceFile file(folder);
    if (folder.isEmpty() || !file.Write(index))
        DialogService::warn(QStringLiteral("The display decimal places could not be saved to \"%1\".")
                                .arg(folder.isEmpty() ? QString::fromLatin1(DispPlaceFile::kFileName) : file.Path()));
}

void TfraAnalyzerGlobal::LoadDispPlace()
{
    const QString folder = Host().DataDirectory();
    const int places = folder.isEmpty() ? DispPlaceFile::kDefaultPlaces : DispPlaceFile(folder).Places();
    ui_->cbDispPlace->setCurrentIndex(places);
}
