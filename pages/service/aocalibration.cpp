#include "aocalibration.h"

#include "aocalrules.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "floatformat.h"
#include "numbertext.h"
#include "pagehost.h"
#include "toolkitcolor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr std::uint32_t kClScrollBar = 0x80000000;  // the system colour of scroll bars

// A box's number, or the toolkit's conversion error shown and nothing.
std::optional<double> readNumber(const QLineEdit* line)
{
    const std::optional<double> value = numtext::tryStrToFiniteFloat(line->text());
    if (!value)
        DialogService::showMessage(dbctl::notNumberText(line->text()));
    return value;
}

std::optional<std::int64_t> readInteger(const QLineEdit* line)
{
    const std::optional<std::int64_t> value = numtext::tryStrToInt64(line->text());
    if (!value)
        DialogService::showMessage(dbctl::notIntegerText(line->text()));
    return value;
}

// A converter count: a whole number 0..65535, or the reason shown and nothing.
std::optional<std::int64_t> readCount(const QLineEdit* line)
{
    const std::optional<std::int64_t> value = readInteger(line);
    if (value && (*value < aocal::kCountLow || *value > aocal::kCountHigh)) {
        DialogService::warn("Please enter a value between 0 and 65535.");
        return std::nullopt;
    }
    return value;
}

DbTextEntry* entryOf(QWidget* box)
{
    if (auto* edit = qobject_cast<TQEdit*>(box))
        return edit;
    if (auto* labeled = qobject_cast<TQLabeledEdit*>(box))
        return labeled;
    return nullptr;
}

QLineEdit* lineOf(QWidget* box)
{
    if (auto* labeled = qobject_cast<TQLabeledEdit*>(box))
        return labeled->Edit();
    return qobject_cast<QLineEdit*>(box);
}

TQAdvToolButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new TQAdvToolButton(parent);
    b->setObjectName(name);
    b->setUseDatabase(false);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(false);
    return b;
}

// Clears the arrow guard however the click ends.
struct ArrowGuard {
    bool& flag;
    ~ArrowGuard() { flag = false; }
};

}  // namespace

// --- the arrows ---------------------------------------------------------------------------------

ArrowButtons::ArrowButtons(int min, int max, int position, int offset, QLineEdit* associate, QWidget* parent)
        : QWidget(parent), min_(min), max_(max), position_(position), offset_(offset), associate_(associate)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (bool up : {true, false}) {
        auto* arrow = new QToolButton(this);
        arrow->setObjectName(up ? "up" : "down");
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(16, 11);
        arrow->setAutoRepeat(true);
        connect(arrow, &QToolButton::clicked, this, [this, up] { Step(up); });
        column->addWidget(arrow);
    }
    setFixedWidth(16);
}

void ArrowButtons::setPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
}

void ArrowButtons::Step(bool up)
{
    // Arrows that own their box's number start from what it shows and show where they stop.
    if (ownsText_)
        if (const std::optional<std::int64_t> typed = numtext::tryStrToInt64(associate_->text()))
            setPosition(static_cast<int>(std::clamp<std::int64_t>(*typed, min_, max_)));
    setPosition(position_ + (up ? 1 : -1));
    if (ownsText_)
        associate_->setText(QString::number(position_));
    emit Click(up);
}

// --- the frame ----------------------------------------------------------------------------------

TfraAOCalibration::TfraAOCalibration(PageHost& host, int number, const BoundIds& bound, QWidget* parent)
        : QWidget(parent), host_(host)
{
    setObjectName(QStringLiteral("fraAOCalibration%1").arg(number));
    BuildForm(number, bound);
    btnCalibrateAO1Click();
}

