#include "timerspage.h"

#include "controlplace.h"
#include "database.h"
#include "dbcontrol.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "observercomponents.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"
#include "ui_timersetup.h"
#include "winmsg.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <cstring>

using timerpage::TimerValues;

namespace {
constexpr int kTimersPerTab = 6;
}  // namespace

TfrmTimerSetup::TfrmTimerSetup(int timerNumber, QWidget* parent)
        : QFrame(parent), ui_(std::make_unique<Ui::TfrmTimerSetup>()), number_(timerNumber)
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("frmTimerSetup%1").arg(timerNumber));
    // Six timers side by side fit the page only a size below the window's own text.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() - 1);
    setFont(small);
    // Hidden run boxes give their room to the space below the groups, not between the boxes.
    for (QGroupBox* group : {ui_->Schedule, ui_->Analysis, ui_->Sequencer})
        group->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    ui_->lblTimer->setText(QStringLiteral("Timer #%1").arg(timerNumber));
    setProperty(controlplace::kPlaceProperty, ui_->lblTimer->text());
    ui_->edDays->setCurrentIndex(-1);

    const bool start = timerpage::isStartTimer(timerNumber);
    const QString word = timerNumber <= kTimersPerTab ? QStringLiteral("Sequencers") : QStringLiteral("Sequencer");
    ui_->Sequencer->setTitle(word + (start ? QStringLiteral(" - (Start)") : QStringLiteral(" - (Stop)")));
    ui_->SequencerEnable->setText(start ? QStringLiteral("Start") : QStringLiteral("Stop"));

    for (int s = 1; s <= analyzer::kStreams; ++s)
        for (int r = 0; r < analyzer::kRunTypes; ++r)
            runBoxes_[analyzer::runMaskBit(s, r)] = findChild<QCheckBox*>(timerpage::runBoxName(s, r));
    for (int m = 0; m < timerpage::kManualSequences; ++m) {
        QCheckBox* box = findChild<QCheckBox*>(QStringLiteral("S1M%1").arg(m + 1));
        box->setText(QStringLiteral("Manual Sequencer #%1").arg(m + 1));
        box->setVisible(start);
        manualBoxes_[m] = box;
    }

    connect(ui_->edDays, qOverload<int>(&QComboBox::activated), this, &TfrmTimerSetup::DayChosen);
    connect(ui_->edHours, &QLineEdit::editingFinished, this, [this] { HourEntered(false); });
    connect(ui_->edMinute, &QLineEdit::editingFinished, this, [this] { MinuteEntered(false); });
    connect(ui_->AnalysisEnable, &QCheckBox::clicked, this, &TfrmTimerSetup::AnalysisEnableClick);
    // The odd timers' "Start" also carries the hidden manual-enable bit; "Stop" only the enable.
    if (start)
        connect(ui_->SequencerEnable, &QCheckBox::clicked, this, &TfrmTimerSetup::SequencerEnableClick);
    else
        connect(ui_->SequencerEnable, &QCheckBox::clicked, this, &TfrmTimerSetup::AnalysisEnableClick);
    for (QCheckBox* box : runBoxes_)
        connect(box, &QCheckBox::clicked, this, &TfrmTimerSetup::BoxClicked);
    for (QCheckBox* box : manualBoxes_)
        connect(box, &QCheckBox::clicked, this, &TfrmTimerSetup::BoxClicked);
    Show();
}

TfrmTimerSetup::~TfrmTimerSetup() = default;

void TfrmTimerSetup::SetValues(const TimerValues& values)
{
    values_ = values;
    Show();
}

void TfrmTimerSetup::Show()
{
    ui_->Enable->setChecked(values_.enable);
    ui_->edDays->setCurrentIndex(values_.dayIndex());
    ui_->edHours->setText(QString::number(values_.hour));
    ui_->edMinute->setText(QString::number(values_.minute));
    ui_->AnalysisEnable->setChecked(values_.analysisEnable);
    for (int i = 0; i < analyzer::kRunMaskBits; ++i)
        runBoxes_[i]->setChecked(values_.runs[i]);
    ui_->SequencerEnable->setChecked(values_.sequencerEnable);
    ui_->ManEnable->setChecked(values_.manEnable);
    for (int m = 0; m < timerpage::kManualSequences; ++m)
        manualBoxes_[m]->setChecked(values_.manual[m]);
}

