#include "qcform.h"

#include "analyzer.h"
#include "ui_qcform.h"

#include "advpagecontrol.h"
#include "dialogservice.h"
#include "qcfillmap.h"
#include "qcformstreams.h"
#include "textroom.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qcreport {

const std::array<const char*, 3> kCustomerRows = {"Customer", "P.O. No.", "S.O.No."};
const std::array<const char*, 7> kVersionRows = {
    "Analyzer S.N.", "GUI Version",      "Ridovaz Version",        "Tag Number",
    "Sensor S.N.",   "Firmware Version", "Sensor Frimware Version"};
const std::array<const char*, 9> kGlobalSettingRows = {"Synchronize the Analyzer Time and Date",
                                                       "Aperture Strip Size",
                                                       "Capstan Diameter",
                                                       "Number of Pulses on Tape Advance",
                                                       "Live Sensor LED Current",
                                                       "Amount of tape used reset",
                                                       "Calibrate the Analog outputs",
                                                       "Wipe Archive logs before shipping",
                                                       "Furnace Pulse width"};
const std::array<const char*, 14> kOutputRows = {"Sol. 1",  "Sol. 2",  "Sol. 3",  "Sol. 4",  "Sol. 5",
                                                 "Sol. 6",  "Sol. 7",  "Sol. 8",  "Relay 1", "Relay 2",
                                                 "Relay 3", "Relay 4", "Relay 5", "Relay 6"};
const std::array<const char*, 8> kStreamTSCRows = {"Sample Delay(s)",
                                                   "Interval(s)",
                                                   "TSC (mV) for H2S Run (Disabled in Timed Analysis)",
                                                   "TSC (mV) for Total Sulphur Run (Disabled in Timed Analysis)",
                                                   "TSC (mV) for Calibration Run (Disabled in Timed Analysis)",
                                                   "TSC (mV) for Reference 1 Run (Disabled in Timed Analysis)",
                                                   "TSC (mV) for Reference 2 Run (Disabled in Timed Analysis)",
                                                   "TSC (mV) for Zero Run (Disabled in Timed Analysis)"};
const std::array<const char*, 6> kAlarmSetpointRows = {
    "H2S High Alarm Set point", "H2S % Deviation", "H2S High High Alarm Set point",
    "T.S High Alarm Set point", "T.S % Deviation", "T.S.High High Alarm Set point"};
const std::array<AlarmRowCaption, 6> kAlarmRows = {{
    {"chkH2SHighAlarm%", "H2S High Alarm", true, true},
    {"chkH2SDev%", "H2S % Deviation", false, false},
    {"chkH2SHighHightAlarm%", "H2S High High Alarm", true, true},
    {"chkTSHighAlarm%", "T.S High Alarm", false, true},
    {"chkTSDev%", "T.S % Deviation", false, false},
    {"chkTSHighHighAlarm%", "T.S High High Alarm", true, false},
}};

}  // namespace qcreport

using namespace qcreport;

