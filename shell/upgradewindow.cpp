#include "upgradewindow.h"

#include "dialogservice.h"
#include "formmain.h"
#include "imagecommands.h"
#include "numbertext.h"
#include "securitychk.h"
#include "shellwindows.h"
#include "toolkitcolor.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace {

bool blinkPhase = false;

constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr char kHideQuestion[] = "Delete historical record and do not display this message automaticlly again?";

QAction* upgradeWindowItem()
{
    return FormMain ? FormMain->MenuItem("UpgradeWindow") : nullptr;
}

void centreOnMainWindow(QWidget* window)
{
    if (!FormMain)
        return;
    const QRect frame = FormMain->frameGeometry();
    window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(name);
    CommandLine::Paint(label, CommandLine::kIdleColour);
    return label;
}

}  // namespace

// --- checklist --------------------------------------------------------------------------------

CommandLine* CommandLine::Instance()
{
    static CommandLine list;
    return &list;
}

void CommandLine::Paint(QLabel* label, std::uint32_t colour)
{
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toolkitcolor::toQColor(colour));
    label->setPalette(palette);
    label->setProperty("ToolkitColor", static_cast<uint>(colour));
}

std::uint32_t CommandLine::PaintedColour(const QLabel* label)
{
    return label ? label->property("ToolkitColor").toUInt() : 0;
}

void CommandLine::SetStepState(int s, int k, std::uint8_t state)
{
    if (s < 0 || s >= GetStepCount())
        return;
    Step* step = GetStep(s);
    if (k < -1 || k >= step->GetSubStepCount())
        return;
    step->SetState(state);
    if (state == Step::Done) {
        if (k == -1) {
            Paint(step->GetLabel(), kDoneColour);
            for (int i = 0; i < step->GetSubStepCount(); ++i) {
                step->GetSubStep(i)->SetState(Step::Done);
                Paint(step->GetSubStep(i)->GetLabel(), kDoneColour);
            }
        } else {
            Paint(step->GetSubStep(k)->GetLabel(), kDoneColour);
        }
    } else if (state == Step::Idle) {
        Paint(step->GetLabel(), kIdleColour);
        for (int i = 0; i < step->GetSubStepCount(); ++i) {
            step->GetSubStep(i)->SetState(Step::Idle);
            Paint(step->GetSubStep(i)->GetLabel(), kIdleColour);
        }
    }
    if (k != -1)
        step->GetSubStep(k)->SetState(state);
}

UpgradeConfigFiles& UpgradeConfigFiles::Instance()
{
    static UpgradeConfigFiles files;
    return files;
}

// --- the upgrade window -----------------------------------------------------------------------

TfmUpgrade::TfmUpgrade(QWidget* parent)
        : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("fmUpgrade");
    setWindowTitle("Upgrade");
    setFixedSize(602, 122);

    title_ = makeLabel(this, "belStep2", "Upgrade Firmware Status");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    write_ = makeLabel(this, "step2", "  Writing New Firmware into Device");
    verify_ = makeLabel(this, "Step2_1", "Reading Back and Verify Firmware");
    reboot_ = makeLabel(this, "Step2_2", "Reboot Analyzer and Restart GUI");
    auto* gradient = new QLabel(this);
    gradient->setObjectName("GradientLabel1");
    gradient->setFixedHeight(4);
    gradient->setStyleSheet("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 navy, stop:1 silver);");

    progress_ = new QProgressBar(this);
    progress_->setObjectName("Progress");
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);

    hideButton_ = new QPushButton("Hide", this);
    hideButton_->setObjectName("HideB");
    connect(hideButton_, &QPushButton::clicked, this, &TfmUpgrade::HideBClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    layout->addWidget(title_);
    layout->addWidget(gradient);
    auto* row = new QHBoxLayout;
    auto* items = new QVBoxLayout;
    items->addWidget(write_);
    items->addWidget(verify_);
    items->addWidget(reboot_);
    row->addLayout(items, 1);
    row->addWidget(hideButton_, 0, Qt::AlignBottom);
    layout->addLayout(row);
    layout->addWidget(progress_);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(kBlinkMs);
    connect(timer_, &QTimer::timeout, this, &TfmUpgrade::Timer1Timer);

    popup_ = new QMenu(this);
    popup_->setObjectName("PopupMenu1");
    QAction* hide = popup_->addAction("Hide");
    hide->setObjectName("Hide1");
    connect(hide, &QAction::triggered, this, &TfmUpgrade::Hide1Click);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(mapToGlobal(at)); });

    FormCreate();
}

TfmUpgrade::~TfmUpgrade()
{
    // The checklist paints this window's labels; it goes with them.
    if (checklist_)
        checklist_->DeleteSteps();
}

QLabel* TfmUpgrade::Label(const char* name) const
{
    return findChild<QLabel*>(name);
}

void TfmUpgrade::FormCreate()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toolkitcolor::toQColor(kSilver));
    setPalette(palette);
    setAutoFillBackground(true);

    checklist_ = CommandLine::Instance();
    BuildSteps();
    const QString path = UpgradeDataFile(kStatusFile);
    if (!path.isEmpty())
        ReadStatusFile(path);
    if (StageFlag(1))
        checklist_->SetStepState(0, -1, Step::Done);
    if (StageFlag(2)) {
        checklist_->SetStepState(0, -1, Step::Done);
        checklist_->SetStepState(1, -1, Step::Done);
    }
    if (StageFlag(3)) {
        for (int s = 0; s < 3; ++s)
            checklist_->SetStepState(s, -1, Step::Idle);
        stageFlags_.fill(0);
    }
    askOnHide_ = 1;
}

