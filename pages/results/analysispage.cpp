#include "analysispage.h"

#include "analysisformat.h"
#include "analysispoints.h"
#include "database.h"
#include "datadir.h"
#include "dbcontrols.h"
#include "dialogservice.h"
#include "dispplacefile.h"
#include "pagehost.h"
#include "quietupdate.h"
#include "scanorder.h"
#include "streamcount.h"
#include "textroom.h"
#include "toolkitcolor.h"
#include "ui_analysispage.h"
#include "winmsg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

namespace {

using analysis::TextUpdate;

void apply(const TextUpdate& update, TQLabeledEdit* control, bool& show)
{
    switch (update.action) {
    case TextUpdate::Action::Keep:
        show = false;
        break;
    case TextUpdate::Action::SetText:
        quiet::setText(control->Edit(), update.text);
        show = false;
        break;
    case TextUpdate::Action::ShowValue:
        show = true;
        break;
    }
}

void setFieldColour(TQLabeledEdit* field, std::uint32_t colour)
{
    quiet::setBase(field->Edit(), toolkitcolor::toQColor(colour));
}

}  // namespace

const PageDecl TfraWW::kDecl = {
    .frameName = "fraWW",
    .sheetName = "TabSheetWW",
    .caption = "Analysis",
    .tab = 0,
    .scan = {.number = 0},
    .entry = {.enterRoutine = true, .polls = true, .closing = EntryClose::Busy},
    .splash = "Loading Sentrel515 Desktop...Analysis",
};

TfraWW::TfraWW(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), ui_(std::make_unique<Ui::AnalysisPage>()),
          displayFormat_(QString::fromLatin1(analysis::kDefaultDisplayFormat))
{
    ui_->setupUi(this);
    setObjectName("fraWW");
    for (int s = 1; s <= analyzer::kStreams; ++s)
        BuildResultPanel(s);
    quiet::setSystemLamp(ui_->QImage1, lamps::SystemGreen);
    ui_->edtPrintCount->setText("0");
    ui_->edtSaveCount->setText("0");
    ui_->edtPrintCount->hide();
    ui_->edtSaveCount->hide();
    BindHandlers();
}

TfraWW::~TfraWW() = default;