namespace {

constexpr int kRowHeight = 22;
// The longest texts the fill writes: a point's general float text ("%g": six digits and a sign),
// the capstan diameter with its unit.
constexpr const char* kNumberSample = "-12345.6";
const QString kGlobalValueSample = QStringLiteral("50427.6207 (inches)");

// A two-column grid: its row titles whole in column 0, and room in column 1 for valueSample (the
// longest text the form puts there) whatever the window's width.
template <std::size_t N>
void setUpGrid(QTableWidget* grid, const std::array<const char*, N>& titles, const QString& valueSample)
{
    grid->setColumnCount(2);
    grid->setRowCount(int(N));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    // What a cell keeps around its text: the style's text margin on either side and a little air.
    const int around = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 6;
    int titleWidth = 0;
    for (const char* title : titles)
        titleWidth = std::max(titleWidth, grid->fontMetrics().horizontalAdvance(QString::fromLatin1(title)));
    titleWidth += around;
    grid->setColumnWidth(0, titleWidth);
    grid->setMinimumWidth(titleWidth + grid->fontMetrics().horizontalAdvance(valueSample) + around +
                          2 * grid->frameWidth());
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int height = int(N) * kRowHeight + 2 * grid->frameWidth();
    grid->setMinimumHeight(height);
    grid->setMaximumHeight(height);
    for (int row = 0; row < int(N); ++row) {
        auto* title = new QTableWidgetItem(QString::fromLatin1(titles[std::size_t(row)]));
        title->setFlags(Qt::ItemIsEnabled);
        title->setBackground(QColor(0xe9, 0xe9, 0xe9));
        title->setToolTip(title->text());
        grid->setItem(row, 0, title);
        // The value column is where the technician types.
        grid->setItem(row, 1, new QTableWidgetItem);
    }
}

QLineEdit* addLabeledEdit(QGridLayout* layout, int row, int column, const QString& name, const QString& caption,
                          bool readOnly = false)
{
    auto* label = new QLabel(caption);
    label->setObjectName(name + QStringLiteral("Label"));
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    label->setBuddy(edit);
    layout->addWidget(label, row, column);
    layout->addWidget(edit, row, column + 1);
    return edit;
}

QLineEdit* addEdit(QGridLayout* layout, int row, int column, const QString& name, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    layout->addWidget(edit, row, column);
    return edit;
}

}  // namespace

TQCForm::TQCForm(QCFormServices services, QWidget* parent)
        : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TQCForm>()), services_(std::move(services))
{
    ui_->setupUi(this);
    setObjectName(QStringLiteral("QCForm"));
    setUpGrids();
    // Kept for the save, which opens nothing yet; not shown, like the spare area-class combo.
    ui_->chkOpenPDF->hide();
    ui_->lblAreaClass->hide();
    ui_->cmbAreaClass->hide();
    ui_->cmbVoltageInput->setCurrentIndex(-1);
    for (int stream = 1; stream <= analyzer::kStreams; ++stream)
        buildStreamTab(stream);
    fitBoxes();
    connect(ui_->btnPrint, &QToolButton::clicked, this, &TQCForm::btnSaveClick);
    connect(ui_->btnLoad, &QToolButton::clicked, this, &TQCForm::btnSaveClick);
    connect(ui_->btnTmpSave, &QToolButton::clicked, this, &TQCForm::btnTmpSaveClick);
}

TQCForm::~TQCForm() = default;

void TQCForm::setUpGrids()
{
    setUpGrid(ui_->aGridCustomerInfor, kCustomerRows, textroom::capitals(textroom::kUnitTextLength));
    setUpGrid(ui_->aGridVersions, kVersionRows, textroom::capitals(textroom::kUnitTextLength));
    setUpGrid(ui_->gridGlobalSetting, kGlobalSettingRows, kGlobalValueSample);
    setUpGrid(ui_->gridOutput, kOutputRows, textroom::capitals(textroom::kUnitTextLength));
}

void TQCForm::fitBoxes()
{
    // A text longer than its box shows its start; the boxes the fill writes hold their longest
    // texts whole: a four-decimal reading, the analog outputs' descriptions (six characters, as
    // the outputs page takes them) and ranges (general float texts).
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        textroom::keepStartInView(edit);
    textroom::fitWidthTo(ui_->txtAI3, QStringLiteral("-1234.5678"));
    constexpr int kAODescriptionLength = 6;
    for (int n = 1; n <= 6; ++n) {
        if (auto* description = findChild<QLineEdit*>(QStringLiteral("txtAODescription%1").arg(n)))
            textroom::fitWidthTo(description, textroom::capitals(kAODescriptionLength));
        if (auto* range = findChild<QLineEdit*>(QStringLiteral("txtAORange%1").arg(n)))
            textroom::fitWidthTo(range, QLatin1String(kNumberSample));
    }
    // The voltage choice is as wide as its longest item ("24 VDC Backup").
    textroom::fitWidthToItems(ui_->cmbVoltageInput);
}

