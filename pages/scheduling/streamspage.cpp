#include "streamspage.h"

#include "analogoutputcollection.h"
#include "dbchoices.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "pagehost.h"
#include "pointids.h"
#include "streamcount.h"
#include "streamframes.h"
#include "textroom.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

using streamspage::Box;

const PageDecl TfraAnalyzerStreams::kDecl = {
    .frameName = "fraAnalyzerStreams",
    .sheetName = "TabStream",
    .caption = "Streams ",
    .tab = 6,
    .level = 1,
    .scan = {.number = 3, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Streams",
};

TfraAnalyzerStreams::TfraAnalyzerStreams(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), analogOutputs_(services.analogOutputs)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    streamTabs_ = new QTabWidget(this);
    streamTabs_->setObjectName("PageControlStreams");
    static const char* const kSheets[] = {"TabSheet9", "TabSheet10", "TabSheet3", "TabSheet4"};
    for (int s = 1; s <= analyzer::kStreams; ++s) {
        QWidget* sheet = BuildStreamTab(s);
        sheet->setObjectName(kSheets[s - 1]);
        streamTabs_->addTab(sheet, QStringLiteral("Stream %1").arg(s));
    }
    column->addWidget(streamTabs_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildCalculator(), 1);
    lblStream2_ = new TQLabel(this);
    lblStream2_->setObjectName("lblStream2");
    lblStream2_->setText("Stream 2");
    lblStream2_->setDbId(pid::Streams);
    lblStream2_->setVisible(false);
    lblStream2_->OnDBPointValueChanged = [this](QWidget*, const QString& value, bool& showValue) {
        lblStream2DBPointValueChanged(value, showValue);
    };
    btnTest_ = new TQAdvToolButton(this);
    btnTest_->setObjectName("btnTest");
    btnTest_->setText("T");
    btnTest_->setToolTip("Test");
    btnTest_->setCheckable(true);
    btnTest_->setVisible(false);
    connect(btnTest_, &QToolButton::clicked, this, [this] { btnTestClick(); });
    readEnd_.setInterval(5);
    connect(&readEnd_, &QTimer::timeout, this, [this] {
        if (Host().CommandRunning())
            return;
        readEnd_.stop();
        streamTabs_->setUpdatesEnabled(true);
    });
    bottom->addWidget(lblStream2_);
    bottom->addWidget(btnTest_);
    column->addLayout(bottom);
}

QWidget* TfraAnalyzerStreams::BuildStreamTab(int stream)
{
    auto* sheet = new QWidget(streamTabs_);
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* stream_ = new TfraStream(stream, sheet);
    streamFrames_[static_cast<std::size_t>(stream - 1)] = stream_;
    for (int r = 0; r < analyzer::kRunTypes; ++r) {
        TQAdvToolButton* request = stream_->SetFrames()[static_cast<std::size_t>(r)]->btnRequest();
        request->setEnabled(true);
        connect(request, &QToolButton::clicked, this, [this, stream, r] { btnRequestClick(stream, r); });
        for (int n = 1; n <= 2; ++n) {
            TQComboBox* combo = stream_->SetFrames()[static_cast<std::size_t>(r)]->Function(n);
            combo->OnDBPointValueChanged = [this, combo](QWidget*, const QString& value, bool& showValue) {
                cbAOMgrFunctionDBPointValueChanged(combo, value, showValue);
            };
        }
    }

    auto* switches = new QHBoxLayout;
    struct Switch {
        const char* name;
        const char* caption;
        Box box;
    };
    static const Switch kSwitches[] = {
        {"chkCalCorrEnable", "Cal. Correction Enable", Box::chkCalCorrEnable},
        {"chkZeroCorrEnable", "Zero Correction Enable", Box::chkZeroCorrEnable},
        {"TimedAnalysisEnable", "Timed Analysis Enable", Box::TimedAnalysisEnable},
    };
    for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
        auto* box = new TQCheckBox(sheet);
        box->setObjectName(QString::fromLatin1(kSwitches[i].name) + QString::number(stream));
        box->setText(kSwitches[i].caption);
        box->setTrueValue("True");
        if (const auto point = streamspage::pointOf(stream, streamspage::kStreamWide, kSwitches[i].box))
            box->setDbId(*point);
        streamSwitches_[static_cast<std::size_t>(stream - 1)][i] = box;
        switches->addWidget(box);
        switches->addSpacing(16);
    }
    switches->addStretch();
    column->addLayout(switches);
    column->addWidget(stream_, 1);
    return sheet;
}

QGroupBox* TfraAnalyzerStreams::BuildCalculator()
{
    auto* box = new QGroupBox("Calibration Gain Calculator", this);
    box->setObjectName("gbGainCalculator");
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 4);
    auto make = [box, row](const char* name, const char* caption, const char* text) {
        auto* edit = new TQLabeledEdit(box);
        edit->setObjectName(name);
        edit->setLabelPos(TQLabeledEdit::lpLeft);
        edit->setLabelCaption(caption);
        edit->setDataType(dbctl::dtFloat);
        edit->setText(text);
        edit->Edit()->setFixedWidth(70);
        row->addWidget(edit);
        row->addSpacing(10);
        return edit;
    };
    edtCalGas_ = make("edtCalGas", "Calibration Gas:", "0");
    edtAnaReading_ = make("edtAnaReading", "Analyzer Reading:", "0");
    edtCurrGainFactor_ = make("edtCurrGainFactor", "Current Gain Factor:", "0");
    edtNewGainFactor_ = make("edtNewGainFactor", "New Gain Factor:", "");
    edtNewGainFactor_->setReadOnly(true);
    row->addStretch();
    for (TQLabeledEdit* input : {edtCalGas_, edtAnaReading_, edtCurrGainFactor_})
        connect(input->Edit(), &QLineEdit::textChanged, this, [this] { edtCalGasChange(); });
    return box;
}