void TfraWW::BuildResultPanel(int stream)
{
    StreamPanel& p = streams_[static_cast<std::size_t>(stream - 1)];
    const auto s = static_cast<std::size_t>(stream - 1);
    p.panel = findChild<TQPanel*>(QStringLiteral("LastResultPan%1").arg(stream));
    auto* box = new QVBoxLayout(p.panel);
    box->setContentsMargins(8, 6, 8, 6);
    box->setSpacing(3);

    auto* headingRow = new QHBoxLayout;
    p.heading = new TQLabel(p.panel);
    p.heading->setObjectName(QStringLiteral("labStreamLastResults%1").arg(stream));
    p.heading->setText(QStringLiteral("Stream %1 Last Results in").arg(stream) + (stream == 1 ? " " : ""));
    QFont bold = p.heading->font();
    bold.setBold(true);
    p.heading->setFont(bold);
    p.units = new TQLabeledEdit(p.panel);
    p.units->setObjectName(QStringLiteral("glAnalysisUnit%1").arg(stream));
    p.units->setDbId(analysis::kUnitsPoint[s]);
    p.units->setText("PPM");
    p.units->Edit()->setFrame(false);
    QPalette plain = p.units->Edit()->palette();
    plain.setColor(QPalette::Base, plain.color(QPalette::Window));
    p.units->Edit()->setPalette(plain);
    // The units stand on the line under the heading, where the active-stream banner is, wide
    // enough for the longest text a unit keeps.
    p.units->Edit()->setFixedWidth(
        textroom::lineEditWidthFor(p.units->Edit(), textroom::capitals(textroom::kUnitTextLength)));
    p.units->EditLabel()->hide();
    headingRow->addWidget(p.heading);
    headingRow->addStretch();
    box->addLayout(headingRow);

    p.banner = new TQLabel(p.panel);
    p.banner->setObjectName(stream == 1 ? QStringLiteral("labStream") : QStringLiteral("labStream%1").arg(stream));
    p.banner->setText("Stream");
    p.banner->setFont(bold);
    p.banner->setStyleSheet("color: red");
    // The panels keep their height whichever stream is active.
    QSizePolicy keep = p.banner->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    p.banner->setSizePolicy(keep);
    p.banner->hide();
    auto* bannerRow = new QHBoxLayout;
    bannerRow->addWidget(p.banner);
    bannerRow->addStretch();
    bannerRow->addWidget(p.units);
    box->addLayout(bannerRow);

    auto field = [&](const QString& name, const QString& caption, int id) {
        auto* f = new TQLabeledEdit(p.panel);
        f->setObjectName(name);
        f->setLabelCaption(caption);
        f->setLabelPos(TQLabeledEdit::lpLeft);
        f->setDbId(id);
        f->setReadOnly(true);
        f->setDataType(dbctl::dtFloat);
        f->EditLabel()->setMinimumWidth(95);
        f->Edit()->setAlignment(Qt::AlignRight);
        setFieldColour(f, toolkitcolor::clBtnFace);
        box->addWidget(f);
        return f;
    };
    for (int r = 0; r < analyzer::kRunTypes; ++r) {
        const auto rt = static_cast<std::size_t>(r);
        p.last[rt] = field(QString::fromLatin1(analysis::kLastResultControl[rt]) + QString::number(stream),
                           QString::fromLatin1(analysis::kResultCaption[rt]), analysis::kLastResultPoint[s][rt]);
    }
    p.gain = field(QStringLiteral("edtLastGain%1").arg(stream), "Gain", analysis::kGainPoint[s]);
    p.zeroOffset =
        field(QStringLiteral("edtLastZeroOffset%1").arg(stream), "Zero Offset", analysis::kZeroOffsetPoint[s]);

    for (int r = 0; r < analyzer::kRunTypes; ++r) {
        const auto rt = static_cast<std::size_t>(r);
        auto* f = new TQLabeledEdit(p.panel);
        f->setObjectName(
            QStringLiteral("edtStream%1%2SCH").arg(stream).arg(QString::fromLatin1(analysis::kScheduleWord[rt])));
        f->setLabelCaption(QString::number(stream) + QString::fromLatin1(analysis::kScheduleCaption[rt]));
        f->setDbId(analysis::kSchedulePoint[s][rt]);
        f->hide();
        p.schedule[rt] = f;
    }
    box->addStretch();
}

void TfraWW::BindHandlers()
{
    for (StreamPanel& p : streams_) {
        for (auto* f : p.last)
            f->OnDBPointValueChanged = [this, f](QWidget*, const QString& v, bool& show) {
                LastResultChanged(f, v, show);
            };
        for (auto* f : {p.gain, p.zeroOffset})
            f->OnDBPointValueChanged = [this, f](QWidget*, const QString& v, bool& show) {
                LastResultChanged(f, v, show);
            };
        for (std::size_t r = 0; r < p.schedule.size(); ++r) {
            TQLabeledEdit* target = p.last[r];
            p.schedule[r]->OnDBPointValueChanged = [this, target](QWidget*, const QString& v, bool& show) {
                ScheduleChanged(target, v, show);
            };
        }
    }
    ui_->streamNo->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) { StreamNoChanged(v, show); };
    ui_->ledCurrAnaStream->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        CurrentAnalysisChanged(v, show);
    };
    ui_->ledCurrAnaState->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        apply(analysis::analysisStateText(v), ui_->ledCurrAnaState, show);
    };
    ui_->SequencerState->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        apply(analysis::sequencerStateText(v), ui_->SequencerState, show);
    };
    ui_->ledCurrAnaRunNumber->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        apply(analysis::runNumberText(v, ui_->edCurrAnaTotalRuns->text()), ui_->ledCurrAnaRunNumber, show);
    };
    ui_->ledUnitDateTime->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        apply(analysis::unitDateTimeText(v), ui_->ledUnitDateTime, show);
    };
    ui_->lblStream->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        StreamCountChanged(v, show);
    };
    // The hidden Streams field must never change point 20.
    ui_->lblStream->OnPutToDatabase = [](QWidget*, bool& store) { store = false; };
    for (TQImage* image : {ui_->SystemAlarm, ui_->QImage1})
        image->OnDBPointValueChanged = [this](QWidget* sender, const QString&, bool&) { SystemAlarmChanged(sender); };
    ui_->RunCounter->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool&) {
        reporter_.RunCounterValue(v, [this] { return ReportValues(); });
    };

    // The fields that show their value as it comes.
    for (auto* field : findChildren<TQLabeledEdit*>())
        if (!field->OnDBPointValueChanged)
            field->OnDBPointValueChanged = [field](QWidget*, const QString& v, bool& show) {
                quiet::setText(field->Edit(), v);
                show = false;
            };
    for (auto* field : findChildren<TQEdit*>())
        if (!field->OnDBPointValueChanged)
            field->OnDBPointValueChanged = [field](QWidget*, const QString& v, bool& show) {
                quiet::setText(field, v);
                show = false;
            };

    connect(ui_->chkGenReport, &QCheckBox::clicked, this, [this](bool checked) { reporter_.PrintBoxClicked(checked); });
    connect(ui_->chkSaveReport, &QCheckBox::clicked, this, [this](bool checked) { reporter_.SaveBoxClicked(checked); });
    reporter_.OnBoxesChanged = [this] { ShowBoxes(); };
}