void TQCForm::buildStreamTab(int stream)
{
    const QString k = QString::number(stream);
    // The final-check controls carry no digit on stream 1.
    const QString s = stream == 1 ? QString() : k;
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabStream") + k);
    auto* column = new QVBoxLayout(tab);
    column->setSpacing(4);

    auto* finalCheck = new QGroupBox(QStringLiteral("Stream %1 Final Check and  Calibration").arg(stream));
    finalCheck->setObjectName(QStringLiteral("gbFinalCheck") + k);
    auto* fc = new QGridLayout(finalCheck);
    auto* leak = new QCheckBox(QStringLiteral("Complete analyzer System leak tested at 15 psig. "));
    leak->setObjectName(QStringLiteral("chkLeakTested") + s);
    fc->addWidget(leak, 0, 0, 1, 4);
    addLabeledEdit(fc, 1, 0, QStringLiteral("txtPrimaryCalWith") + s, QStringLiteral("Primary calibration with"));
    addEdit(fc, 1, 2, QStringLiteral("txtUnit%1%2").arg(k, "1"), QStringLiteral("Unit"));
    // The design carries the control's name as this label; activation blanks it.
    addLabeledEdit(fc, 2, 0, QStringLiteral("txtPrimaryCal") + s, QStringLiteral("txtPrimaryCal") + s);
    addEdit(fc, 2, 2, QStringLiteral("txtUnit%1%2").arg(k, "2"), QStringLiteral("Unit"));
    addLabeledEdit(fc, 3, 0, QStringLiteral("txtChartHours") + s, QStringLiteral("Charted for "));
    auto* hours =
        new QLabel(stream == 1 ? QStringLiteral("hours Chart included.") : QStringLiteral(" hours Chart included."));
    hours->setObjectName(QStringLiteral("lblChartHours") + k);
    fc->addWidget(hours, 3, 2, 1, 2);
    addLabeledEdit(fc, 4, 0, QStringLiteral("txtH2SGain") + s, QStringLiteral("H2S Gain"));
    addLabeledEdit(fc, 4, 2, QStringLiteral("txtTotalSulphurFinal") + s, QStringLiteral("Total Sulphur Gain"));
    column->addWidget(finalCheck);

    auto* typeRow = new QGridLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Analysis Type"));
    typeLabel->setObjectName(QStringLiteral("lblAnalysisType") + k);
    auto* type = new QComboBox;
    type->setObjectName(QStringLiteral("cmbAnalysisType") + k);
    type->addItems({QStringLiteral("Peak Detect"), QStringLiteral("Timed")});
    typeRow->addWidget(typeLabel, 0, 0);
    typeRow->addWidget(type, 0, 1);
    for (int ao = 1; ao <= 2; ++ao) {
        auto* box = new QCheckBox(QStringLiteral("Analog Output Override  #%1 ").arg(ao));
        box->setObjectName(QStringLiteral("chkAOOverride%1_%2").arg(stream).arg(ao));
        typeRow->addWidget(box, 1, ao - 1);
    }
    column->addLayout(typeRow);

    auto* tsc = new QTableWidget;
    tsc->setObjectName(QStringLiteral("gridStreamTSC") + k);
    setUpGrid(tsc, kStreamTSCRows, QLatin1String(kNumberSample));
    column->addWidget(tsc);

    auto* alarms = new QGridLayout;
    alarms->setVerticalSpacing(2);
    int line = 0;
    for (int j = 1; j <= 6; ++j) {
        const auto& caption = kAlarmRows[std::size_t(j - 1)];
        auto* box = new QCheckBox(QString::fromLatin1(caption.caption));
        box->setObjectName(StreamControlName(caption.box, stream));
        box->setChecked(caption.tickedInDesign);
        alarms->addWidget(box, line, 0);
        addLabeledEdit(alarms, line, 1, QStringLiteral("txtRelay%1_%2").arg(stream).arg(j), QStringLiteral("Relay #"),
                       caption.relayReadOnly);
        addLabeledEdit(alarms, line, 3, QStringLiteral("txtSolenoid%1_%2").arg(stream).arg(j),
                       QStringLiteral("Solenoid #"));
        ++line;
        if (j == 3 || j == 6) {
            auto* duration = new QGridLayout;
            addLabeledEdit(duration, 0, 0,
                           j == 3 ? QStringLiteral("txtH2SHighHighAlarmDuration") + k
                                  : QStringLiteral("txtTSHighHighAlarmDuration") + k,
                           j == 3 ? QStringLiteral("H2S High High Alarm Duration(s)")
                                  : QStringLiteral("T.S High High Alarm Duration(s)"),
                           true);
            alarms->addLayout(duration, line++, 0, 1, 5);
        }
    }
    column->addLayout(alarms);

    auto* setpoints = new QTableWidget;
    setpoints->setObjectName(QStringLiteral("gridAlarmSetpoint") + k);
    setUpGrid(setpoints, kAlarmSetpointRows, QLatin1String(kNumberSample));
    column->addWidget(setpoints);

    // The six run tabs stand in as many rows as the tab's width needs.
    auto* switching = new TAdvPageControl;
    switching->setObjectName(stream == 1 ? QStringLiteral("PageControlAnaSetDefns")
                                         : QStringLiteral("PageControl%1").arg(stream - 1));
    for (const auto& run : SwitchingRows()) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("Tab%1Switching%2").arg(run.run, k));
        auto* pageLayout = new QVBoxLayout(page);
        auto* group = new QGroupBox(QStringLiteral("Switching"));
        group->setObjectName(QStringLiteral("gb%1Switching%2").arg(run.run, k));
        auto* boxes = new QGridLayout(group);
        boxes->setVerticalSpacing(2);
        auto* relays = new QLabel(QStringLiteral("Relays"));
        relays->setObjectName(QStringLiteral("lbl%1Relays%2").arg(run.run, k));
        auto* solenoids = new QLabel(QStringLiteral("Solenoids"));
        solenoids->setObjectName(QStringLiteral("lbl%1Solenoids%2").arg(run.run, k));
        boxes->addWidget(relays, 0, 0);
        boxes->addWidget(solenoids, 2, 0);
        for (int n = 1; n <= analyzer::kSolenoids; ++n) {
            if (n <= analyzer::kRelays) {
                auto* relay = new QCheckBox(QString::number(n));
                relay->setObjectName(SwitchingBoxName(run.run, stream, true, n));
                boxes->addWidget(relay, 1, n - 1);
            }
            auto* solenoid = new QCheckBox(QString::number(n));
            solenoid->setObjectName(SwitchingBoxName(run.run, stream, false, n));
            boxes->addWidget(solenoid, 3, n - 1);
        }
        pageLayout->addWidget(group);
        switching->addTab(page, QString::fromLatin1(run.caption));
    }
    column->addWidget(switching->TabRows());
    column->addWidget(switching);
    column->addStretch(1);
    // The tab is taller than the window: it keeps its full height and the form scrolls.
    tab->setMinimumHeight(column->sizeHint().height());
    ui_->PageControlStreams->addTab(tab, QStringLiteral("Stream ") + k);
}