void TfraAOCalibration::BuildForm(int number, const BoundIds& bound)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    btnCalibrateAO1_ = button("btnCalibrateAO1", QStringLiteral("Calibrate AO%1").arg(number), this);
    btnCalibrateAO1_->setCheckable(true);
    connect(btnCalibrateAO1_, &QToolButton::toggled, this, [this] { btnCalibrateAO1Click(); });
    outer->addWidget(btnCalibrateAO1_, 0, Qt::AlignLeft);

    gbScaling_ = new QGroupBox(QStringLiteral("Analog Output %1 Calibration").arg(number), this);
    gbScaling_->setObjectName("gbScaling");
    auto* grid = new QGridLayout(gbScaling_);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    const char* headNames[] = {"lblZero", "lblSpan", "labFailSafe"};
    const char* heads[] = {"Zero", "Span", "Fail-Safe"};
    for (int c = 0; c < ColumnCount; ++c) {
        auto* head = new QLabel(heads[c], gbScaling_);
        head->setObjectName(headNames[c]);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c + 1);
        switched_.push_back(head);
    }

    // A labeled edit's caption stands in the row's first column, so the three columns align.
    auto place = [&](QWidget* box, int row, int column, ArrowButtons* arrows) {
        if (auto* labeled = qobject_cast<TQLabeledEdit*>(box)) {
            if (!labeled->LabelCaption().isEmpty())
                grid->addWidget(labeled->EditLabel(), row, 0);
            else
                labeled->EditLabel()->hide();
        }
        auto* cell = new QWidget(gbScaling_);
        auto* pair = new QHBoxLayout(cell);
        pair->setContentsMargins(0, 0, 0, 0);
        pair->setSpacing(1);
        pair->addWidget(box);
        if (arrows)
            pair->addWidget(arrows);
        grid->addWidget(cell, row, column + 1);
    };
    auto labeledEdit = [&](const char* name, const QString& caption) {
        auto* edit = new TQLabeledEdit(gbScaling_);
        edit->setObjectName(name);
        edit->setLabelPos(TQLabeledEdit::lpLeft);
        edit->setLabelCaption(caption);
        return edit;
    };
    auto plainEdit = [&](const char* name) {
        auto* edit = new TQEdit(gbScaling_);
        edit->setObjectName(name);
        return edit;
    };

    // Currents in milliamperes (3 to 23) over the counts that give them (0 to 65535).
    QWidget* current[] = {labeledEdit("edRawZero", "Scaled Value"), plainEdit("edRawSpan"),
                          plainEdit("edFailSafeCurrent")};
    const int currentIds[] = {bound.rawZero, bound.rawSpan, bound.failSafeCurrent};
    QWidget* count[] = {labeledEdit("edScaledZero", "Raw Value"), plainEdit("edScaledSpan"),
                        labeledEdit("edFailSafePos", "")};
    const int countIds[] = {bound.scaledZero, bound.scaledSpan, bound.failSafePos};
    QWidget* meter[] = {labeledEdit("labMeterReadingZero", "Meter Reading "), plainEdit("edMeterReadingSpan"),
                        plainEdit("edMeterReadingFS")};
    for (int c = 0; c < ColumnCount; ++c) {
        DbTextEntry* cur = entryOf(current[c]);
        cur->setDataType(dbctl::dtFloat);
        cur->setRangeEdit(true);
        cur->setRangeLow(3);
        cur->setRangeHigh(23);
        cur->setDbId(currentIds[c]);
        cur->OnDBPointValueChanged = [this, c](QWidget*, const QString& value, bool&) { ValueArrived(c, value); };
        DbTextEntry* cnt = entryOf(count[c]);
        cnt->setDataType(dbctl::dtPosInt);
        cnt->setRangeEdit(true);
        cnt->setRangeLow(0);
        cnt->setRangeHigh(65535);
        cnt->setDbId(countIds[c]);
        lineOf(count[c])->setText("0");
        entryOf(meter[c])->setDataType(dbctl::dtFloat);

        currentBoxes_[c] = current[c];
        currentLines_[c] = lineOf(current[c]);
        countBoxes_[c] = count[c];
        countLines_[c] = lineOf(count[c]);
        meterLines_[c] = lineOf(meter[c]);
        for (QLineEdit* line : {currentLines_[c], countLines_[c], meterLines_[c]})
            line->setFixedWidth(58);

        auto* countArrows = new ArrowButtons(-32768, 32767, 0, 32768, countLines_[c], gbScaling_);
        countArrows->setObjectName(QStringLiteral("QUpDown%1").arg(c + 1));
        connect(countArrows, &ArrowButtons::Click, this, [this, countArrows] { udBitsClickb(countArrows); });
        auto* currentArrows = new ArrowButtons(3, 23, 3, 0, currentLines_[c], gbScaling_);
        currentArrows->setObjectName(QStringLiteral("QUpDown%1").arg(c + 4));
        connect(currentArrows, &ArrowButtons::Click, this, [this, currentArrows] { ubBitsClicka(currentArrows); });
        arrows_[c] = countArrows;
        arrows_[c + 3] = currentArrows;

        place(current[c], 1, c, currentArrows);
        place(count[c], 2, c, countArrows);
        place(meter[c], 3, c, nullptr);
        for (QWidget* box : {current[c], count[c], meter[c]}) {
            switched_.push_back(box);
            coloured_.push_back(lineOf(box));
        }
        switched_.push_back(countArrows);
        switched_.push_back(currentArrows);
    }

    // Enter writes the box's own point; Enter in a meter box writes the current box above it.
    for (int c = 0; c < ColumnCount; ++c) {
        QWidget* currentBox = currentBoxes_[c];
        QWidget* countBox = countBoxes_[c];
        connect(currentLines_[c], &QLineEdit::returnPressed, this, [this, currentBox] { WriteOwnBox(currentBox); });
        connect(meterLines_[c], &QLineEdit::returnPressed, this, [this, currentBox] { WriteOwnBox(currentBox); });
        connect(countLines_[c], &QLineEdit::returnPressed, this, [this, countBox] { WriteOwnBox(countBox); });
    }

    const char* autoNames[] = {"btnAutoCalZero", "btnAutoCalSpan", "btnAutoCalFS"};
    const char* driveNames[] = {"btnOutputZero", "btnOutputSpan", "btnOutputFailSafe"};
    const char* driveCaptions[] = {"Output Zero", "Output Span", "Fail-Safe"};
    for (int c = 0; c < ColumnCount; ++c) {
        auto* autoCal = button(autoNames[c], "Auto. Cal.", gbScaling_);
        connect(autoCal, &QToolButton::clicked, this, [this, c] { AutoCal(static_cast<Column>(c)); });
        grid->addWidget(autoCal, 4, c + 1);
        auto* drive = button(driveNames[c], driveCaptions[c], gbScaling_);
        connect(drive, &QToolButton::clicked, this, [this, c] { DriveColumn(static_cast<Column>(c)); });
        grid->addWidget(drive, 5, c + 1);
        for (QToolButton* b : {static_cast<QToolButton*>(autoCal), static_cast<QToolButton*>(drive)}) {
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            switched_.push_back(b);
        }
    }
    auto* capture = button("btnCaptureCalibration", "Capture", gbScaling_);
    QFont bold = capture->font();
    bold.setBold(true);
    capture->setFont(bold);
    capture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(capture, &QToolButton::clicked, this, &TfraAOCalibration::btnCaptureCalibrationClick);
    grid->addWidget(capture, 5, 0);
    switched_.push_back(capture);

    outer->addWidget(gbScaling_);
    outer->addWidget(BuildTestGroup());
}