void TfraAnalyzerStreams::FillAOFunctions()
{
    const AnalogOutputCollection* choices = &analogOutputs_;
    QStringList names;
    for (int i = 0; i < choices->GetCount(); ++i)
        names << QString::fromStdString(choices->GetItem(i)->name);
    for (TfraStream* stream : streamFrames_)
        for (TfraAnaSetDefn* set : stream->SetFrames())
            for (int n = 1; n <= 2; ++n) {
                TQComboBox* combo = set->Function(n);
                combo->clear();
                // Item index and the choice's ordinal are the same number.
                combo->addItems(names);
                combo->setCurrentIndex(-1);
                textroom::fitWidthToItems(combo);
            }
}

void TfraAnalyzerStreams::RegisterPoints()
{
    if (FirstEntry())
        FillAOFunctions();
    TPageFrame::RegisterPoints();
    // The entry's read brings some 680 values in sixty-odd answers, and the link pumps events
    // between them: the tabs are painted once, when the read is over, not after every answer.
    PageHost* host = &Host();
    if (!host->LoggedOn() || !isVisible())
        return;
    streamTabs_->setUpdatesEnabled(false);
    readEnd_.start();
}

TPageFrame::ScanIds TfraAnalyzerStreams::ScanList() const
{
    return {streamspage::scanList(), {}};
}

void TfraAnalyzerStreams::hideEvent(QHideEvent* event)
{
    readEnd_.stop();
    streamTabs_->setUpdatesEnabled(true);
    TPageFrame::hideEvent(event);
}

void TfraAnalyzerStreams::FollowReadOnly(bool readOnly)
{
    setEnabled(true);
    EnableEditing(!readOnly);
}

void TfraAnalyzerStreams::EnableEditing(bool enable)
{
    for (std::size_t s = 0; s < streamFrames_.size(); ++s) {
        TfraStream* stream = streamFrames_[s];
        for (TfraAnaSetDefn* set : stream->SetFrames())
            set->setEnabled(enable);
        stream->ledGainFactor()->setEnabled(enable);
        stream->ledZeroOffset()->setEnabled(enable);
        stream->glAnalysisUnit()->setEnabled(enable);
        // The stream's switches are edits like the rest: read-only mode must not write them.
        for (TQCheckBox* box : streamSwitches_[s])
            box->setEnabled(enable);
    }
}

void TfraAnalyzerStreams::btnRequestClick(int stream, int runType)
{
    const QMessageBox::StandardButton answer =
        DialogService::ask(QMessageBox::Warning, QStringLiteral("Warning"), streamspage::requestQuestion(runType),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (const auto point = streamspage::pointOf(stream, runType, Box::RunRequest))
        Host().Queue("Calibrate", std::to_string(*point));
}

void TfraAnalyzerStreams::cbAOMgrFunctionDBPointValueChanged(TQComboBox* combo, const QString& value, bool& showValue)
{
    if (value.isEmpty())
        return;
    // The unit holds the source's point id; the list is in the choices' order. An id that is no
    // choice selects nothing: the item at that position would be written back as another source.
    const std::optional<std::int64_t> id = numtext::tryStrToInt64(value);
    const int ordinal =
        id && *id >= 0 && *id <= 0xFFFF ? analogOutputs_.GetOrdinalById(static_cast<std::uint16_t>(*id)) : -1;
    combo->setCurrentIndex(ordinal);
    showValue = false;
}

void TfraAnalyzerStreams::lblStream2DBPointValueChanged(const QString& value, bool& showValue)
{
    if (FirstEntry() || value.isEmpty())
        return;
    showValue = false;
    const std::optional<int> count = streamcount::streams(value);
    if (!count)
        return;
    if (const std::optional<QString> text = streamcount::displayText(value, streamcount::Words::Count))
        Host().SetStreamDisplay(*text);
    for (int s = 0; s < analyzer::kStreams; ++s)
        streamTabs_->setTabVisible(s, s < *count);
}

void TfraAnalyzerStreams::btnTestClick()
{
    const bool down = btnTest_->isChecked();
    for (TfraStream* stream : streamFrames_)
        for (TfraAnaSetDefn* set : stream->SetFrames())
            for (TQCheckBox* box : set->AlarmAndMaskBoxes())
                box->setChecked(down);
}

void TfraAnalyzerStreams::edtCalGasChange()
{
    if (const std::optional<QString> gain =
            streamspage::newGainFactor(edtCalGas_->Text(), edtAnaReading_->Text(), edtCurrGainFactor_->Text()))
        edtNewGainFactor_->setText(*gain);
}