QString TQCForm::dataFilePath() const
{
    const QString dir = services_.dataDirectory ? services_.dataDirectory() : QString();
    return QDir(dir).filePath(QString::fromLatin1(kQCDocFileName));
}

QString TQCForm::GridCell(const QTableWidget* grid, int row)
{
    if (!grid)
        return {};
    const QTableWidgetItem* cell = grid->item(row, 1);
    return cell ? cell->text() : QString();
}

QString TQCForm::GridCell(const char* gridName, int row) const
{
    return GridCell(findChild<QTableWidget*>(QString::fromLatin1(gridName)), row);
}

QCDocData TQCForm::docData() const
{
    QCDocData data;
    data.customer = GridCell(ui_->aGridCustomerInfor, 0);
    data.poNo = GridCell(ui_->aGridCustomerInfor, 1);
    data.soNo = GridCell(ui_->aGridCustomerInfor, 2);
    data.technician = ui_->txtTechnician->text();
    data.calDate = ui_->txtCalDate->text();
    // The file keeps the notes with CR LF line ends.
    data.notes = ui_->Memo1->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return data;
}

void TQCForm::setDocData(const QCDocData& data, int groups)
{
    if (groups > 0) {
        ui_->aGridCustomerInfor->item(0, 1)->setText(data.customer);
        ui_->aGridCustomerInfor->item(1, 1)->setText(data.poNo);
        ui_->aGridCustomerInfor->item(2, 1)->setText(data.soNo);
    }
    if (groups > 1)
        ui_->txtTechnician->setText(data.technician);
    if (groups > 2)
        ui_->txtCalDate->setText(data.calDate);
    if (groups > 3) {
        QString notes = data.notes;
        notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        ui_->Memo1->setPlainText(notes);
    }
}

