#include "analogsupply.h"

#include "dbcontrol.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "floatformat.h"
#include "numbertext.h"
#include "pagehost.h"
#include "pointids.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace analogsupply {

const SupplyPoints kSupply1 = {1,
                               pid::AnalogSupply1OperatingVoltage,
                               pid::AnalogSupply1OperatingPosition,
                               pid::AnalogSupply1BypassVoltage,
                               pid::AnalogSupply1BypassPosition,
                               pid::AnalogSupply1Description};
const SupplyPoints kSupply2 = {2,
                               pid::AnalogSupply2OperatingVoltage,
                               pid::AnalogSupply2OperatingPosition,
                               pid::AnalogSupply2BypassVoltage,
                               pid::AnalogSupply2BypassPosition,
                               pid::AnalogSupply2Description};

std::optional<ArrowResult> rawArrowClick(const QString& boxText, int position, int step)
{
    const std::optional<std::int64_t> count = numtext::tryStrToInt64(boxText);
    if (!count)
        return std::nullopt;
    const std::int64_t shown = static_cast<std::int64_t>(position) + kArrowOffset;
    const std::int64_t distance = *count > shown ? *count - shown : shown - *count;
    if (distance > step)
        return ArrowResult{static_cast<std::int16_t>(static_cast<std::uint16_t>(*count - kArrowOffset)), boxText};
    return ArrowResult{position, QString::number(shown)};
}

std::optional<QString> voltageArrowClick(const QString& boxText, int direction)
{
    const std::optional<double> volts = numtext::tryStrToFiniteFloat(boxText);
    if (!volts || !std::isfinite(*volts))
        return std::nullopt;
    // Steps land on whole tenths, so repeated clicks do not gather rounding noise.
    const double stepped = std::round(*volts * 10.0 + direction) / 10.0;
    return QString::fromStdString(floatfmt::toolkitText(stepped));
}

}  // namespace analogsupply

// --- arrows ----------------------------------------------------------------------------------------

SupplyUpDown::SupplyUpDown(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("btnUp");
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName("btnDown");
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        column->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SupplyUpDown::setPosition(int position)
{
    position_ = std::clamp(position, -analogsupply::kArrowOffset, analogsupply::kArrowOffset - 1);
}

void SupplyUpDown::Step(int direction)
{
    setPosition(position_ + direction);
    if (OnClick)
        OnClick(direction);
}

// --- frame -----------------------------------------------------------------------------------------

namespace {

void paintBox(QWidget* line, bool enabled)
{
    // An editable box is white, a locked one grey, whatever the style draws for disabled boxes.
    QPalette palette = line->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(enabled ? QPalette::Base : QPalette::Button));
    line->setPalette(palette);
}

}  // namespace

TfmAnalogSupply::TfmAnalogSupply(PageHost& host, const analogsupply::SupplyPoints& points, QWidget* parent)
        : QWidget(parent), host_(host)
{
    setObjectName("fmAnalogSupply");
    const QString n = QString::number(points.number);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    auto* head = new QHBoxLayout;
    btnCalibrateAS1_ = new TQAdvToolButton(this);
    btnCalibrateAS1_->setObjectName("btnCalibrateAS1");
    btnCalibrateAS1_->setText("Calibrate AS" + n);
    btnCalibrateAS1_->setCheckable(true);
    connect(btnCalibrateAS1_, &QToolButton::toggled, this, [this] { btnCalibrateAS1Click(); });
    head->addWidget(btnCalibrateAS1_);
    auto* descLabel = new QLabel("Supply " + n + " Description:", this);
    descLabel->setObjectName("lblDescription");
    head->addWidget(descLabel);
    edASDesc1_ = new TQLabeledEdit(this);
    edASDesc1_->setObjectName("edASDesc1");
    edASDesc1_->setLabelCaption("");
    edASDesc1_->EditLabel()->setVisible(false);
    edASDesc1_->setDbId(points.description);
    head->addWidget(edASDesc1_, 1);
    column->addLayout(head);

    gbScaling_ = new QGroupBox("Analog Supply " + n + " Calibration", this);
    gbScaling_->setObjectName("gbScaling");
    auto* grid = new QGridLayout(gbScaling_);
    grid->setHorizontalSpacing(4);
    lblOutput_ = new QLabel("Output", gbScaling_);
    lblOutput_->setObjectName("lblOutput");
    labFailSafe_ = new QLabel("Bypass Position", gbScaling_);
    labFailSafe_->setObjectName("labFailSafe");
    grid->addWidget(lblOutput_, 0, 0, Qt::AlignRight);
    grid->addWidget(labFailSafe_, 0, 2);

    auto labeled = [&](const char* name, const char* caption, int point, dbctl::DataType type) {
        auto* edit = new TQLabeledEdit(gbScaling_);
        edit->setObjectName(name);
        edit->setLabelCaption(caption);
        edit->setLabelPos(TQLabeledEdit::lpLeft);
        edit->setDataType(type);
        edit->setDbId(point);
        edit->Edit()->setFixedWidth(80);
        if (type == dbctl::dtPosInt) {
            edit->setRangeEdit(true);
            edit->setRangeLow(0);
            edit->setRangeHigh(65535);
        }
        return edit;
    };
    edOutputVoltage_ = labeled("edOutputVoltage", "Voltage", points.operatingVoltage, dbctl::dtFloat);
    edOutputVoltage_->setText("0");
    edOutputRaw_ = labeled("edOutputRaw", "Raw", points.operatingPosition, dbctl::dtPosInt);
    edFailSafeCurrent_ = new TQEdit(gbScaling_);
    edFailSafeCurrent_->setObjectName("edFailSafeCurrent");
    edFailSafeCurrent_->setDataType(dbctl::dtFloat);
    edFailSafeCurrent_->setDbId(points.bypassVoltage);
    edFailSafeCurrent_->setText("0");
    edFailSafeCurrent_->setFixedWidth(80);
    // The row captions take one width, so the two boxes of the column line up.
    for (TQLabeledEdit* edit : {edOutputVoltage_, edOutputRaw_})
        edit->EditLabel()->setFixedWidth(48);
    edFailSafePos_ = labeled("edFailSafePos", "", points.bypassPosition, dbctl::dtPosInt);
    edFailSafePos_->EditLabel()->setVisible(false);

    QWidget* boxes[4] = {edOutputVoltage_, edOutputRaw_, edFailSafeCurrent_, edFailSafePos_};
    for (int i = 0; i < 4; ++i) {
        auto* arrow = new SupplyUpDown(gbScaling_);
        arrow->setObjectName(QStringLiteral("QUpDown%1").arg(i + 1));
        arrow->OnClick = [this, i](int direction) { udBitsClick(i + 1, direction); };
        arrows_[i] = arrow;
        auto* cell = new QHBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(boxes[i]);
        cell->addWidget(arrow);
        cell->addStretch();
        grid->addLayout(cell, 1 + i % 2, i < 2 ? 0 : 2);
        QWidget* box = boxes[i];
        // Enter writes the box's own point at once; the key still reaches the box.
        connect(LineOf(box), &QLineEdit::returnPressed, this, [this, box] { WriteBox(box); });
    }
    grid->setColumnMinimumWidth(1, 12);
    grid->setColumnStretch(3, 1);

    btnCaptureCalibration_ = new TQAdvToolButton(gbScaling_);
    btnCaptureCalibration_->setObjectName("btnCaptureCalibration");
    btnCaptureCalibration_->setText("Capture Calibration");
    connect(btnCaptureCalibration_, &QToolButton::clicked, this, [this] { btnCaptureCalibrationClick(); });
    grid->addWidget(btnCaptureCalibration_, 3, 0, 1, 3, Qt::AlignLeft);
    column->addWidget(gbScaling_);

    btnCalibrateAS1Click();
}

