#include "discreteinputpage.h"

#include "database.h"
#include "databasepoint.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "numbertext.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

const PageDecl TfraIO::kDecl = {
    .frameName = "fraIO",
    .sheetName = "TabSheetIO",
    .caption = "Inputs-DRY ",
    .tab = 7,
    .level = 1,
    .scan = {.number = 4, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Inputs-DRY",
};

const PageDecl TfrmInput2::kDecl = {
    .frameName = "frmInput2",
    .sheetName = "TabSheetIO2",
    .caption = "Inputs-WET ",
    .tab = 8,
    .scan = {.number = 13, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel Desktop...Inputs-WET",
};

namespace {

constexpr int kRunSelectorWidth = 32;
constexpr int kActionsWidth = 16;

// The unit's own value of a mask point (not an edit waiting to be written).
std::uint32_t unitMask(const DatabasePoint* point)
{
    if (auto* wide = dynamic_cast<const Bits32DatabasePoint*>(point))
        return wide->GetValue();
    if (auto* narrow = dynamic_cast<const Bits16DatabasePoint*>(point))
        return narrow->GetValue();
    return 0;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

}  // namespace

DiscreteInputPage::DiscreteInputPage(const PageDecl& decl, const inputmasks::InputPageKind& kind,
                                     const PageServices& services, QWidget* parent)
        : TPageFrame(decl, services, parent), kind_(kind)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Four inputs of 38 boxes each are taller than the tab: the page scrolls rather than squeezes.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("sbDiscreteInputs");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    outer->addWidget(scroll);

    auto* content = new QWidget(scroll);
    content->setObjectName("pnlDiscreteInputs");
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(2, 2, 2, 2);
    group_ = new QGroupBox(kind.groupCaption, content);
    group_->setObjectName("gbDiscreteInputs");
    auto* inputsLayout = new QVBoxLayout(group_);
    inputsLayout->setSpacing(6);
    for (int i = 0; i < 4; ++i)
        BuildInput(i, group_);
    contentLayout->addWidget(group_);
    contentLayout->addStretch();
    scroll->setWidget(content);

    // Counts the streams: shows the count in the main window and the boxes of those streams.
    streams_ = new TQLabel(this);
    streams_->setObjectName("lblStream2");
    streams_->setText("Stream 2");
    streams_->setDbId(pid::Streams);
    streams_->hide();
    streams_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        lblStream2DBPointValueChanged(value, showValue);
    };
}

void DiscreteInputPage::BuildInput(int index, QWidget* parent)
{
    const inputmasks::InputPoints& points = (*kind_.inputs)[static_cast<std::size_t>(index)];
    InputControls& c = inputs_[static_cast<std::size_t>(index)];
    const QString n = QString::number(points.input);

    auto* panel = new QFrame(parent);
    panel->setObjectName("pnlInput" + n);
    panel->setFrameShape(QFrame::StyledPanel);
    // The input's switches in a line above its two masks: four streams of boxes and the actions
    // then fit the tab's width.
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    auto* settings = new QHBoxLayout;
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    c.enable = new TQCheckBox(panel);
    c.enable->setObjectName("chkDIEnable" + n);
    c.enable->setText("Enable");
    c.enable->setDbId(points.enable);
    c.enable->setTrueValue("True");
    connect(c.enable, &QAbstractButton::clicked, this, [this, box = c.enable] { chkDIEnableClick(box); });
    c.enable->OnDBPointValueChanged = [this, index](QWidget*, const QString&, bool&) {
        chkDIEnableDBPointValueChanged(index);
    };
    settings->addWidget(c.enable);

    c.name = new TQLabeledEdit(panel);
    c.name->setObjectName("edDI" + n + "Name");
    // Both pages number their four names from 1.
    c.name->setLabelCaption(QStringLiteral("Discrete Input %1 Name:").arg(index + 1));
    c.name->setLabelPos(TQLabeledEdit::lpLeft);
    c.name->Edit()->setFixedWidth(70);
    c.name->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    c.name->setMaxLength(6);
    c.name->setDbId(points.name);
    settings->addWidget(c.name);

    c.audit = new TQCheckBox(panel);
    c.audit->setObjectName("DiscreteInputAudit" + n);
    c.audit->setText("Alarm");
    c.audit->setDbId(points.audit);
    c.audit->setTrueValue("True");
    connect(c.audit, &QAbstractButton::clicked, this, [this, box = c.audit] { chkDIEnableClick(box); });
    settings->addWidget(c.audit);

    c.polarity = new QGroupBox("Polarity", panel);
    c.polarity->setObjectName("grpPolarity" + n);
    auto* polarityLayout = new QHBoxLayout(c.polarity);
    polarityLayout->setContentsMargins(6, 0, 6, 0);
    c.polarityOn = new TQRadioButton(c.polarity);
    c.polarityOn->setObjectName("PolarityOn" + n);
    c.polarityOn->setText("Active On");
    c.polarityOn->setDbId(points.polarity);
    c.polarityOn->setTrueValue("True");
    connect(c.polarityOn, &QAbstractButton::clicked, this, [this, b = c.polarityOn] { palPolarityClick(b, "True"); });
    c.polarityOff = new TQRadioButton(c.polarity);
    c.polarityOff->setObjectName("PolarityOff" + n);
    c.polarityOff->setText("Active Off");
    c.polarityOff->setDbId(points.polarity);
    c.polarityOff->setTrueValue("False");
    connect(c.polarityOff, &QAbstractButton::clicked, this,
            [this, b = c.polarityOff] { palPolarityClick(b, "False"); });
    polarityLayout->addWidget(c.polarityOn);
    polarityLayout->addWidget(c.polarityOff);
    settings->addWidget(c.polarity);
    settings->addStretch();
    column->addLayout(settings);
    column->addLayout(row);

    // Run selector: a column per stream, a row per run type.
    c.runSelector = new QGroupBox("Run Selector", panel);
    c.runSelector->setObjectName("grpRunSelector" + n);
    c.runSelector->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* runGrid = new QGridLayout(c.runSelector);
    runGrid->setVerticalSpacing(1);
    runGrid->setHorizontalSpacing(4);
    runGrid->setContentsMargins(4, 2, 4, 2);
    for (int s = 1; s <= analyzer::kStreams; ++s)
        for (int k = 0; k < analyzer::kRunTypes; ++k) {
            TQCheckBox* box = MakeMaskBox(true, inputmasks::runSelectorBoxName(s, k, points.input),
                                          inputmasks::runSelectorCaption(s, k), points.triggers,
                                          analyzer::runMaskBit(s, k), c.runSelector);
            c.runBoxes[static_cast<std::size_t>(s - 1)][static_cast<std::size_t>(k)] = box;
            runGrid->addWidget(box, k, s - 1);
        }
    row->addWidget(c.runSelector);

    // Actions: relays in the first column, solenoids in the second.
    c.actions = new QGroupBox("Actions", panel);
    c.actions->setObjectName("grpActions" + n);
    c.actions->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* actionGrid = new QGridLayout(c.actions);
    actionGrid->setVerticalSpacing(1);
    actionGrid->setHorizontalSpacing(4);
    actionGrid->setContentsMargins(4, 2, 4, 2);
    for (int r = 1; r <= analyzer::kRelays; ++r) {
        TQCheckBox* box = MakeMaskBox(false, inputmasks::relayBoxName(r, points.input), "Relay " + std::to_string(r),
                                      points.actions, analyzer::relayBit(r), c.actions);
        c.actionBoxes.push_back(box);
        actionGrid->addWidget(box, r - 1, 0);
    }
    for (int s = 1; s <= analyzer::kSolenoids; ++s) {
        TQCheckBox* box =
            MakeMaskBox(false, inputmasks::solenoidBoxName(s, points.input), "Solenoid " + std::to_string(s),
                        points.actions, analyzer::solenoidBit(s), c.actions);
        c.actionBoxes.push_back(box);
        actionGrid->addWidget(box, s - 1, 1);
    }
    row->addWidget(c.actions);
    row->addStretch();

    static_cast<QVBoxLayout*>(parent->layout())->addWidget(panel);
}

TQCheckBox* DiscreteInputPage::MakeMaskBox(bool wide, const std::string& name, const std::string& caption, int point,
                                           int bit, QWidget* parent)
{
    TQCheckBox* box = wide ? new TQCheckBox32(parent) : new TQCheckBox(parent);
    box->setObjectName(QString::fromStdString(name));
    box->setText(QString::fromStdString(caption));
    box->setDbId(point);
    box->setWatchBitNumber(static_cast<dbctl::WatchBit>(bit));
    box->setTrueValue("True");
    // The page stores the bit itself and writes the mask at once.
    box->OnPutToDatabase = [](QWidget*, bool& storeValue) { storeValue = false; };
    connect(box, &QAbstractButton::clicked, this, [this, box, wide] { MaskClick(box, wide); });
    return box;
}

TPageFrame::ScanIds DiscreteInputPage::ScanList() const
{
    return {inputmasks::scanList(kind_), {}};
}

void DiscreteInputPage::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    CautionBox(kind_.pageWord);
}