void TQCForm::readDataFile()
{
    // Once per run: reading again on each activation would throw away what the technician typed
    // and has not saved yet.
    dataFileRead_ = true;
    const QCDocRead read = ReadQCDocFile(dataFilePath());
    // No file yet is the first use of the form; only a file that is there and cannot be taken is
    // worth a word, as the next Temporary Save would replace it.
    if (read.missing)
        return;
    if (!read.ok) {
        DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"),
                           QStringLiteral("The saved Q.C. data could not be read from \"%1\": %2.\n"
                                          "The customer, technician, date and notes start empty.")
                               .arg(QDir::toNativeSeparators(dataFilePath()), read.error),
                           QMessageBox::Ok);
        return;
    }
    setDocData(read.data, read.groups);
}

void TQCForm::FormActivate()
{
    if (!dataFileRead_)
        readDataFile();
    for (const char* name : {"txtPrimaryCalLabel", "txtPrimaryCal2Label", "txtPrimaryCal3Label", "txtPrimaryCal4Label"})
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(QStringLiteral(" "));
    if (!services_.loggedOn || !services_.loggedOn() || !services_.pointText)
        return;
    const FillOutcome outcome =
        FillQCForm(this, services_.pointText, services_.guiVersion ? services_.guiVersion() : QString());
    // The box's closing activates the form again, and that refills it: the same failures are
    // said once, or the technician would never get out of the box.
    if (outcome.failures == reportedFailures_)
        return;
    reportedFailures_ = outcome.failures;
    if (!outcome.failures.isEmpty())
        DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"),
                           QStringLiteral("These controls could not be filled from the unit's points "
                                          "and were left blank:\n") +
                               outcome.failures.join(QLatin1Char('\n')),
                           QMessageBox::Ok);
}

void TQCForm::btnTmpSaveClick()
{
    QString error;
    if (!WriteQCDocFile(dataFilePath(), docData(), &error))
        DialogService::ask(QMessageBox::Warning, QStringLiteral("Attention"),
                           QStringLiteral("The Q.C. data could not be saved to \"%1\": %2")
                               .arg(QDir::toNativeSeparators(dataFilePath()), error),
                           QMessageBox::Ok);
}

bool TQCForm::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TQCForm::showEvent(QShowEvent* event)
{
    // Centred on the screen when first shown; after that it stays where the technician put it.
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            QRect frame = frameGeometry();
            frame.moveCenter(area.center());
            // A screen smaller than the form keeps the title bar reachable.
            move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
        }
    }
    QWidget::showEvent(event);
}

void TQCForm::closeEvent(QCloseEvent* event)
{
    // Closing only hides: the controls keep their contents until the program ends. Opened
    // again, the form says its fill failures again.
    event->ignore();
    hide();
    reportedFailures_.clear();
}