QLineEdit* TfmAnalogSupply::LineOf(QWidget* box) const
{
    if (auto* labeled = qobject_cast<TQLabeledEdit*>(box))
        return labeled->Edit();
    return qobject_cast<QLineEdit*>(box);
}

int TfmAnalogSupply::PointOf(QWidget* box) const
{
    return box->property("DbId").toInt();
}

void TfmAnalogSupply::btnCalibrateAS1Click()
{
    const bool on = btnCalibrateAS1_->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{edOutputVoltage_, edOutputRaw_, edFailSafeCurrent_, edFailSafePos_, lblOutput_,
                                         labFailSafe_, btnCaptureCalibration_})
        control->setEnabled(on);
    for (QWidget* box :
         std::initializer_list<QWidget*>{edOutputVoltage_, edOutputRaw_, edFailSafeCurrent_, edFailSafePos_})
        paintBox(LineOf(box), on);
}

std::optional<QString> TfmAnalogSupply::CheckedText(QWidget* box) const
{
    // A raw count beyond 0..65535 would reach the unit cut to 16 bits, another position than the
    // one shown: the box's own checks come first, and say why once.
    return dynamic_cast<DbTextEntry*>(box)->CheckedText();
}

void TfmAnalogSupply::WriteBox(QWidget* box)
{
    if (const std::optional<QString> text = CheckedText(box))
        host_.WriteSinglePoint(PointOf(box), dbctl::toPointText(*text));
}

void TfmAnalogSupply::udBitsClick(int arrow, int direction)
{
    if (InArrowClick)
        return;
    InArrowClick = true;
    SupplyUpDown* upDown = arrows_[arrow - 1];
    QWidget* box = arrow == 1   ? static_cast<QWidget*>(edOutputVoltage_)
                   : arrow == 2 ? static_cast<QWidget*>(edOutputRaw_)
                   : arrow == 3 ? static_cast<QWidget*>(edFailSafeCurrent_)
                                : static_cast<QWidget*>(edFailSafePos_);
    QLineEdit* line = LineOf(box);
    const QString text = line->text();
    const bool voltage = arrow == 1 || arrow == 3;
    if (voltage) {
        if (const std::optional<QString> stepped = analogsupply::voltageArrowClick(text, direction)) {
            line->setText(*stepped);
            WriteBox(box);
        } else {
            DialogService::showMessage(dbctl::notNumberText(text));
        }
    } else if (const std::optional<analogsupply::ArrowResult> result =
                   analogsupply::rawArrowClick(text, upDown->Position())) {
        upDown->setPosition(result->position);
        line->setText(result->text);
        WriteBox(box);
    } else {
        DialogService::showMessage(dbctl::notIntegerText(text));
    }
    InArrowClick = false;
}

void TfmAnalogSupply::btnCaptureCalibrationClick()
{
    // Every box is checked before the first write: a capture is stored whole or not at all.
    QWidget* const order[] = {edOutputVoltage_, edOutputRaw_, edFailSafeCurrent_, edFailSafePos_};
    std::vector<QString> texts;
    for (QWidget* box : order) {
        const std::optional<QString> text = CheckedText(box);
        if (!text)
            return;
        texts.push_back(*text);
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        host_.WriteSinglePoint(PointOf(order[i]), dbctl::toPointText(texts[i]));
}
