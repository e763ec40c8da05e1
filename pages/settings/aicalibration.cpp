#include "aicalibration.h"

#include "database.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "pagehost.h"
#include "textroom.h"
#include "toolkitcolor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kRetryMs = 50;
constexpr int kBoxWidth = 52;

void paintBox(TQLabeledEdit* box, std::uint32_t colour)
{
    QPalette palette = box->Edit()->palette();
    palette.setColor(QPalette::Base, toolkitcolor::toQColor(colour));
    box->Edit()->setPalette(palette);
}

TQLabeledEdit* makeBox(QWidget* parent, const char* name, const char* caption, int point,
                       TQLabeledEdit::LabelPosition position)
{
    auto* box = new TQLabeledEdit(parent);
    box->setObjectName(name);
    box->setLabelPos(position);
    box->setLabelCaption(QString::fromLatin1(caption));
    box->setDbId(point);
    return box;
}

}  // namespace

TTfraAICalibration::TTfraAICalibration(PageHost& host, const AIFramePoints& points, int input, QWidget* parent)
        : QWidget(parent), host_(host), points_(points)
{
    setObjectName(QStringLiteral("fraAICalibration%1").arg(input));
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] { RunWrites(); });
    Build(input);
}

void TTfraAICalibration::Build(int input)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    group_ = new TQGroupBox(this);
    group_->setObjectName("QGroupBox1");
    group_->setTitle(QStringLiteral("Analog Input #%1").arg(input));
    outer->addWidget(group_);

    auto* column = new QVBoxLayout(group_);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(0);

    // The input's settings. The two texts, as wide as the longest a unit keeps, stand one under
    // the other with their captions on their left; the numbers stand beside them under their heads.
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(4);
    top->setVerticalSpacing(0);
    const char* heads[] = {"Description", "Minimum", "Range", "Value"};
    for (int c = 0; c < 4; ++c) {
        auto* head = new QLabel(QString::fromLatin1(heads[c]), group_);
        head->setObjectName(QStringLiteral("Label%1").arg(c + 1));
        top->addWidget(head, 0, c == 0 ? 0 : c + 1, Qt::AlignBottom);
    }
    desc_ = makeBox(group_, "edAIDesc1", "", points_.description, TQLabeledEdit::lpLeft);
    min_ = makeBox(group_, "edAIMin1", "", points_.minimum, TQLabeledEdit::lpLeft);
    range_ = makeBox(group_, "edAIRange1", "", points_.maximum, TQLabeledEdit::lpLeft);
    value_ = makeBox(group_, "edAIValue", "", points_.value, TQLabeledEdit::lpLeft);
    units_ = makeBox(group_, "edAIUnits", "Engineering Units ", points_.units, TQLabeledEdit::lpLeft);
    for (TQLabeledEdit* box : {min_, range_})
        box->setDataType(dbctl::dtFloat);
    value_->setReadOnly(true);
    value_->setDbPolled(true);
    for (TQLabeledEdit* box : {desc_, units_})
        box->Edit()->setFixedWidth(
            textroom::lineEditWidthFor(box->Edit(), textroom::capitals(textroom::kUnitTextLength)));
    top->addWidget(desc_, 0, 1, Qt::AlignRight);
    top->addWidget(units_, 1, 0, 1, 2, Qt::AlignRight);
    top->addWidget(min_, 1, 2);
    top->addWidget(range_, 1, 3);
    top->addWidget(value_, 1, 4);
    top->setColumnStretch(5, 1);
    column->addLayout(top);

    scaling_ = new TQGroupBox(group_);
    scaling_->setObjectName("gbScaling");
    scaling_->setTitle(QStringLiteral("Analog Input %1 Calibration").arg(input));
    column->addWidget(scaling_);

    auto* cal = new QGridLayout(scaling_);
    cal->setContentsMargins(4, 2, 4, 2);
    cal->setHorizontalSpacing(6);
    cal->setVerticalSpacing(1);
    rawZero_ = makeBox(scaling_, "edRawZero", "     Raw Zero", points_.rawZero, TQLabeledEdit::lpLeft);
    rawSpan_ = makeBox(scaling_, "edRawSpan", "     Raw Span", points_.rawSpan, TQLabeledEdit::lpLeft);
    scaledZero_ = makeBox(scaling_, "edScaledZero", "   Scaled Zero", points_.scaledZero, TQLabeledEdit::lpLeft);
    scaledSpan_ = makeBox(scaling_, "edScaledSpan", "   Scaled Span", points_.scaledSpan, TQLabeledEdit::lpLeft);
    raw_ = makeBox(scaling_, "edAIRaw", "      AI (Raw)", points_.raw, TQLabeledEdit::lpLeft);
    current_ = makeBox(scaling_, "edAI", "       AI (mA)", points_.current, TQLabeledEdit::lpLeft);
    ratio_ = makeBox(scaling_, "ledCalPercent", "Ratio", points_.ratio, TQLabeledEdit::lpLeft);
    ratio_->setToolTip(QStringLiteral("Test value as a percent of full scale"));
    for (TQLabeledEdit* box : {rawZero_, rawSpan_}) {
        box->setReadOnly(true);
        box->setDataType(dbctl::dtInt);
        box->setRangeEdit(true);
        box->setRangeLow(0);
        box->setRangeHigh(65535);
    }
    for (TQLabeledEdit* box : {scaledZero_, scaledSpan_}) {
        box->setDataType(dbctl::dtFloat);
        box->setRangeEdit(true);
        box->setRangeLow(3);
        box->setRangeHigh(23);
        box->setEnabled(false);
        box->Edit()->installEventFilter(this);
    }
    for (TQLabeledEdit* box : {raw_, current_, ratio_}) {
        box->setReadOnly(true);
        box->setDbPolled(true);
    }
    for (TQLabeledEdit* box :
         {min_, range_, rawZero_, rawSpan_, scaledZero_, scaledSpan_, raw_, current_, ratio_, value_})
        box->Edit()->setFixedWidth(kBoxWidth);
    for (TQLabeledEdit* box : {rawZero_, rawSpan_, scaledZero_, scaledSpan_, raw_, current_, ratio_, value_})
        paintBox(box, toolkitcolor::clScrollBar);
    calibrate_ = new TQAdvToolButton(scaling_);
    calibrate_->setObjectName("btnCalibrateAI1");
    calibrate_->setText(QStringLiteral("Calibrate AI%1").arg(input));
    calibrate_->setCheckable(true);
    connect(calibrate_, &QAbstractButton::toggled, this, [this] { btnCalibrateAI1Click(); });
    captureZero_ = new TQAdvToolButton(scaling_);
    captureZero_->setObjectName("btnCaptureZero");
    captureZero_->setText(QStringLiteral("Capture Zero"));
    captureSpan_ = new TQAdvToolButton(scaling_);
    captureSpan_->setObjectName("btnCaptureSpan");
    captureSpan_->setText(QStringLiteral("Capture Span"));
    for (TQAdvToolButton* button : {captureZero_, captureSpan_})
        button->setEnabled(false);
    for (TQAdvToolButton* button : {calibrate_, captureZero_, captureSpan_})
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(captureZero_, &QAbstractButton::clicked, this, [this] { btnCaptureZeroClick(); });
    connect(captureSpan_, &QAbstractButton::clicked, this, [this] { btnCaptureSpanClick(); });

    cal->addWidget(rawZero_, 0, 0, Qt::AlignRight);
    cal->addWidget(rawSpan_, 1, 0, Qt::AlignRight);
    cal->addWidget(scaledZero_, 0, 1, Qt::AlignRight);
    cal->addWidget(scaledSpan_, 1, 1, Qt::AlignRight);
    cal->addWidget(raw_, 0, 2, Qt::AlignRight);
    cal->addWidget(current_, 1, 2, Qt::AlignRight);
    // The buttons and the ratio share the last row, so four frames fit the tab.
    auto* last = new QHBoxLayout;
    last->setSpacing(4);
    last->addWidget(calibrate_);
    last->addWidget(captureZero_);
    last->addWidget(captureSpan_);
    last->addStretch();
    last->addWidget(ratio_);
    auto* percent = new QLabel(QStringLiteral("%"), scaling_);
    percent->setObjectName("Label5");
    last->addWidget(percent);
    cal->addLayout(last, 2, 0, 1, 3);
    cal->setColumnStretch(3, 1);

    ratio_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        if (const std::optional<QString> text = aicalmath::ratioPercentText(value)) {
            ratio_->setText(*text);
            showValue = false;
        }
    };
    current_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        current_->setText(aicalmath::currentText(value));
        showValue = false;
    };
}

