#include "outputpage.h"

#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "lamps.h"
#include "numbertext.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"
#include "textroom.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

const PageDecl TfraOutput::kDecl = {
    .frameName = "fraOutput",
    .sheetName = "TabSheetOutput",
    .caption = "Outputs ",
    .tab = 9,
    .level = 1,
    .scan = {.number = 5, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Outputs",
};

namespace {

QLabel* head(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    // Two-word heads take two lines, so both output groups fit side by side.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

TQLabeledEdit* labeledEdit(const QString& name, const QString& label, int point, QWidget* parent)
{
    auto* edit = new TQLabeledEdit(parent);
    edit->setObjectName(name);
    edit->setLabelPos(TQLabeledEdit::lpLeft);
    edit->setLabelCaption(label);
    edit->setDbId(point);
    return edit;
}

}  // namespace

TfraOutput::TfraOutput(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), analogOutputs_(services.analogOutputs)
{
    auto* page = new QVBoxLayout(this);

    auto* digital = new QGroupBox("Digital Outputs", this);
    digital->setObjectName("gbDigitalOutputs");
    auto* digitalRow = new QHBoxLayout(digital);
    digitalRow->addWidget(BuildDigitalGroup("gbRelays", "Relays", outputpage::kRelays.data(),
                                            static_cast<int>(outputpage::kRelays.size()), "RelayName", "RelayFSPOff",
                                            "RelayFSPOn"));
    digitalRow->addWidget(BuildDigitalGroup("gbSolenoids", "Solenoids", outputpage::kSolenoids.data(),
                                            static_cast<int>(outputpage::kSolenoids.size()), "SolenoidName",
                                            "SolenoidFSPOff", "SolenoidFSPOn"));
    digitalRow->addStretch();
    page->addWidget(digital);
    page->addWidget(BuildAnalogGroup());
    page->addStretch();

    streams_ = new TQLabel(this);
    streams_->setObjectName("lblStream2");
    streams_->setText("Stream 2");
    streams_->setDbId(pid::Streams);
    streams_->hide();
    streams_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        lblStream2DBPointValueChanged(value, showValue);
    };
}

QWidget* TfraOutput::BuildDigitalGroup(const char* name, const char* caption, const outputpage::DigitalOutput* rows,
                                       int count, const char* namePrefix, const char* offPrefix, const char* onPrefix)
{
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(name);
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(4);
    grid->addWidget(head("Description", group), 0, 0);
    auto* failSafe = new QWidget(group);
    auto* failSafeHead = new QVBoxLayout(failSafe);
    failSafeHead->setContentsMargins(0, 0, 0, 0);
    failSafeHead->setSpacing(0);
    failSafeHead->addWidget(head("Fail-Safe Position", failSafe), 0, Qt::AlignHCenter);
    failSafeHead->addWidget(new QLabel("Off       On", failSafe), 0, Qt::AlignHCenter);
    grid->addWidget(failSafe, 0, 1, 1, 2);
    grid->addWidget(head("Latch Enable", group), 0, 3, Qt::AlignHCenter);
    grid->addWidget(head("Latch State", group), 0, 4, Qt::AlignHCenter);
    grid->addWidget(head("Acknowledge", group), 0, 5, Qt::AlignHCenter);

    for (int i = 0; i < count; ++i) {
        const outputpage::DigitalOutput& out = rows[i];
        const int row = i + 1;
        const QString n = QString::number(out.number);
        const QString latch = QString::number(out.latchNumber);

        TQLabeledEdit* edit = labeledEdit(namePrefix + n, n, out.name, group);
        edit->setMaxLength(6);
        edit->Edit()->setFixedWidth(64);
        grid->addWidget(edit, row, 0);

        // Each row's pair is exclusive on its own.
        auto* pair = new QButtonGroup(group);
        pair->setObjectName(QStringLiteral("%1Group%2").arg(offPrefix).arg(n));
        auto* off = new TQRadioButton(group);
        off->setObjectName(offPrefix + n);
        off->setDbId(out.failSafe);
        off->setTrueValue("False");
        auto* on = new TQRadioButton(group);
        on->setObjectName(onPrefix + n);
        on->setDbId(out.failSafe);
        on->setTrueValue("True");
        pair->addButton(off);
        pair->addButton(on);
        grid->addWidget(off, row, 1, Qt::AlignHCenter);
        grid->addWidget(on, row, 2, Qt::AlignHCenter);

        auto* enable = new TQCheckBox(group);
        enable->setObjectName("ckLatchEnable" + latch);
        enable->setDbId(out.latchMask);
        enable->setTrueValue("True");
        grid->addWidget(enable, row, 3, Qt::AlignHCenter);

        auto* lamp = new TQImage(group);
        lamp->setObjectName("Lat" + latch);
        lamp->setFixedSize(16, 16);
        lamp->setPixmap(lamps::alarm(lamps::AlarmGrey));
        lamp->setDbId(out.latchState);
        lamp->setTrueValue("True");
        lamp->OnDBPointValueChanged = [this](QWidget* sender, const QString&, bool&) {
            Lat1DBPointValueChanged(sender);
        };
        grid->addWidget(lamp, row, 4, Qt::AlignHCenter);

        auto* button = new TQButton(group);
        button->setObjectName("btnLatch" + latch);
        button->setText(out.latchCaption);
        button->setUseDatabase(false);
        connect(button, &QPushButton::clicked, this, [this, point = out.latchState] { btnLatchClick(point); });
        grid->addWidget(button, row, 5);
    }
    grid->setRowStretch(count + 1, 1);
    return group;
}

QWidget* TfraOutput::BuildAnalogGroup()
{
    auto* group = new QGroupBox("Analog Outputs", this);
    group->setObjectName("gbAnalogOutputs");
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    grid->addWidget(head("Description", group), 0, 0);
    grid->addWidget(head("Minimum", group), 0, 1);
    grid->addWidget(head("Range", group), 0, 2);
    grid->addWidget(head("Parameter", group), 0, 3);
    for (const outputpage::AnalogOutput& out : outputpage::kAnalogOutputs) {
        const int row = out.number;
        const QString n = QString::number(out.number);
        TQLabeledEdit* desc = labeledEdit("edAODesc" + n, n, out.description, group);
        desc->setMaxLength(6);
        desc->Edit()->setFixedWidth(70);
        grid->addWidget(desc, row, 0);
        TQLabeledEdit* minimum = labeledEdit("edAOMin" + n, "", out.minimum, group);
        minimum->setDataType(dbctl::dtFloat);
        minimum->Edit()->setFixedWidth(90);
        grid->addWidget(minimum, row, 1);
        TQLabeledEdit* range = labeledEdit("edAORange" + n, "", out.range, group);
        range->setDataType(dbctl::dtFloat);
        range->Edit()->setFixedWidth(90);
        grid->addWidget(range, row, 2);

        auto* combo = new TQComboBox(group);
        combo->setObjectName("cbAOMgrFunction" + n);
        combo->setEditable(false);
        combo->setMinimumContentsLength(28);
        combo->setDbId(out.parameter);
        combo->OnDBPointValueChanged = [this, combo](QWidget*, const QString& value, bool& showValue) {
            cbAOMgrFunctionDBPointValueChanged(combo, value, showValue);
        };
        combos_[static_cast<std::size_t>(out.number - 1)] = combo;
        grid->addWidget(combo, row, 3);
    }
    grid->setColumnStretch(4, 1);
    return group;
}

TPageFrame::ScanIds TfraOutput::ScanList() const
{
    return {outputpage::scanList(), {}};
}

void TfraOutput::FillAOFunctions()
{
    const AnalogOutputCollection* choices = &analogOutputs_;
    for (TQComboBox* combo : combos_) {
        combo->clear();
        for (int i = 0; i < choices->GetCount(); ++i) {
            const ANALOGOUTPUT_INFO* item = choices->GetItem(i);
            combo->addItem(QString::fromStdString(item->name), static_cast<int>(item->pointId));
        }
        combo->setCurrentIndex(-1);
        textroom::fitWidthToItems(combo);
    }
}

void TfraOutput::RegisterPoints()
{
    if (FirstEntry())
        FillAOFunctions();
    TPageFrame::RegisterPoints();
    CautionBox("Outputs");
}

void TfraOutput::Lat1DBPointValueChanged(QWidget* sender)
{
    if (auto* lamp = qobject_cast<TQImage*>(sender))
        lamp->setPixmap(lamps::alarm(lamp->State() == 1 ? lamps::AlarmRed : lamps::AlarmGrey));
}

void TfraOutput::btnLatchClick(int latchState)
{
    PageHost* host = &Host();
    host->WriteSinglePoint(latchState, "False");
    // The read brings the latch state the unit now has, and with it the lamp.
    host->Queue("ExpressRead", "");
}

void TfraOutput::cbAOMgrFunctionDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    const std::optional<std::int64_t> id = numtext::tryStrToInt64(value);
    // A parameter that is no analog-output choice selects nothing: the box must not offer the
    // choice whose position happens to equal the point id.
    const int ordinal = id ? analogOutputs_.GetOrdinalById(static_cast<std::uint16_t>(*id)) : -1;
    combo->setCurrentIndex(ordinal);
    if (ordinal >= 0)
        showValue = false;
}

void TfraOutput::lblStream2DBPointValueChanged(const QString& value, bool& showValue)
{
    if (FirstEntry() || value.isEmpty())
        return;
    if (!numtext::tryStrToInt64(value))
        return;
    showValue = false;
    if (const std::optional<QString> text = streamcount::displayText(value, streamcount::Words::Count))
        Host().SetStreamDisplay(*text);
}