bool DiscreteInputPage::OwnScanPage() const
{
    return Database().expressScan.GetPage() == kind_.scanPage;
}

void DiscreteInputPage::chkDIEnableClick(TQCheckBox* box)
{
    if (OwnScanPage())
        Host().WriteSinglePoint(box->DbId(), box->isChecked() ? "True" : "False");
}

void DiscreteInputPage::palPolarityClick(TQRadioButton* button, const char* value)
{
    if (FirstEntry() || !OwnScanPage())
        return;
    Host().WriteSinglePoint(button->DbId(), value);
}

void DiscreteInputPage::MaskClick(TQCheckBox* box, bool runSelector)
{
    const int width = runSelector ? kRunSelectorWidth : kActionsWidth;
    PageHost* host = &Host();
    // A click that cannot reach the unit (the page not entered or not current, logged off) puts
    // the box back: the screen shows only bits the unit has.
    if (FirstEntry() || !OwnScanPage() || !host->LoggedOn()) {
        RevertMaskBox(box, width);
        return;
    }
    DataBase* db = &Database();
    const int id = box->DbId();
    const int bit = static_cast<int>(box->WatchBitNumber());
    const std::string text = inputmasks::clickText(width, bit, box->isChecked());
    bool taken = false;
    try {
        taken =
            runSelector && kind_.runSelectorReadOnly ? db->SetPointTextChecked(id, text) : db->SetPointText(id, text);
    } catch (const std::exception&) {
        taken = false;
    }
    if (!taken) {
        RevertMaskBox(box, width);
        return;
    }
    const bool runsNow = !host->CommandRunning();
    host->WriteSinglePoint(id, std::string());
    if (!runsNow)
        return;  // queued behind a running command: the write's answer repaints the box
    const DatabasePoint* point = db->GetPointById(id);
    const bool unitBit = point && ((unitMask(point) >> bit) & 1u) != 0;
    if (unitBit != box->isChecked()) {
        // The write did not reach the unit: the pending bit goes back to the unit's, so no later
        // write sends a bit the screen no longer shows.
        try {
            db->SetPointTextChecked(id, inputmasks::clickText(width, bit, unitBit));
        } catch (const std::exception&) {
        }
        RevertMaskBox(box, width);
    }
}