void TfrmTimerSetup::ShowStreams(int count)
{
    for (int s = 1; s <= analyzer::kStreams; ++s)
        for (int r = 0; r < analyzer::kRunTypes; ++r)
            RunBox(s, r)->setVisible(s <= count);
}

void TfrmTimerSetup::DayChosen(int index)
{
    if (index < 0 || index >= timerpage::kDays)
        return;
    values_.day = static_cast<std::uint8_t>(index);
    emit Edited();
}

bool TfrmTimerSetup::HourEntered(bool atWrite)
{
    return BoxEntered(ui_->edHours, &timerpage::parseHour, values_.hour, atWrite);
}

bool TfrmTimerSetup::MinuteEntered(bool atWrite)
{
    return BoxEntered(ui_->edMinute, &timerpage::parseMinute, values_.minute, atWrite);
}

// As the user ends an edit, a refused text is replaced by the last good value before the message
// is shown, so that the focus change the message box brings does not refuse it a second time.
// At a write the text stays (it may be the unit's own value, which has no good value to go back
// to): the message names the timer and the box is shown with the focus in it, to be mended.
bool TfrmTimerSetup::BoxEntered(QLineEdit* box, Parse parse, std::uint8_t& value, bool atWrite)
{
    if (checking_)
        return true;
    QString problem;
    const auto entered = parse(box->text(), &problem);
    if (!entered) {
        checking_ = true;
        if (atWrite) {
            controlplace::reveal(box);
            DialogService::showMessage(controlplace::placedText(box, problem));
        } else {
            box->setText(QString::number(value));
            DialogService::showMessage(problem);
        }
        checking_ = false;
        return false;
    }
    box->setText(QString::number(*entered));
    if (*entered != value) {
        value = *entered;
        emit Edited();
    }
    return true;
}

bool TfrmTimerSetup::CommitTexts(bool atWrite)
{
    // The first refusal ends the check: one message at a time.
    return HourEntered(atWrite) && MinuteEntered(atWrite);
}

void TfrmTimerSetup::BoxClicked()
{
    for (int i = 0; i < analyzer::kRunMaskBits; ++i)
        values_.runs[i] = runBoxes_[i]->isChecked();
    for (int m = 0; m < timerpage::kManualSequences; ++m)
        values_.manual[m] = manualBoxes_[m]->isChecked();
    emit Edited();
}

void TfrmTimerSetup::AnalysisEnableClick()
{
    values_.analysisEnable = ui_->AnalysisEnable->isChecked();
    values_.sequencerEnable = ui_->SequencerEnable->isChecked();
    timerpage::analysisEnableClicked(values_);
    ui_->Enable->setChecked(values_.enable);
    emit Edited();
}

void TfrmTimerSetup::SequencerEnableClick()
{
    values_.analysisEnable = ui_->AnalysisEnable->isChecked();
    values_.sequencerEnable = ui_->SequencerEnable->isChecked();
    timerpage::startClicked(values_);
    ui_->Enable->setChecked(values_.enable);
    ui_->ManEnable->setChecked(values_.manEnable);
    emit Edited();
}