void TfmUpgrade::BuildSteps()
{
    // A window made again (after the previous one was destroyed) starts a fresh checklist.
    checklist_->DeleteSteps();
    const std::vector<std::vector<QLabel*>> subSteps = {
        {write_, verify_, reboot_},
        {write_, verify_, reboot_},
        {verify_, write_, reboot_, reboot_},
    };
    for (const auto& labels : subSteps) {
        auto step = std::make_unique<Step>(title_);
        for (QLabel* label : labels)
            step->AddSubStep(std::make_unique<Step>(label));
        checklist_->AddStep(std::move(step));
    }
}

bool TfmUpgrade::IsStagePending() const
{
    return StageFlag(1) || StageFlag(2) || StageFlag(3);
}

int TfmUpgrade::WriteStatusFile(const QString& path)
{
    // Replaced whole: a failed write leaves the previous record as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    for (std::uint8_t flag : stageFlags_)
        file.write(flag ? "1\n" : "0\n");
    if (!file.commit())
        return 2;
    return 0;
}

int TfmUpgrade::ReadStatusFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        WriteStatusFile(path);
        return 1;
    }
    for (auto& flag : stageFlags_) {
        if (file.atEnd()) {
            flag = 0;
            continue;
        }
        const QByteArray line = file.readLine(40);
        if (line.isEmpty() && file.error() != QFileDevice::NoError)
            return 3;
        flag = numtext::cStrtol(std::string_view(line.constData(), static_cast<std::size_t>(line.size()))) == 1 ? 1 : 0;
    }
    return 0;
}

bool TfmUpgrade::BlinkPhase()
{
    return blinkPhase;
}
void TfmUpgrade::ResetBlinkPhase()
{
    blinkPhase = false;
}

void TfmUpgrade::Timer1Timer()
{
    const std::uint32_t colour = blinkPhase ? CommandLine::kBlinkColour : CommandLine::kIdleColour;
    for (int s = 0; s < checklist_->GetStepCount(); ++s) {
        try {
            Step* step = checklist_->GetStep(s);
            if (step->GetState() == Step::InProgress)
                CommandLine::Paint(step->GetLabel(), colour);
            for (int k = 0; k < step->GetSubStepCount(); ++k)
                if (step->GetSubStep(k)->GetState() == Step::InProgress)
                    CommandLine::Paint(step->GetSubStep(k)->GetLabel(), colour);
        } catch (const std::exception&) {
            // A step that cannot be painted does not stop the others from blinking.
        }
    }
    blinkPhase = !blinkPhase;
}

void TfmUpgrade::ShowWithBackground()
{
    if (QWidget* back = shellwindows::Window("Back")) {
        centreOnMainWindow(back);
        back->show();
    }
    centreOnMainWindow(this);
    show();
    raise();
}

void TfmUpgrade::HideWithBackground()
{
    if (QAction* item = upgradeWindowItem())
        item->setChecked(false);
    hide();
    if (QWidget* back = shellwindows::Existing("Back"))
        back->hide();
}

void TfmUpgrade::Hide1Click()
{
    HideWithBackground();
}

void TfmUpgrade::HideBClick()
{
    SecurityChk::Instance()->ChangeToDataDirectory();
    if (askOnHide_ && DialogService::ask(QMessageBox::Warning, "Warning", kHideQuestion,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        const QString status = UpgradeDataFile(kStatusFile);
        if (!status.isEmpty())
            QFile::remove(status);
        // The old configuration is the only copy of the unit's settings from before the
        // upgrade: it goes only when the user says so, knowing which file it is.
        const QString oldConfig = UpgradeDataFile(kOldConfigFile);
        if (!oldConfig.isEmpty() && QFile::exists(oldConfig) &&
            DialogService::ask(QMessageBox::Warning, "Warning",
                               "Also delete " + oldConfig +
                                   ", the configuration saved before the firmware upgrade?\n"
                                   "It is the only copy of that configuration.",
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
            QFile::remove(oldConfig);
        for (int s = 0; s < 3; ++s)
            checklist_->SetStepState(s, -1, Step::Idle);
        stageFlags_.fill(0);
    }
    HideWithBackground();
}

void TfmUpgrade::showEvent(QShowEvent* event)
{
    timer_->start();
    QWidget::showEvent(event);
}

void TfmUpgrade::hideEvent(QHideEvent* event)
{
    timer_->stop();
    QWidget::hideEvent(event);
}

bool TfmUpgrade::event(QEvent* event)
{
    // Whichever of the two windows is activated, the status window stays above the background.
    // An activation delivered after a window was hidden brings nothing back.
    if (event->type() == QEvent::WindowActivate && isVisible())
        raise();
    return QWidget::event(event);
}

// --- the background ---------------------------------------------------------------------------

TBack::TBack(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("Back");
    setWindowTitle("Display Background");
    setFixedSize(kWidth, kHeight);
    setWindowOpacity(kOpacity);
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setGeometry(0, 0, kWidth, kHeight);
    QPixmap picture(kWidth, kHeight);
    picture.fill(QColor(0, 0, 64));
    image->setPixmap(picture);
    image->setContextMenuPolicy(Qt::NoContextMenu);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (auto* upgrade = qobject_cast<TfmUpgrade*>(shellwindows::Existing("fmUpgrade")))
            upgrade->PopupMenu1()->popup(mapToGlobal(at));
    });
}

bool TBack::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        QWidget* upgrade = shellwindows::Existing("fmUpgrade");
        if (upgrade && upgrade->isVisible())
            upgrade->raise();
    }
    return QWidget::event(event);
}