std::vector<int> TTfraAICalibration::ScanIds() const
{
    std::vector<int> ids;
    for (const TQLabeledEdit* box :
         {desc_, min_, range_, value_, rawZero_, rawSpan_, scaledZero_, scaledSpan_, ratio_, current_, raw_, units_})
        ids.push_back(box->DbId());
    return ids;
}

std::vector<int> TTfraAICalibration::PolledIds() const
{
    return {value_->DbId(), ratio_->DbId(), current_->DbId(), raw_->DbId()};
}

// --- calibration -----------------------------------------------------------------------------

void TTfraAICalibration::btnCalibrateAI1Click()
{
    SwitchCalibration(calibrate_->isChecked());
}

void TTfraAICalibration::SwitchCalibration(bool on)
{
    for (QWidget* control : std::initializer_list<QWidget*>{captureZero_, captureSpan_, scaledSpan_, scaledZero_})
        control->setEnabled(on);
    for (TQLabeledEdit* box : {scaledZero_, scaledSpan_})
        paintBox(box, on ? toolkitcolor::clWindow : toolkitcolor::clScrollBar);
}

void TTfraAICalibration::btnCaptureZeroClick()
{
    Capture(rawZero_);
}

void TTfraAICalibration::btnCaptureSpanClick()
{
    Capture(rawSpan_);
}