const QStringList& TfraWW::ScanOrder()
{
    static const QStringList order = [] {
        QStringList o{"ledUnitDateTime",
                      "edCurrAnaTotalRuns",
                      "edtSiteId",
                      "edtSite",
                      "edtLocation",
                      "ledCurrAnaState",
                      "ledCurrAnaStream",
                      "ledCurrAnaTime",
                      "ledCurrAnaRunNumber",
                      "TrendedReading",
                      "edtRawmV",
                      "ledCurrAnaDVDT",
                      "ledCurrAnaMV",
                      "ledCurrAnaZeroOffset",
                      "ledCurrAnaCalibrationGain",
                      "ledCurrAnaSensorLEDCurrent",
                      "ledCurrAnaSensorTemp",
                      "labTapeRemain",
                      "RunCounter"};
        for (int s = 1; s <= analyzer::kStreams; ++s)
            for (const char* w : analysis::kScheduleWord)
                o << QStringLiteral("edtStream%1%2SCH").arg(s).arg(QString::fromLatin1(w));
        for (int s = 1; s <= analyzer::kStreams; ++s)
            for (const char* w : {"edtLastNormal", "edtLastTotalSulphur", "edtLastCal", "edtLastRef", "edtLastRef2",
                                  "edtLastZero", "edtLastGain", "edtLastZeroOffset", "glAnalysisUnit"})
                o << QString::fromLatin1(w) + QString::number(s);
        o << "streamNo"
          << "lblStream"
          << "SystemAlarm"
          << "ledPAA"
          << "MSOn"
          << "SequencerState";
        return o;
    }();
    return order;
}

TPageFrame::ScanIds TfraWW::ScanList() const
{
    // The run types' names have no control; the current-analysis field shows them.
    ScanIds ids;
    for (const auto& stream : analysis::kNamePoint)
        for (analyzer::RunType r : analyzer::kStreamsPageOrder)
            ids.main.push_back(stream[static_cast<std::size_t>(r)]);
    const ScanIds controls = controlsInOrder(this, ScanOrder());
    ids.main.insert(ids.main.end(), controls.main.begin(), controls.main.end());
    ids.polled = controls.polled;
    return ids;
}

void TfraWW::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    ReadDisplayPlaces();
}

void TfraWW::ReadDisplayPlaces()
{
    displayFormat_ = analysis::displayFormatFor(DispPlaceFile(datadir::path()).Read());
}

void TfraWW::LastResultChanged(TQLabeledEdit* field, const QString& value, bool& show)
{
    quiet::setText(field->Edit(), analysis::lastResultText(value, displayFormat_));
    show = false;
}

void TfraWW::ScheduleChanged(TQLabeledEdit* target, const QString& value, bool& show)
{
    if (FirstEntry() || value.isEmpty())
        return;
    if (const auto colour = analysis::scheduleColour(value))
        setFieldColour(target, *colour);
    show = false;
}

void TfraWW::StreamNoChanged(const QString& value, bool& show)
{
    if (value.isEmpty())
        return;
    show = false;
    const auto stream = analysis::activeStreamOf(value);
    if (!stream)
        return;
    for (int s = 1; s <= analyzer::kStreams; ++s) {
        TQLabel* banner = streams_[static_cast<std::size_t>(s - 1)].banner;
        if (s == *stream) {
            quiet::setText(banner, analysis::streamBannerText(s));
            banner->setEnabled(true);
            banner->setVisible(true);
        } else {
            banner->setVisible(false);
        }
    }
    activeStream_ = *stream;
    ShowCurrentAnalysisName();
}