void DiscreteInputPage::RevertMaskBox(TQCheckBox* box, int)
{
    const DatabasePoint* point = Database().GetPointById(box->DbId());
    if (!point)
        return;
    box->setChecked(((unitMask(point) >> static_cast<int>(box->WatchBitNumber())) & 1u) != 0);
}

void DiscreteInputPage::chkDIEnableDBPointValueChanged(int index)
{
    InputControls& c = inputs_[static_cast<std::size_t>(index)];
    // An enabled input is locked: its settings are changed only while it is off.
    const bool locked = c.enable->isChecked();
    const QColor colour = locked ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black);
    c.polarity->setEnabled(!locked);
    c.runSelector->setEnabled(!locked);
    c.actions->setEnabled(!locked);
    c.audit->setEnabled(!locked);
    setTextColour(c.audit, colour);
    setTextColour(c.polarityOn, colour);
    setTextColour(c.polarityOff, colour);
    for (const auto& stream : c.runBoxes)
        for (TQCheckBox* box : stream)
            setTextColour(box, colour);
    for (TQCheckBox* box : c.actionBoxes)
        setTextColour(box, colour);
}

void DiscreteInputPage::lblStream2DBPointValueChanged(const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    if (!numtext::tryStrToInt64(value))
        return;
    showValue = false;
    const std::optional<QString> text = streamcount::displayText(value, streamcount::Words::Count);
    const std::optional<int> count = streamcount::streams(value);
    if (!text || !count)
        return;
    Host().SetStreamDisplay(*text);
    for (InputControls& c : inputs_)
        for (int s = 0; s < analyzer::kStreams; ++s)
            for (TQCheckBox* box : c.runBoxes[static_cast<std::size_t>(s)])
                box->setVisible(s < *count);
}