void TTfraAICalibration::Capture(TQLabeledEdit* box)
{
    const QString rawText = raw_->Text().trimmed();
    const std::optional<std::int64_t> raw = numtext::tryStrToInt64(rawText);
    if (!raw) {
        DialogService::showMessage(QStringLiteral("'%1' is not a valid integer value").arg(rawText));
        return;
    }
    const QString before = box->Text();
    box->setText(QString::number(*raw));
    // A refused calibration sent nothing, so the box goes back to what the unit holds.
    if (!WriteCalibration())
        box->setText(before);
}

bool TTfraAICalibration::WriteCalibration()
{
    const aicalmath::Plan plan = aicalmath::plan(
        {scaledZero_->Text(), scaledSpan_->Text(), rawZero_->Text(), rawSpan_->Text()},
        {points_.scaledZero, points_.scaledSpan, points_.rawZero, points_.rawSpan, ScalingFactorId, ZeroOffsetId});
    if (!plan.refusal.isEmpty()) {
        DialogService::warn(plan.refusal);
        return false;
    }
    waiting_ = plan.writes;
    RunWrites();
    return true;
}

void TTfraAICalibration::RunWrites()
{
    PageHost* host = &host_;
    if (!waiting_)
        return;
    // Each write must run on its own: one queued behind another command would leave its outcome
    // unknown when the next is due.
    if (writing_ || host->CommandRunning()) {
        retry_.start();
        return;
    }
    const std::vector<aicalmath::Write> writes = std::move(*waiting_);
    waiting_.reset();
    writing_ = true;
    std::size_t written = 0;
    for (const aicalmath::Write& write : writes) {
        const std::uint64_t before = host->SinglePointWritesAccepted();
        host->WriteSinglePoint(write.pointId, write.text);
        if (host->SinglePointWritesAccepted() == before)
            break;
        ++written;
    }
    writing_ = false;
    if (written < writes.size())
        DialogService::warn(aicalmath::partialWriteText(scaling_->title(), writes, written));
    if (waiting_)
        retry_.start();
}

// --- Enter in a scaled box -------------------------------------------------------------------

bool TTfraAICalibration::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == scaledZero_->Edit())
                ScaledEnter(scaledZero_);
            else if (watched == scaledSpan_->Edit())
                ScaledEnter(scaledSpan_);
        }
    }
    // Every key goes on to the box.
    return QWidget::eventFilter(watched, event);
}

void TTfraAICalibration::ScaledEnter(TQLabeledEdit* box)
{
    // A text the box's own check refuses is left to the box, which says why.
    QString problem;
    const std::optional<QString> text = box->CheckedText(&problem);
    if (!text)
        return;
    host_.WriteSinglePoint(box->DbId(), dbctl::toPointText(*text));
}