void TfraWW::CurrentAnalysisChanged(const QString& value, bool& show)
{
    show = false;
    reporter_.RunTypeValue(value);
    currentRunType_ = value;
    // The stream may have changed with the run. Every read that brings the run type brings the
    // stream after it (the logon's, the entry's and the poll's), and its arrival names the run
    // again, so banner and name agree without a read of the handler's own: nothing reaches the
    // unit from outside the command engine.
    ShowCurrentAnalysisName();
}

void TfraWW::ShowCurrentAnalysisName()
{
    if (const auto namePoint = analysis::currentAnalysisNamePoint(activeStream_, currentRunType_))
        quiet::setText(ui_->ledCurrAnaStream->Edit(), dbctl::fromPointText(Database().GetPointText(*namePoint)));
}

void TfraWW::StreamCountChanged(const QString& value, bool& show)
{
    if (value.isEmpty())
        return;
    show = false;
    if (const auto text = streamcount::displayText(value, streamcount::Words::Count))
        Host().SetStreamDisplay(*text);
}

void TfraWW::SystemAlarmChanged(QWidget* sender)
{
    if (auto* image = qobject_cast<TQImage*>(sender))
        quiet::setSystemLamp(image, image->IsOn() ? lamps::SystemRed : lamps::SystemGreen);
}

void TfraWW::ShowBoxes()
{
    const auto& print = reporter_.Box(RunReporter::Print);
    const auto& save = reporter_.Box(RunReporter::Save);
    ui_->chkGenReport->setChecked(print.checked);
    ui_->chkSaveReport->setChecked(save.checked);
    ui_->edtPrintCount->setText(print.countText);
    ui_->edtSaveCount->setText(save.countText);
    ui_->edtPrintCount->setVisible(print.countVisible);
    ui_->edtSaveCount->setVisible(save.countVisible);
}

RunReportData TfraWW::ReportValues() const
{
    RunReportData d;
    d.dateTime = ui_->ledUnitDateTime->Text();
    d.activeStream = activeStream_;
    if (activeStream_ >= 1 && activeStream_ <= analyzer::kStreams) {
        const StreamPanel& p = streams_[static_cast<std::size_t>(activeStream_ - 1)];
        d.result = p.last[analyzer::H2S]->Text();
        d.units = p.units->Text();
    }
    d.systemAlarm = ui_->SystemAlarm->IsOn();
    d.alarmText = analysis::alarmText(ui_->SystemAlarm->DbId(), d.systemAlarm);
    return d;
}

void TfraWW::SetPrinter(QPrinter* printer)
{
    printer_ = printer;
    reporter_.SetPrinter(printer);
}

bool TfraWW::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(winmsg::WM_PRINT_PAGE)) {
        PrintPage();
        return true;
    }
    return TPageFrame::event(event);
}

void TfraWW::PrintPage()
{
    QPrinter* printer = printer_;
    if (!printer) {
        if (!defaultPrinter_)
            defaultPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = defaultPrinter_.get();
    }
    const QPixmap picture = grab();
    QPainter painter;
    if (!printer->isValid() || !painter.begin(printer)) {
        DialogService::warn("The analysis page could not be printed: no printer is available.");
        return;
    }
    // The page at the largest size that fits the sheet, keeping its proportions.
    const QRect sheet = painter.viewport();
    QSize size = picture.size();
    size.scale(sheet.size(), Qt::KeepAspectRatio);
    painter.setViewport(sheet.x(), sheet.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawPixmap(0, 0, picture);
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        DialogService::warn("The analysis page could not be printed.");
}

void TfraWW::Normal2Click()
{
    Host().Queue("Calibrate", std::to_string(analyzer::runRequestPoint(2, analyzer::H2S)));
}
void TfraWW::Cal2Click()
{
    Host().Queue("Calibrate", std::to_string(analyzer::runRequestPoint(2, analyzer::Calibration)));
}
void TfraWW::Ref2Click()
{
    Host().Queue("Calibrate", std::to_string(analyzer::runRequestPoint(2, analyzer::Reference1)));
}
void TfraWW::Zero2Click()
{
    Host().Queue("Calibrate", std::to_string(analyzer::runRequestPoint(2, analyzer::Zero)));
}
