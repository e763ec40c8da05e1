#include "alarmpage.h"

#include "alarmbindings.h"
#include "dbdisplays.h"
#include "lamps.h"
#include "numbertext.h"
#include "pointids.h"
#include "streamcount.h"
#include "ui_alarmpage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

const PageDecl TfrmAlarm::kDecl = {
    .frameName = "frmAlarm",
    .sheetName = "TabAlarm",
    .caption = "Alarms ",
    .tab = 2,
    .scan = {.number = 11},
    .entry =
        {.setsMode = true, .enterRoutine = true, .read = "ExpressRead", .polls = true, .closing = EntryClose::Busy},
    .splash = "Loading Sentrel515 Desktop...Alarms",
};

TfrmAlarm::TfrmAlarm(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), ui_(std::make_unique<Ui::TfrmAlarm>())
{
    ui_->setupUi(this);
    setObjectName(kDecl.frameName);
    // Grey until the unit has told: a green lamp would claim "no alarm" before anything was read.
    ui_->SystemAlarm->setPixmap(lamps::system(lamps::SystemBlueGrey));
    ui_->SystemAlarm->OnDBPointValueChanged = [this](QWidget* sender, const QString&, bool&) {
        SystemAlarmDBPointValueChanged(sender);
    };
    streamcount::bindDisplay(ui_->QLabel71, streamcount::Words::Count, Host());
    BuildUnitLights();
    BuildStreamPanels();
    BuildAnalogInputLights();
}

TfrmAlarm::~TfrmAlarm() = default;

TPageFrame::ScanIds TfrmAlarm::ScanList() const
{
    return {alarmpage::scanList(), {}};
}

TQImage* TfrmAlarm::MakeLight(QWidget* parent, const char* name, int point)
{
    auto* light = new TQImage(parent);
    light->setObjectName(name);
    light->setFixedSize(16, 16);
    light->setPixmap(lamps::alarm(lamps::AlarmGrey));
    light->setDbId(point);
    light->setTrueValue("True");
    light->OnDBPointValueChanged = [this](QWidget* sender, const QString&, bool&) { LightDBPointValueChanged(sender); };
    return light;
}

void TfrmAlarm::BuildUnitLights()
{
    auto* grid = static_cast<QGridLayout*>(ui_->gbUnitAlarms->layout());
    int row = 1;
    for (const alarmpage::Light& entry : alarmpage::kUnitLights) {
        grid->addWidget(MakeLight(ui_->gbUnitAlarms, entry.name, entry.point), row, 0, Qt::AlignCenter);
        auto* caption = new QLabel(entry.caption, ui_->gbUnitAlarms);
        caption->setObjectName(QStringLiteral("lbl") + entry.name);
        grid->addWidget(caption, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
}

void TfrmAlarm::BuildStreamPanels()
{
    auto* row = static_cast<QHBoxLayout*>(ui_->gbWWAnalysisAlarms->layout());
    for (int s = 0; s < analyzer::kStreams; ++s) {
        auto* panel = new QFrame(ui_->gbWWAnalysisAlarms);
        panel->setObjectName(QStringLiteral("Stream%1Pan").arg(s + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(4, 4, 4, 4);
        column->setSpacing(4);

        const QString head = QStringLiteral("Stream %1").arg(s + 1);
        QLabel* headLabel = nullptr;
        if (s == 3) {
            // The fourth head also counts the streams: it shows or hides the panels.
            auto* bound = new TQLabel(panel);
            bound->setDbId(pid::Streams);
            bound->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
                lblStream4DBPointValueChanged(value, showValue);
            };
            headLabel = bound;
            headLabel->setObjectName("lblStream4");
        } else {
            headLabel = new QLabel(panel);
            headLabel->setObjectName(QStringLiteral("lblStream%1").arg(s + 1));
        }
        headLabel->setText(head);
        headLabel->setAlignment(Qt::AlignCenter);
        QFont bold = headLabel->font();
        bold.setBold(true);
        headLabel->setFont(bold);
        column->addWidget(headLabel);

        for (int g = 0; g < static_cast<int>(alarmpage::kStreamGroups.size()); ++g) {
            const alarmpage::StreamGroup& group = alarmpage::kStreamGroups[static_cast<std::size_t>(g)];
            auto* box = new QGroupBox(panel);
            box->setObjectName(QStringLiteral("gbS%1%2").arg(s + 1).arg(group.letters));
            box->setTitle(s == 0 && g == 0 ? QStringLiteral("H2S ") : QString(group.caption));
            auto* lights = new QGridLayout(box);
            lights->setContentsMargins(6, 2, 6, 4);
            lights->setVerticalSpacing(2);
            for (int l = 0; l < group.lights; ++l) {
                const int point = alarmpage::kStreamPoints[static_cast<std::size_t>(s)][static_cast<std::size_t>(g)]
                                                          [static_cast<std::size_t>(l)];
                lights->addWidget(MakeLight(box, alarmpage::lightName(s, g, l), point), l, 0);
                lights->addWidget(new QLabel(alarmpage::kLightCaptions[static_cast<std::size_t>(l)], box), l, 1);
            }
            lights->setColumnStretch(1, 1);
            // The lights only show. The box takes no clicks, but stays enabled: a disabled label
            // draws its picture dimmed, and a red lamp must read as red.
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            column->addWidget(box);
        }
        column->addStretch();
        row->addWidget(panel);
        panels_[static_cast<std::size_t>(s)] = panel;
    }
    // Fewer streams leave the panels their width instead of spreading them.
    row->addStretch();
}

void TfrmAlarm::BuildAnalogInputLights()
{
    auto* grid = static_cast<QGridLayout*>(ui_->gbAIAlarms->layout());
    for (std::size_t i = 0; i < alarmpage::kAnalogInputLights.size(); ++i) {
        const alarmpage::Light& entry = alarmpage::kAnalogInputLights[i];
        const int row = static_cast<int>(i % 4);
        const int column = static_cast<int>(i / 4) * 2;
        grid->addWidget(MakeLight(ui_->gbAIAlarms, entry.name, entry.point), row, column, Qt::AlignCenter);
        auto* caption = new QLabel(entry.caption, ui_->gbAIAlarms);
        caption->setObjectName(QStringLiteral("lbl") + entry.name);
        grid->addWidget(caption, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void TfrmAlarm::LightDBPointValueChanged(QWidget* sender)
{
    if (auto* light = qobject_cast<TQImage*>(sender))
        light->setPixmap(lamps::alarm(light->State() == 1 ? lamps::AlarmRed : lamps::AlarmGreen));
}

void TfrmAlarm::SystemAlarmDBPointValueChanged(QWidget* sender)
{
    if (auto* light = qobject_cast<TQImage*>(sender))
        light->setPixmap(lamps::system(light->State() == 1 ? lamps::SystemRed : lamps::SystemGreen));
}

void TfrmAlarm::lblStream4DBPointValueChanged(const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    // A value that is not a number is passed over: the panels keep what they show until the next
    // poll brings a stream count.
    const std::optional<std::int64_t> number = numtext::tryStrToInt64(value);
    if (!number)
        return;
    showValue = false;
    const std::optional<int> count = streamcount::streams(value);
    if (!count)
        return;
    for (int s = 0; s < analyzer::kStreams; ++s)
        panels_[static_cast<std::size_t>(s)]->setVisible(s < *count);
}