QWidget* TfraAOCalibration::BuildTestGroup()
{
    auto* group = new QGroupBox("Analog Output Test", this);
    group->setObjectName("QGroupBox1");
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(6, 2, 6, 4);
    row->setSpacing(4);

    ledCalTestPercent_ = new TQLabeledEdit(group);
    ledCalTestPercent_->setObjectName("ledCalTestPercent");
    ledCalTestPercent_->setLabelPos(TQLabeledEdit::lpLeft);
    ledCalTestPercent_->setLabelCaption("Test (Percent)");
    ledCalTestPercent_->setToolTip("Test value as a percent of full scale");
    ledCalTestPercent_->setDataType(dbctl::dtPosInt);
    ledCalTestPercent_->setRangeEdit(true);
    ledCalTestPercent_->setRangeLow(0);
    ledCalTestPercent_->setRangeHigh(100);
    ledCalTestPercent_->setText("0");
    ledCalTestPercent_->Edit()->setFixedWidth(40);
    // The percent names no point of the unit: Enter in it sends nothing.
    row->addWidget(ledCalTestPercent_);

    udTest_ = new ArrowButtons(0, 100, 0, 0, ledCalTestPercent_->Edit(), group);
    udTest_->setObjectName("udTest");
    udTest_->setOwnsText(true);
    connect(udTest_, &ArrowButtons::Click, this, &TfraAOCalibration::udTestClick);
    row->addWidget(udTest_);

    ledTestRaw_ = new TQLabeledEdit(group);
    ledTestRaw_->setObjectName("ledTestRaw");
    ledTestRaw_->setLabelPos(TQLabeledEdit::lpLeft);
    ledTestRaw_->setLabelCaption("Test mA");
    ledTestRaw_->setReadOnly(true);
    ledTestRaw_->Edit()->setFixedWidth(58);
    row->addWidget(ledTestRaw_);

    auto* test = button("btnOutputTest", "Output Test", group);
    connect(test, &QToolButton::clicked, this, &TfraAOCalibration::btnOutputTestClick);
    row->addWidget(test);
    row->addStretch();

    switched_.insert(switched_.end(), {ledCalTestPercent_, udTest_, ledTestRaw_, test});
    coloured_.push_back(ledCalTestPercent_->Edit());
    return group;
}