const PageDecl TfrmTimer1::kDecl = {
    .frameName = "frmTimer1",
    .sheetName = "TabTimer1",
    .caption = "Timers ",
    .tab = 14,
    .scan = {.number = 16, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
};

TfrmTimer1::TfrmTimer1(const PageServices& services, QWidget* parent) : TPageFrame(kDecl, services, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName("PageControl");
    layout->addWidget(pageControl_);

    for (int tab = 0; tab < 2; ++tab) {
        // The frames are taller than the tab at the main window's size: the sheet scrolls.
        auto* scroll = new QScrollArea;
        scroll->setObjectName(tab == 0 ? "TabSheet1" : "TabSheet2");
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* sheet = new QWidget;
        auto* row = new QHBoxLayout(sheet);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(1);
        for (int i = 0; i < kTimersPerTab; ++i) {
            const int number = tab * kTimersPerTab + i + 1;
            auto* panel = new QWidget(sheet);
            panel->setObjectName(QStringLiteral("Panel%1").arg(number));
            auto* panelLayout = new QVBoxLayout(panel);
            panelLayout->setContentsMargins(0, 0, 0, 0);
            auto* timer = new TfrmTimerSetup(number, panel);
            panelLayout->addWidget(timer);
            row->addWidget(panel, 1);
            timers_[number - 1] = timer;
        }
        scroll->setWidget(sheet);
        pageControl_->addTab(scroll, tab == 0 ? "Timers 1-6" : "Timers 7-12");
    }

    // The sheet shown is the highlighted one.
    auto highlight = [this](int current) {
        for (int i = 0; i < pageControl_->count(); ++i)
            pageControl_->widget(i)->setProperty("Highlighted", i == current);
    };
    connect(pageControl_, &QTabWidget::currentChanged, this, highlight);
    highlight(0);

    streams_ = new TQLabel(this);
    streams_->setObjectName("Streams");
    streams_->setDbId(pid::Streams);
    streams_->hide();
    streams_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        StreamsDBPointValueChanged(value, showValue);
    };

    btnTest_ = new TQAdvToolButton(this);
    btnTest_->setObjectName("btnTest");
    btnTest_->setText("T");
    btnTest_->setToolTip("Test");
    btnTest_->setCheckable(true);
    btnTest_->hide();
    connect(btnTest_, &QToolButton::clicked, this, &TfrmTimer1::btnTestClick);

    observer_ = new TQStructOberver(this);
    observer_->setObjectName("QStructOberver1");
    observer_->OnSChanged = [this](int, const void* st) {
        TimerXConfiguration block;
        std::memcpy(&block, st, sizeof block);
        DecodeTimerXConfiguration(block);
    };
}

TfrmTimer1::~TfrmTimer1() = default;

TimerXConfiguration TfrmTimer1::EncodeTimerXConfiguration() const
{
    timerpage::PageValues values;
    for (int t = 0; t < timerx::kTimers; ++t)
        values[t] = timers_[t]->Values();
    return timerpage::encode(values);
}

void TfrmTimer1::DecodeTimerXConfiguration(TimerXConfiguration block)
{
    const timerpage::PageValues values = timerpage::decode(block);
    for (int t = 0; t < timerx::kTimers; ++t)
        timers_[t]->SetValues(values[t]);
}

bool TfrmTimer1::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case winmsg::WM_BEFORE_SEND_TO_DATABASE: {
        // An hour or minute still being typed is taken now; one that is not valid stops the write
        // (the user was told which, and where) rather than reaching the block.
        if (!FirstEntry()) {
            for (TfrmTimerSetup* timer : timers_)
                if (!timer->CommitTexts(true)) {
                    static_cast<WinMessageEvent*>(e)->result = 1;
                    break;
                }
        }
        return true;
    }
    case winmsg::WM_SEND_TO_DATABASE:
        if (!FirstEntry())
            timerpage::store(
                [this] {
                    timerpage::PageValues v;
                    for (int t = 0; t < timerx::kTimers; ++t)
                        v[t] = timers_[t]->Values();
                    return v;
                }(),
                Database().GetTimerXManager());
        return true;
    case winmsg::WM_REGISTER_DATABASE:
        observer_->AttachTo(Database().GetTimerXManager());
        return TPageFrame::event(e);
    default:
        return TPageFrame::event(e);
    }
}

void TfrmTimer1::StreamsDBPointValueChanged(const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    // A text that is not a whole number is passed over: the next read brings the next value.
    if (!numtext::tryStrToInt64(value))
        return;
    if (const auto count = streamcount::streams(value)) {
        Host().SetStreamDisplay(*streamcount::displayText(value, streamcount::Words::Count));
        for (TfrmTimerSetup* timer : timers_)
            timer->ShowStreams(*count);
    }
    showValue = false;
}

void TfrmTimer1::btnTestClick()
{
    const bool down = btnTest_->isChecked();
    for (TfrmTimerSetup* timer : timers_) {
        timerpage::PageValues one;
        one[0] = timer->Values();
        timerpage::applySelfTest(one, down);
        timer->SetValues(one[0]);
    }
    DialogService::showMessage(timerpage::selfTestText(down));
}
