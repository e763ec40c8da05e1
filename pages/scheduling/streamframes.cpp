#include "streamframes.h"

#include "dbchoices.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "textroom.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

using streamspage::Box;

namespace {

constexpr int kEditWidth = 64;

TQLabeledEdit* labeledEdit(const char* name, const QString& caption, dbctl::DataType type, QWidget* parent)
{
    auto* edit = new TQLabeledEdit(parent);
    edit->setObjectName(name);
    edit->setLabelPos(TQLabeledEdit::lpLeft);
    edit->setLabelCaption(caption);
    edit->setDataType(type);
    edit->Edit()->setFixedWidth(kEditWidth);
    return edit;
}

TQEdit* edit(const char* name, dbctl::DataType type, QWidget* parent)
{
    auto* e = new TQEdit(parent);
    e->setObjectName(name);
    e->setDataType(type);
    e->setFixedWidth(kEditWidth);
    return e;
}

TQCheckBox* checkBox(const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new TQCheckBox(parent);
    box->setObjectName(name);
    box->setText(caption);
    box->setTrueValue(QStringLiteral("True"));
    return box;
}

TQComboBox* choice(const char* name, const QStringList& items, QWidget* parent)
{
    auto* combo = new TQComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

QLabel* label(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

QGroupBox* group(const char* name, const QString& title, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

// The runs that share the H2S run's input rules; Total Sulphur and Reference 2 take whole numbers.
bool likeH2S(analyzer::RunType run)
{
    return run != analyzer::TotalSulphur && run != analyzer::Reference2;
}

}  // namespace

TfraAnaSetDefn::TfraAnaSetDefn(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fraAnaSetDefn"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    auto* band = new QHBoxLayout;
    band->setSpacing(6);
    band->addWidget(BuildTop(), 0, Qt::AlignTop);
    auto* middle = new QVBoxLayout;
    middle->addWidget(BuildOverride());
    middle->addWidget(BuildSwitching());
    middle->addStretch();
    band->addLayout(middle);
    band->addWidget(BuildSchedule(), 0, Qt::AlignTop);
    band->addStretch();
    column->addLayout(band);
    column->addWidget(BuildAlarms());
    column->addStretch();
}

QWidget* TfraAnaSetDefn::BuildTop()
{
    auto* top = new QWidget(this);
    top->setObjectName("pnlTop");
    auto* column = new QVBoxLayout(top);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    btnRequest_ = new TQAdvToolButton(top);
    btnRequest_->setObjectName("btnRequest");
    btnRequest_->setText("Request");
    btnRequest_->setEnabled(false);
    btnRequest_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnRequest_->setMinimumWidth(170);
    column->addWidget(btnRequest_);

    auto* name = labeledEdit("ledName", "Name", dbctl::dtString, top);
    name->setMaxLength(7);
    boxes_[static_cast<int>(Box::ledName)] = name;
    column->addWidget(name);
    auto* runs = labeledEdit("ledConsecRuns", "Consecutive Runs", dbctl::dtPosInt, top);
    boxes_[static_cast<int>(Box::ledConsecRuns)] = runs;
    column->addWidget(runs);
    auto* time = checkBox("chkTime", "Time", top);
    boxes_[static_cast<int>(Box::chkTime)] = time;
    column->addWidget(time);

    auto* calRow = new QHBoxLayout;
    lblStrmCalUsed_ = label("Stream Gain Used:", top);
    lblStrmCalUsed_->setObjectName("lblStrmCalUsed");
    calRow->addWidget(lblStrmCalUsed_);
    auto* calUsed = choice("strmCalUsed", {"Stream #1", "Stream #2", "Stream #3", "Stream #4"}, top);
    boxes_[static_cast<int>(Box::strmCalUsed)] = calUsed;
    calRow->addWidget(calUsed);
    calRow->addStretch();
    column->addLayout(calRow);

    pnlExtra_ = new QWidget(top);
    pnlExtra_->setObjectName("pnlExtra");
    auto* extra = new QVBoxLayout(pnlExtra_);
    extra->setContentsMargins(0, 0, 0, 0);
    extra->setSpacing(3);
    auto* average = labeledEdit("ledRunsToAvg", "Runs to Average", dbctl::dtPosInt, pnlExtra_);
    boxes_[static_cast<int>(Box::ledRunsToAvg)] = average;
    extra->addWidget(average);
    auto* gas = labeledEdit("ledCalGasConc", "Cal. Gas Concentration", dbctl::dtPosFloat, pnlExtra_);
    boxes_[static_cast<int>(Box::ledCalGasConc)] = gas;
    extra->addWidget(gas);
    column->addWidget(pnlExtra_);
    column->addStretch();
    return top;
}

QWidget* TfraAnaSetDefn::BuildSchedule()
{
    auto* side = new QWidget(this);
    side->setObjectName("pnlSchedule");
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    auto* frequency = group("gbFrequency", "Frequency", side);
    auto* frequencyLayout = new QVBoxLayout(frequency);
    frequencyLayout->setContentsMargins(4, 2, 4, 4);
    pnlSheduledFreq_ = new QWidget(frequency);
    pnlSheduledFreq_->setObjectName("pnlSheduledFreq");
    auto* grid = new QGridLayout(pnlSheduledFreq_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    auto* days =
        choice("edDays", {"Everyday", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
               pnlSheduledFreq_);
    boxes_[static_cast<int>(Box::edDays)] = days;
    grid->addWidget(label("Day Of Week", pnlSheduledFreq_), 0, 0);
    grid->addWidget(days, 0, 1);
    auto* hours = edit("edHours", dbctl::dtPosInt, pnlSheduledFreq_);
    hours->setText("8");
    hours->setRangeEdit(true);
    hours->setRangeLow(0);
    hours->setRangeHigh(23);
    boxes_[static_cast<int>(Box::edHours)] = hours;
    grid->addWidget(hours, 1, 0, Qt::AlignRight);
    grid->addWidget(label("o'clock", pnlSheduledFreq_), 1, 1);
    // A minute past 59 would reach the unit as a schedule it cannot keep: checked when entered.
    auto* minute = edit("edMinute", dbctl::dtPosInt, pnlSheduledFreq_);
    minute->setText("0");
    minute->setRangeEdit(true);
    minute->setRangeLow(0);
    minute->setRangeHigh(59);
    boxes_[static_cast<int>(Box::edMinute)] = minute;
    grid->addWidget(minute, 2, 0, Qt::AlignRight);
    grid->addWidget(label("Minute", pnlSheduledFreq_), 2, 1);
    frequencyLayout->addWidget(pnlSheduledFreq_);
    column->addWidget(frequency);

    auto* delays = new QWidget(side);
    delays->setObjectName("pnlDelayInterval");
    auto* delayGrid = new QGridLayout(delays);
    delayGrid->setContentsMargins(0, 0, 0, 0);
    delayGrid->setVerticalSpacing(3);
    auto* delay = labeledEdit("ledSampleDelay", "Sample Delay", dbctl::dtPosInt, delays);
    boxes_[static_cast<int>(Box::ledSampleDelay)] = delay;
    delayGrid->addWidget(delay, 0, 0, Qt::AlignRight);
    delayGrid->addWidget(label("s", delays), 0, 1);
    auto* interval = labeledEdit("ledSampleInterval", "Sample Interval", dbctl::dtPosInt, delays);
    boxes_[static_cast<int>(Box::ledSampleInterval)] = interval;
    delayGrid->addWidget(interval, 1, 0, Qt::AlignRight);
    delayGrid->addWidget(label("s", delays), 1, 1);
    column->addWidget(delays);

    auto* kFactorPanel = new QWidget(side);
    kFactorPanel->setObjectName("pnlKFactor");
    auto* kRow = new QHBoxLayout(kFactorPanel);
    kRow->setContentsMargins(0, 0, 0, 0);
    auto* kFactor = labeledEdit("ledKFactor", "TSC(mV)", dbctl::dtFloat, kFactorPanel);
    kFactor->setToolTip("Tape Saturation Cutoff ");
    boxes_[static_cast<int>(Box::ledKFactor)] = kFactor;
    kRow->addWidget(kFactor, 0, Qt::AlignRight);
    column->addWidget(kFactorPanel);
    column->addStretch();
    return side;
}

QWidget* TfraAnaSetDefn::BuildOverride()
{
    auto* box = group("gbAnalogOutputOverride", "Analog Output Override", this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(label("Enabled", box), 0, 0);
    grid->addWidget(label("Function", box), 0, 1);
    grid->addWidget(label("Channel", box), 0, 2);
    const QStringList channels = {"Analog Output #1", "Analog Output #2", "Analog Output #3",
                                  "Analog Output #4", "Analog Output #5", "Analog Output #6"};
    for (int n = 1; n <= 2; ++n) {
        auto* enable = checkBox(QStringLiteral("ckAOMgr%1Enable").arg(n), QString::number(n), box);
        auto* function = choice(n == 1 ? "cbAOMgr1Function" : "cbAOMgr2Function", {}, box);
        function->setMinimumContentsLength(18);
        function->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        auto* channel = choice(n == 1 ? "cbAOMgr1Channel" : "cbAOMgr2Channel", channels, box);
        grid->addWidget(enable, n, 0);
        grid->addWidget(function, n, 1);
        grid->addWidget(channel, n, 2);
        boxes_[static_cast<int>(n == 1 ? Box::ckAOMgr1Enable : Box::ckAOMgr2Enable)] = enable;
        boxes_[static_cast<int>(n == 1 ? Box::cbAOMgr1Function : Box::cbAOMgr2Function)] = function;
        boxes_[static_cast<int>(n == 1 ? Box::cbAOMgr1Channel : Box::cbAOMgr2Channel)] = channel;
        (n == 1 ? cbAOMgr1Function_ : cbAOMgr2Function_) = function;
    }
    return box;
}

std::vector<QWidget*> TfraAnaSetDefn::AddMaskRows(QGridLayout* grid, int row, int column, Box mask, QWidget* parent,
                                                  bool oneLine)
{
    const std::size_t m = static_cast<std::size_t>(
        std::find(streamspage::kMasks.begin(), streamspage::kMasks.end(), mask) - streamspage::kMasks.begin());
    const int solenoidRow = oneLine ? row : row + 1;
    const int solenoidColumn = oneLine ? column + analyzer::kRelays + 1 : column;
    std::vector<QWidget*> added = {label("Relays", parent), label("Solenoids", parent)};
    grid->addWidget(added[0], row, column);
    grid->addWidget(added[1], solenoidRow, solenoidColumn);
    for (int i = 0; i < analyzer::kRelays + analyzer::kSolenoids; ++i) {
        const bool solenoid = i >= analyzer::kRelays;
        const int number = solenoid ? i - analyzer::kRelays + 1 : i + 1;
        auto* box = checkBox(streamspage::maskBoxName(mask, solenoid, number), QString::number(number), parent);
        box->setWatchBitNumber(static_cast<dbctl::WatchBit>(analyzer::actionBit(!solenoid, number)));
        masks_[m][static_cast<std::size_t>(i)] = box;
        grid->addWidget(box, solenoid ? solenoidRow : row, (solenoid ? solenoidColumn : column) + number);
        added.push_back(box);
    }
    boxes_[static_cast<int>(mask)] = masks_[m][0];
    return added;
}

QWidget* TfraAnaSetDefn::BuildSwitching()
{
    auto* box = group("gbSwitching", "Switching", this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(2);
    AddMaskRows(grid, 0, 0, Box::Switching, box);
    return box;
}

QWidget* TfraAnaSetDefn::BuildAlarms()
{
    auto* box = group("gbAlarms", "Alarms", this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
    // Each alarm's relays and solenoids stand on its own line, so the page fits the window's
    // default height.
    constexpr int kActionsColumn = 2;
    constexpr int kActionsSpan = analyzer::kRelays + analyzer::kSolenoids + 2;
    grid->addWidget(label("Limit", box), 0, 1);
    grid->addWidget(label("Actions", box), 0, kActionsColumn, 1, kActionsSpan);

    struct AlarmRow {
        Box enable;
        const char* enableName;
        const char* caption;
        Box limit;
        const char* limitName;
        dbctl::DataType type;
        Box actions;
    };
    const AlarmRow rows[] = {
        {Box::ckAlarm1Enable, "ckAlarm1Enable", "High Alarm Enable", Box::edAlarm1Limit, "edAlarm1Limit",
         dbctl::dtPosFloat, Box::HighAlarmActions},
        {Box::ckAlarmDevEnable, "ckAlarmDevEnable", "%Deviation Enable", Box::edAlarmDevLimit, "edAlarmDevLimit",
         dbctl::dtPosFloat, Box::DeviationActions},
        {Box::ckPAAEnable, "ckPAAEnable", "High High Alarm Enable", Box::ledPAALimit, "ledPAALimit", dbctl::dtFloat,
         Box::HighHighActions},
        {Box::lockAlarmEnable, "lockAlarmEnable", "Lock Stream Alarm Enable", Box::lockAlarmLimit, "lockAlarmLimit",
         dbctl::dtFloat, Box::LockActions},
    };
    int row = 1;
    for (const AlarmRow& r : rows) {
        auto* enable = checkBox(r.enableName, r.caption, box);
        auto* limit = edit(r.limitName, r.type, box);
        boxes_[static_cast<int>(r.enable)] = enable;
        boxes_[static_cast<int>(r.limit)] = limit;
        grid->addWidget(enable, row, 0);
        grid->addWidget(limit, row, 1);
        const std::vector<QWidget*> actions = AddMaskRows(grid, row, kActionsColumn, r.actions, box, true);
        const bool runSpecific = r.enable == Box::ckPAAEnable || r.enable == Box::lockAlarmEnable;
        if (runSpecific) {
            for (QWidget* w : {static_cast<QWidget*>(enable), static_cast<QWidget*>(limit)})
                highHighAndLock_.push_back(w);
            highHighAndLock_.insert(highHighAndLock_.end(), actions.begin(), actions.end());
        }
        ++row;
        if (r.enable == Box::ckPAAEnable) {
            // The duration sits under its alarm's enable box.
            auto* durationRow = new QWidget(box);
            durationRow->setObjectName("pnlDuration");
            auto* line = new QHBoxLayout(durationRow);
            line->setContentsMargins(18, 0, 0, 0);
            line->addWidget(label("High High Alarm Duration", durationRow));
            // The unit keeps the duration in a byte: checked 0..255 when entered.
            auto* duration = edit("duration", dbctl::dtInt, durationRow);
            duration->setRangeEdit(true);
            duration->setRangeLow(0);
            duration->setRangeHigh(255);
            duration->setFixedWidth(44);
            boxes_[static_cast<int>(Box::duration)] = duration;
            line->addWidget(duration);
            line->addWidget(label("(0-255) s", durationRow));
            line->addStretch();
            grid->addWidget(durationRow, row, 0, 1, kActionsColumn);
            highHighAndLock_.push_back(durationRow);
            ++row;
        }
    }
    grid->setColumnStretch(kActionsColumn + kActionsSpan, 1);
    return box;
}

void TfraAnaSetDefn::Bind(int stream, int runType)
{
    using namespace streamspage;
    const analyzer::RunType run = analyzer::kStreamsPageOrder[static_cast<std::size_t>(runType)];
    const bool h2sRules = likeH2S(run) && stream != 2;

    static_cast<TQLabeledEdit*>(boxes_[static_cast<int>(Box::ledName)])->setMaxLength(likeH2S(run) ? 6 : 7);

    auto* kFactor = static_cast<TQLabeledEdit*>(boxes_[static_cast<int>(Box::ledKFactor)]);
    kFactor->setDataType(h2sRules ? dbctl::dtFloat : dbctl::dtPosInt);
    kFactor->setRangeEdit(h2sRules);
    kFactor->setRangeLow(h2sRules ? 1 : 0);
    kFactor->setRangeHigh(h2sRules ? 2500 : 0);

    auto* deviation = static_cast<TQEdit*>(boxes_[static_cast<int>(Box::edAlarmDevLimit)]);
    deviation->setRangeEdit(likeH2S(run));
    deviation->setRangeHigh(likeH2S(run) ? 100.0 : 0);

    auto* gas = static_cast<TQLabeledEdit*>(boxes_[static_cast<int>(Box::ledCalGasConc)]);
    if (stream != 2 && (run == analyzer::Calibration || run == analyzer::Reference1 || run == analyzer::Zero)) {
        gas->setRangeLow(run == analyzer::Calibration ? 1 : 0);
        gas->setRangeHigh(65535);
    }

    QString deviationCaption = QStringLiteral("%Deviation Enable");
    if (run == analyzer::TotalSulphur && (stream == 2 || stream == 3))
        deviationCaption = QStringLiteral("% Deviation Enable");
    else if (run == analyzer::Reference2 && stream >= 2)
        deviationCaption = QStringLiteral("Deviation Enable");
    static_cast<QCheckBox*>(boxes_[static_cast<int>(Box::ckAlarmDevEnable)])->setText(deviationCaption);

    const QString prefix = likeH2S(run) ? QStringLiteral("Stream 1 ") : QStringLiteral("Stream ");
    for (TQComboBox* f : {cbAOMgr1Function_, cbAOMgr2Function_}) {
        f->clear();
        for (const char* reading : {"Norm Reading", "Cal Reading", "Ref Reading", "Zero Reading"})
            f->addItem(prefix + QLatin1String(reading));
        f->setCurrentIndex(-1);
    }

    const bool extra = run != analyzer::H2S && run != analyzer::TotalSulphur;
    pnlExtra_->setVisible(extra);
    const bool alarmsOfRun = run == analyzer::H2S || run == analyzer::TotalSulphur;
    for (QWidget* w : highHighAndLock_)
        w->setVisible(alarmsOfRun);
    const bool calUsed = run != analyzer::Calibration && run != analyzer::Zero;
    lblStrmCalUsed_->setVisible(calUsed);
    boxes_[static_cast<int>(Box::strmCalUsed)]->setVisible(calUsed);

    for (int b = 0; b < kBoxCount; ++b) {
        const Box box = static_cast<Box>(b);
        if (box == Box::RunRequest || !boxes_[static_cast<std::size_t>(b)])
            continue;
        const std::optional<std::uint16_t> point = pointOf(stream, runType, box);
        const auto m = std::find(kMasks.begin(), kMasks.end(), box);
        if (m != kMasks.end()) {
            for (TQCheckBox* bit : masks_[static_cast<std::size_t>(m - kMasks.begin())])
                bit->setDbId(point ? *point : dbctl::kNoPoint);
        } else if (auto* control = dynamic_cast<DbControl*>(boxes_[static_cast<std::size_t>(b)])) {
            control->setDbId(point ? *point : dbctl::kNoPoint);
        }
    }

    btnRequest_->setText(requestCaption(stream, runType));
    btnRequest_->setToolTip(requestHint(stream, runType));
}

QWidget* TfraAnaSetDefn::BoxWidget(Box box) const
{
    if (box == Box::RunRequest || box == Box::Count)
        return nullptr;
    return boxes_[static_cast<std::size_t>(box)];
}

const std::array<TQCheckBox*, analyzer::kRelays + analyzer::kSolenoids>& TfraAnaSetDefn::MaskBoxes(Box mask) const
{
    const auto m = std::find(streamspage::kMasks.begin(), streamspage::kMasks.end(), mask);
    return masks_[m == streamspage::kMasks.end() ? 0 : static_cast<std::size_t>(m - streamspage::kMasks.begin())];
}

std::vector<TQCheckBox*> TfraAnaSetDefn::AlarmAndMaskBoxes() const
{
    std::vector<TQCheckBox*> all;
    for (Box b : {Box::ckAlarm1Enable, Box::ckAlarmDevEnable, Box::ckPAAEnable, Box::lockAlarmEnable})
        all.push_back(static_cast<TQCheckBox*>(boxes_[static_cast<std::size_t>(b)]));
    for (const auto& mask : masks_)
        all.insert(all.end(), mask.begin(), mask.end());
    return all;
}

void TfraAnaSetDefn::rbScheduledClick()
{
    pnlSheduledFreq_->setVisible(true);
}

void TfraAnaSetDefn::rbNormSeqClick()
{
    pnlSheduledFreq_->setVisible(false);
}

TfraStream::TfraStream(int stream, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fraStream%1").arg(stream));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* top = new QHBoxLayout;
    ledGainFactor_ = labeledEdit("ledGainFactor", "Gain Factor", dbctl::dtFloat, this);
    ledZeroOffset_ = labeledEdit("ledZeroOffset", "Zero Offset", dbctl::dtFloat, this);
    glAnalysisUnit_ = labeledEdit("glAnalysisUnit", "Analysis Units:", dbctl::dtString, this);
    // The units box holds the longest text a unit keeps.
    textroom::fitWidthTo(glAnalysisUnit_->Edit(), textroom::capitals(textroom::kUnitTextLength));
    for (TQLabeledEdit* e : {ledGainFactor_, ledZeroOffset_, glAnalysisUnit_})
        e->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    top->addWidget(ledGainFactor_);
    top->addSpacing(12);
    top->addWidget(ledZeroOffset_);
    top->addSpacing(12);
    top->addWidget(glAnalysisUnit_);
    top->addStretch();
    column->addLayout(top);
    for (Box box : {Box::ledGainFactor, Box::ledZeroOffset, Box::glAnalysisUnit}) {
        auto* control = box == Box::ledGainFactor   ? ledGainFactor_
                        : box == Box::ledZeroOffset ? ledZeroOffset_
                                                    : glAnalysisUnit_;
        if (const auto point = streamspage::pointOf(stream, streamspage::kStreamWide, box))
            control->setDbId(*point);
    }

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("PageControlAnaSetDefns");
    // Sheet names as the stream frame numbers them; the page index is the run type.
    static const char* const kSheets[] = {"TabSheet1", "TabSheet5", "TabSheet2", "TabSheet3", "TabSheet6", "TabSheet4"};
    static const char* const kCaptions[] = {"H2S",         "Total Sulphur", "Calibration ",
                                            "Reference 1", "Reference 2",   "Zero"};
    for (int r = 0; r < analyzer::kRunTypes; ++r) {
        auto* sheet = new QWidget(tabs_);
        sheet->setObjectName(kSheets[r]);
        auto* sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 0, 0, 0);
        auto* set = new TfraAnaSetDefn(sheet);
        set->setObjectName(QStringLiteral("fraAnaSetDefn%1").arg(r + 1));
        set->setSetIndex(r);
        set->Bind(stream, r);
        sheetLayout->addWidget(set);
        tabs_->addTab(sheet, kCaptions[r]);
        setFrames_[static_cast<std::size_t>(r)] = set;
    }
    column->addWidget(tabs_, 1);
}
