#include "analoginputpage.h"

#include "aicalibration.h"
#include "analoginputbindings.h"
#include "analyzer.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "pointids.h"
#include "streamcount.h"
#include "textroom.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

const PageDecl TfrAnalogInputs::kDecl = {
    .frameName = "frAnalogInputs",
    .sheetName = "TabSheetAI",
    .caption = "Analog Input ",
    .tab = 13,
    .scan = {.number = aipage::kScanPage, .useAlternate = true},
    .entry = {.setsMode = true,
              .enterRoutine = true,
              .read = "ExpressRead",
              .polls = true,
              .closing = EntryClose::FileButtonsOff},
    .splash = "Loading Sentrel515 Desktop...Analog Inputs",
};

namespace {

QLabel* boldLabel(const char* name, const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

TfrAnalogInputs::TfrAnalogInputs(const PageServices& services, QWidget* parent) : TPageFrame(kDecl, services, parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Four inputs and eight alarm rows fill the tab; on a smaller window the page scrolls rather
    // than squeezes.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("sbAnalogInputs");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName("pnlAnalogInputs");
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    auto* framesGrid = new QGridLayout;
    framesGrid->setSpacing(2);
    for (int i = 0; i < aipage::kInputs; ++i) {
        const aipage::Frame& entry = aipage::kFrames[static_cast<std::size_t>(i)];
        auto* frame = new TTfraAICalibration(Host(), entry.points, i + 1, content);
        frame->ScalingFactorId = static_cast<std::uint16_t>(entry.scalingFactor);
        frame->ZeroOffsetId = static_cast<std::uint16_t>(entry.zeroOffset);
        framesGrid->addWidget(frame, i / 2, i % 2);
        frames_[static_cast<std::size_t>(i)] = frame;
    }
    column->addLayout(framesGrid);
    column->addWidget(BuildAlarms(content));
    column->addStretch();
    scroll->setWidget(content);

    // Carries the stream count to the main window's display; never shown.
    streams_ = new TQLabel(this);
    streams_->setObjectName("streams");
    streams_->setText("Stream 2");
    streams_->setDbId(pid::Streams);
    streams_->hide();
    streamcount::bindDisplay(streams_, streamcount::Words::Count, Host());
}

QWidget* TfrAnalogInputs::BuildAlarms(QWidget* parent)
{
    using namespace aipage;
    auto* group = new QGroupBox(QStringLiteral("Analog Inputs Alarm"), parent);
    group->setObjectName("QGroupBox1");
    QFont bold = group->font();
    bold.setBold(true);
    group->setFont(bold);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);

    // Columns: enable box, limit, the actions frame's left edge, six relays, a gap, eight
    // solenoids, the frame's right edge. The frame's borders run in columns of their own, so no
    // box of a row lies on them.
    constexpr int kFrameLeftColumn = 2;
    constexpr int kFirstRelayColumn = kFrameLeftColumn + 1;
    constexpr int kGapColumn = kFirstRelayColumn + analyzer::kRelays;
    constexpr int kFirstSolenoidColumn = kGapColumn + 1;
    constexpr int kFrameRightColumn = kFirstSolenoidColumn + analyzer::kSolenoids;
    constexpr int kFirstRow = 2;
    const int rows = static_cast<int>(kAlarmRows.size());

    // The actions frame lies under the boxes of every row; created first, it is drawn beneath them.
    auto* actions = new QGroupBox(QStringLiteral("Actions"), group);
    actions->setObjectName("gbGlobalAlmActions");
    grid->addWidget(actions, 0, kFrameLeftColumn, kFirstRow + rows, kFrameRightColumn - kFrameLeftColumn + 1);

    // Children of the group take its bold font; only the heads keep it.
    QFont plain = bold;
    plain.setBold(false);
    grid->addWidget(boldLabel("lblEnabled", "Enabled", group), 1, 0);
    grid->addWidget(boldLabel("lblLimit", "Limit", group), 1, 1);
    grid->addWidget(boldLabel("lblRelays", "Relays", group), 1, kFirstRelayColumn, 1, analyzer::kRelays,
                    Qt::AlignHCenter);
    grid->addWidget(boldLabel("lblSolenoids", "Solenoids", group), 1, kFirstSolenoidColumn, 1, analyzer::kSolenoids,
                    Qt::AlignHCenter);
    grid->setRowMinimumHeight(0, 12);
    grid->setColumnMinimumWidth(kFrameLeftColumn, 6);
    grid->setColumnMinimumWidth(kGapColumn, 10);
    grid->setColumnMinimumWidth(kFrameRightColumn, 6);

    for (int r = 0; r < rows; ++r) {
        const AlarmRow& row = kAlarmRows[static_cast<std::size_t>(r)];
        const int gridRow = kFirstRow + r;
        auto* enable = new TQCheckBox(group);
        enable->setObjectName(enableName(row));
        enable->setText(QString::fromLatin1(row.caption));
        enable->setFont(plain);
        enable->setDbId(row.enablePoint);
        enable->setTrueValue("True");
        grid->addWidget(enable, gridRow, 0);

        auto* limit = new TQEdit(group);
        limit->setObjectName(limitName(row));
        limit->setFont(plain);
        limit->setDbId(row.limitPoint);
        limit->setDataType(dbctl::dtFloat);
        // Wide enough for a limit's general float text ("%g", six digits and a sign).
        limit->setFixedSize(textroom::lineEditWidthFor(limit, QStringLiteral("-12345.6")), 20);
        grid->addWidget(limit, gridRow, 1);

        for (bool relay : {true, false}) {
            const int count = relay ? analyzer::kRelays : analyzer::kSolenoids;
            for (int n = 1; n <= count; ++n) {
                auto* box = new TQCheckBox(group);
                box->setObjectName(actionBoxName(row, relay, n));
                box->setText(QString::number(n));
                box->setFont(plain);
                box->setDbId(row.actionsPoint);
                box->setWatchBitNumber(static_cast<dbctl::WatchBit>(analyzer::actionBit(relay, n)));
                grid->addWidget(box, gridRow, relay ? kFirstRelayColumn + n - 1 : kFirstSolenoidColumn + n - 1);
            }
        }
    }
    grid->setColumnStretch(kFrameRightColumn + 1, 1);
    return group;
}

TPageFrame::ScanIds TfrAnalogInputs::ScanList() const
{
    ScanIds ids;
    auto add = [](std::vector<int>& list, int id) {
        if (id >= 0 && std::find(list.begin(), list.end(), id) == list.end())
            list.push_back(id);
    };
    auto idOf = [this](const QString& name) {
        const QWidget* control = findChild<QWidget*>(name);
        bool ok = false;
        const int id = control ? control->property("DbId").toInt(&ok) : -1;
        return ok ? id : -1;
    };
    for (const aipage::AlarmRow& row : aipage::kAlarmRows) {
        add(ids.main, idOf(aipage::enableName(row)));
        add(ids.main, idOf(aipage::limitName(row)));
        add(ids.main, idOf(aipage::actionBoxName(row, true, 1)));
    }
    for (const TTfraAICalibration* frame : frames_)
        for (int id : frame->ScanIds())
            add(ids.main, id);
    for (const TTfraAICalibration* frame : frames_) {
        add(ids.main, frame->ScalingFactorId);
        add(ids.main, frame->ZeroOffsetId);
    }
    add(ids.main, streams_->DbId());
    for (const TTfraAICalibration* frame : frames_)
        for (int id : frame->PolledIds())
            add(ids.polled, id);
    return ids;
}