void TfraAOCalibration::WritePoint(int pointId, const QString& text)
{
    host_.WriteSinglePoint(pointId, dbctl::toPointText(text));
}

void TfraAOCalibration::ReleaseBypasses()
{
    if (rawBypassOn_)
        WritePoint(RawBypassId, "False");
    if (factoryBypassOn_)
        WritePoint(FactoryBypassId, "False");
    rawBypassOn_ = false;
    factoryBypassOn_ = false;
}

// The arrows follow the switch too: they drive the output as the drive buttons do.
void TfraAOCalibration::btnCalibrateAO1Click()
{
    const bool on = btnCalibrateAO1_->isChecked();
    for (QWidget* control : switched_)
        control->setEnabled(on);
    const QColor colour = toolkitcolor::toQColor(on ? toolkitcolor::clWindow : kClScrollBar);
    for (QLineEdit* line : coloured_) {
        QPalette palette = line->palette();
        palette.setColor(QPalette::Base, colour);
        line->setPalette(palette);
    }
}

void TfraAOCalibration::DriveColumn(Column column)
{
    // A count the output cannot take is refused before the output leaves its mode.
    if (!readCount(countLines_[column]))
        return;
    WritePoint(FactoryBypassId, "False");
    WritePoint(RawBypassId, "True");
    factoryBypassOn_ = false;
    rawBypassOn_ = true;
    WritePoint(AnalogOutputId, countLines_[column]->text().trimmed());
}

void TfraAOCalibration::btnOutputZeroClick()
{
    DriveColumn(Zero);
}

void TfraAOCalibration::btnOutputSpanClick()
{
    DriveColumn(Span);
}

void TfraAOCalibration::btnOutputFailSafeClick()
{
    DriveColumn(FailSafe);
}

void TfraAOCalibration::AutoCal(Column column)
{
    const std::optional<double> wanted = readNumber(currentLines_[column]);
    if (!wanted)
        return;
    const std::optional<double> meter = readNumber(meterLines_[column]);
    if (!meter)
        return;
    if (*meter == 0) {
        DialogService::warn(QStringLiteral("Please input Meter Reading.\n") +
                            "And make sure the Meter Reading field not zero.\n" +
                            "This gives user a automatic calibration.\n");
        return;
    }
    const std::optional<double> raw = readNumber(countLines_[column]);
    if (!raw)
        return;
    const std::optional<std::int64_t> count = aocal::autoCalCount(*wanted, *meter, *raw);
    if (!count) {
        DialogService::warn(
            "The Raw Value this Meter Reading gives is outside 0 to 65535.\n"
            "Please check the Meter Reading and the Scaled Value.");
        return;
    }
    countLines_[column]->setText(QString::number(*count));
    DriveColumn(column);
}

void TfraAOCalibration::btnAutoCalZeroClick()
{
    AutoCal(Zero);
}

void TfraAOCalibration::btnAutoCalSpanClick()
{
    AutoCal(Span);
}

void TfraAOCalibration::btnAutoCalFSClick()
{
    AutoCal(FailSafe);
}

void TfraAOCalibration::btnCaptureCalibrationClick()
{
    // Every box is checked before the first write, so a capture is stored whole or not at all.
    QWidget* order[] = {currentBoxes_[Zero], currentBoxes_[Span],     countBoxes_[Zero],
                        countBoxes_[Span],   currentBoxes_[FailSafe], countBoxes_[FailSafe]};
    std::vector<QString> texts;
    for (QWidget* box : order) {
        const std::optional<QString> text = CheckedText(box, true);
        if (!text)
            return;
        texts.push_back(*text);
    }
    const std::int64_t zero = *numtext::tryStrToInt64(texts[2]);
    const std::int64_t span = *numtext::tryStrToInt64(texts[3]);
    // The unit divides by the scaling factor.
    if (span == zero) {
        DialogService::warn(
            "The Raw Span Value must differ from the Raw Zero Value.\nThe calibration was not captured.");
        return;
    }
    WritePoint(FactoryBypassId, "False");
    WritePoint(RawBypassId, "False");
    factoryBypassOn_ = false;
    rawBypassOn_ = false;
    for (std::size_t i = 0; i < std::size(order); ++i)
        WritePoint(entryOf(order[i])->DbId(), texts[i]);
    WritePoint(ScalingFactorId, QString::number(span - zero));
    WritePoint(ZeroOffsetId, texts[2]);
}

void TfraAOCalibration::SwitchToRaw()
{
    if (!rawBypassOn_) {
        WritePoint(RawBypassId, "True");
        rawBypassOn_ = true;
    }
    if (factoryBypassOn_) {
        WritePoint(FactoryBypassId, "False");
        factoryBypassOn_ = false;
    }
}

void TfraAOCalibration::udBitsClickb(ArrowButtons* sender)
{
    if (inArrowClick_)
        return;
    inArrowClick_ = true;
    ArrowGuard guard{inArrowClick_};
    if (!sender || !sender->Associate())
        return;
    QLineEdit* box = sender->Associate();
    const std::optional<std::int64_t> value = readInteger(box);
    if (!value)
        return;
    const aocal::ArrowClick click = aocal::arrowClick(*value, sender->Position(), sender->Offset());
    sender->setPosition(click.position);
    if (click.stepped)
        box->setText(click.text);
    if (!readCount(box))
        return;
    SwitchToRaw();
    WritePoint(AnalogOutputId, box->text().trimmed());
}

void TfraAOCalibration::ubBitsClicka(ArrowButtons* sender)
{
    if (inArrowClick_)
        return;
    inArrowClick_ = true;
    ArrowGuard guard{inArrowClick_};
    if (!sender || !sender->Associate())
        return;
    const std::optional<double> value = readNumber(sender->Associate());
    if (!value || !std::isfinite(*value))
        return;
    const double whole = std::clamp(std::trunc(*value), -1e9, 1e9);
    const aocal::ArrowClick click = aocal::arrowClick(static_cast<std::int64_t>(whole), sender->Position(), 0);
    sender->setPosition(click.position);
    if (click.stepped)
        sender->Associate()->setText(click.text);
}

void TfraAOCalibration::ValueArrived(int column, const QString& value)
{
    const std::optional<double> number = numtext::tryStrToFiniteFloat(value);
    if (number && std::isfinite(*number))
        arrows_[static_cast<std::size_t>(column) + 3]->setPosition(
            static_cast<int>(std::clamp(std::trunc(*number), -1e9, 1e9)));
}

void TfraAOCalibration::btnOutputTestClick()
{
    // A percent the test cannot run with leaves the output as it is.
    if (!TestPercent())
        return;
    WritePoint(RawBypassId, "False");
    WritePoint(FactoryBypassId, "True");
    rawBypassOn_ = false;
    factoryBypassOn_ = true;
    RunOutputTest();
}

void TfraAOCalibration::udTestClick()
{
    if (!TestPercent())
        return;
    if (rawBypassOn_) {
        WritePoint(RawBypassId, "False");
        rawBypassOn_ = false;
    }
    if (!factoryBypassOn_) {
        WritePoint(FactoryBypassId, "True");
        factoryBypassOn_ = true;
    }
    RunOutputTest();
}

std::optional<int> TfraAOCalibration::TestPercent() const
{
    const std::optional<std::int64_t> percent = readInteger(ledCalTestPercent_->Edit());
    if (!percent)
        return std::nullopt;
    if (*percent < 0 || *percent > 100) {
        DialogService::warn("Please enter a value between 0 and 100.");
        return std::nullopt;
    }
    return static_cast<int>(*percent);
}

void TfraAOCalibration::RunOutputTest()
{
    const std::optional<int> percent = TestPercent();
    if (!percent)
        return;
    WritePoint(ScaledOutputId, aocal::fractionText(*percent));
    const std::optional<double> zero = readNumber(currentLines_[Zero]);
    if (!zero)
        return;
    const std::optional<double> span = readNumber(currentLines_[Span]);
    if (!span)
        return;
    const double current = aocal::testCurrent(*zero, *span, static_cast<double>(*percent) * 0.01);
    ledTestRaw_->setText(QString::fromStdString(floatfmt::toolkitText(current)));
}

std::optional<QString> TfraAOCalibration::CheckedText(QWidget* box, bool tell) const
{
    DbTextEntry* entry = entryOf(box);
    QString problem;
    std::optional<QString> text = entry->CheckedText(&problem);
    // A box that holds no number has no value to send (an empty write would send the point's
    // pending value).
    if (text && !numtext::tryStrToFiniteFloat(*text)) {
        problem = dbctl::notNumberText(*text);
        text.reset();
    }
    if (!text && tell)
        DialogService::showMessage(problem);
    return text;
}

void TfraAOCalibration::WriteOwnBox(QWidget* box)
{
    // A text the box refuses is not sent; the box says why when it takes the edit.
    if (const std::optional<QString> text = CheckedText(box, false))
        WritePoint(entryOf(box)->DbId(), *text);
}
