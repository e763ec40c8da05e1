#include "sequencerpage.h"

#include "database.h"
#include "dbcontrol.h"
#include "dbdisplays.h"
#include "dbswitches.h"
#include "dbtextentry.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "observercomponents.h"
#include "pagehost.h"
#include "pointids.h"
#include "sequencertrees.h"
#include "streamcount.h"
#include "ui_sequencer.h"
#include "winmsg.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <cstring>

namespace {

// The points the page shows, in the order the express-scan list takes them.
constexpr int kScanPoints[] = {pid::SequencerState,
                               pid::SequencerPointer,
                               pid::SequencerRequestManualEnable,
                               pid::SequencerRequestSequence1,
                               pid::SequencerRequestSequence2,
                               pid::SequencerRequestSequence3,
                               pid::SequencerRequestSequence4,
                               pid::SequencerRequestSequence5,
                               pid::SequencerRequestSequence6,
                               pid::SequencerRequestSequence7,
                               pid::SequencerRequestSequence8,
                               pid::Streams};

// Checks the button of the index in a group of radio buttons; -1 checks none. An auto-exclusive
// button cannot be cleared while it is the checked one, so exclusivity is lifted meanwhile.
template <std::size_t N>
void checkRadio(const std::array<QRadioButton*, N>& group, int index)
{
    for (QRadioButton* b : group)
        b->setAutoExclusive(false);
    for (std::size_t i = 0; i < N; ++i)
        group[i]->setChecked(static_cast<int>(i) == index);
    for (QRadioButton* b : group)
        b->setAutoExclusive(true);
}

}  // namespace

const PageDecl TfrSequencer::kDecl = {
    .frameName = "frSequencer",
    .sheetName = "TabSequencer",
    .caption = "Sequencer ",
    .tab = 10,
    .scan = {.number = 12, .showWait = true},
    .entry = {.setsMode = true, .stopsPoll = true, .enterRoutine = true, .read = "ExpressRead"},
    .splash = "Loading Sentrel515 Desktop...Sequencer",
};

TfrSequencer::TfrSequencer(const PageServices& services, QWidget* parent)
        : TPageFrame(kDecl, services, parent), ui_(std::make_unique<Ui::TfrSequencer>())
{
    ui_->setupUi(this);
    setObjectName("frSequencer");
    LoggedOn = [this] { return Host().LoggedOn(); };
    ui_->tlSequencer->setWhatsThis(QString());
    ui_->tlSequencer->setProperty("HelpContext", 600);

    for (int i = 0; i < 8; ++i) {
        manualInputs_[i] = findChild<QRadioButton*>(QStringLiteral("sel%1").arg(i + 1));
        msEnable_[i] = findChild<QCheckBox*>(QStringLiteral("MSEnable%1").arg(i + 1));
        loopEnableBoxes_[i] = findChild<QCheckBox*>(QStringLiteral("MSLoopEnable%1").arg(i + 1));
        for (int input = 0; input < 8; ++input)
            sequenceInputs_[i][input] = findChild<QRadioButton*>(QStringLiteral("sel%1%2").arg(input + 1).arg(i + 1));
    }

    // The user's edits of the switches go into the model.
    connect(ui_->chkEnableSequencer, &QCheckBox::clicked, this, [this](bool on) {
        model_.enableSequencer = on;
        Edited();
    });
    connect(ui_->chkManualModeEnable, &QCheckBox::clicked, this, [this](bool on) {
        model_.manualModeEnable = on;
        Edited();
    });
    for (int i = 0; i < 8; ++i) {
        connect(manualInputs_[i], &QRadioButton::clicked, this, [this, i] {
            model_.manualDigitalInput = i;
            Edited();
        });
        connect(msEnable_[i], &QCheckBox::clicked, this, [this, i](bool on) {
            model_.manual[i].enable = on;
            Edited();
        });
        connect(loopEnableBoxes_[i], &QCheckBox::clicked, this, [this, i] { MSLoopEnableClick(i); });
        for (int input = 0; input < 8; ++input)
            connect(sequenceInputs_[i][input], &QRadioButton::clicked, this, [this, i, input] {
                model_.manual[i].digitalInput = input;
                Edited();
            });
    }

    ui_->treeRunType->CanStartDrag = [this] { return !Locked(); };
    ui_->tlSequencer->AcceptDrop = [this](const QMimeData* d, QTreeWidgetItem* t, QWidget* s) {
        return AcceptDrop(d, t, s);
    };
    ui_->tlSequencer->DropOnto = [this](const QMimeData* d, QTreeWidgetItem* t) { DropOnto(d, t); };
    ui_->tlSequencer->KeyDown = [this](QKeyEvent* e) { return tlSequencerKeyDown(e); };

    ui_->SequencerState->OnDBPointValueChanged = [this](QWidget*, const QString& v, bool& show) {
        SequencerStateDBPointValueChanged(v, show);
    };
    streamcount::bindDisplay(ui_->streams, streamcount::Words::Count, Host());
    ui_->MSOn->OnDBPointValueChanged = [this](QWidget*, const QString&, bool&) { MSOnDBPointValueChanged(); };
    // The hidden state and pointer edits only record where the sequencer is; the lists show it at
    // the next decode.
    connect(ui_->labSequencerState->Edit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto v = numtext::tryStrToInt64(text))
            runState_.seState = static_cast<int>(*v);
    });
    connect(ui_->lblSePointer->Edit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto v = numtext::tryStrToInt64(text))
            runState_.sePointer = static_cast<int>(*v);
    });

    observer_ = new TQStructOberver(this);
    observer_->setObjectName("QStructOberver1");
    observer_->OnSChanged = [this](int, const void* st) {
        SequencerConfiguration block;
        std::memcpy(&block, st, sizeof block);
        DecodeSequencerConfiguration(block);
    };
    Show();
}

TfrSequencer::~TfrSequencer() = default;

TPageFrame::ScanIds TfrSequencer::ScanList() const
{
    return {std::vector<int>(std::begin(kScanPoints), std::end(kScanPoints)), {}};
}

void TfrSequencer::FollowReadOnly(bool readOnly)
{
    setEnabled(!readOnly);
    SetReadOnly(readOnly);
}

void TfrSequencer::RegisterPoints()
{
    TPageFrame::RegisterPoints();
    ui_->treeRunType->BuildRunTypeTree();
}

void TfrSequencer::DecodeSequencerConfiguration(SequencerConfiguration block)
{
    model_ = seqpage::decode(block, runState_);
    unsent_ = false;
    Show();
}

void TfrSequencer::QSequencerObserverSEChanged()
{
    DecodeSequencerConfiguration(Database().GetSequencer().GetImage());
}

void TfrSequencer::StoreSequencerConfiguration()
{
    seqpage::store(model_, Database().GetSequencer());
}

bool TfrSequencer::Locked() const
{
    return readOnly_ && LoggedOn && LoggedOn();
}

void TfrSequencer::Show()
{
    ShowSwitches();
    ShowLists();
}

void TfrSequencer::ShowSwitches()
{
    ui_->chkEnableSequencer->setChecked(model_.enableSequencer);
    ui_->chkManualModeEnable->setChecked(model_.manualModeEnable);
    checkRadio(manualInputs_, model_.manualDigitalInput);
    for (int i = 0; i < 8; ++i) {
        msEnable_[i]->setChecked(model_.manual[i].enable);
        loopEnableBoxes_[i]->setChecked(model_.manual[i].loopEnable);
        checkRadio(sequenceInputs_[i], model_.manual[i].digitalInput);
    }
}

void TfrSequencer::ShowLists()
{
    TSequenceTree* tree = ui_->tlSequencer;
    tree->setUpdatesEnabled(false);
    tree->clear();
    if (model_.hasLists) {
        const QIcon rootIcon = style()->standardIcon(QStyle::SP_DirIcon);
        const QIcon stepIcon = style()->standardIcon(QStyle::SP_FileIcon);
        const QIcon markIcon = style()->standardIcon(QStyle::SP_MediaPlay);
        for (int list = 0; list < seqpage::kLists; ++list) {
            auto* root = new QTreeWidgetItem(tree, {seqpage::listCaption(list)});
            root->setIcon(0, rootIcon);
            root->setData(0, TSequenceTree::kListRole, list);
            root->setData(0, TSequenceTree::kStepRole, -1);
            const auto& steps = model_.lists[list];
            for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
                auto* item = new QTreeWidgetItem(root, {seqpage::stepText(steps[i].stream, steps[i].run)});
                item->setIcon(0, steps[i].marked ? markIcon : stepIcon);
                if (steps[i].marked) {
                    QFont bold = item->font(0);
                    bold.setBold(true);
                    item->setFont(0, bold);
                }
                item->setData(0, TSequenceTree::kListRole, list);
                item->setData(0, TSequenceTree::kStepRole, i);
            }
        }
        tree->expandAll();
    }
    tree->setUpdatesEnabled(true);
}

void TfrSequencer::SelectStep(int list, int index)
{
    QTreeWidgetItem* root = ui_->tlSequencer->topLevelItem(list);
    if (root && index >= 0 && index < root->childCount())
        ui_->tlSequencer->setCurrentItem(root->child(index));
}

void TfrSequencer::Edited()
{
    // Offline there is no write to the unit: the database's block follows the page at once for
    // drops (as a save would take it); logged on, the change waits for a write from this page.
    if (LoggedOn && LoggedOn())
        unsent_ = true;
}

bool TfrSequencer::AcceptDrop(const QMimeData* data, QTreeWidgetItem* target, QWidget* source) const
{
    seqpage::DropQuery q;
    q.loggedOn = LoggedOn && LoggedOn();
    q.readOnlyMode = readOnly_;
    if (data && data->hasFormat(QString::fromLatin1(seqpage::kRunTypeMime)))
        q.dragged = seqpage::decodePayload(data->data(QString::fromLatin1(seqpage::kRunTypeMime)));
    if (const auto v = numtext::tryStrToInt64(QString::fromStdString(Database().GetPointText(pid::Streams))))
        q.streamsValue = static_cast<int>(*v);
    q.fromCatalogue = source == ui_->treeRunType;
    if (target) {
        q.targetList = target->data(0, TSequenceTree::kListRole).toInt();
        q.targetIsRoot = target->parent() == nullptr;
        q.stepsInTarget = target->childCount();
    }
    return seqpage::judgeDrop(q) == seqpage::DropVerdict::Accept;
}

void TfrSequencer::DropOnto(const QMimeData* data, QTreeWidgetItem* target)
{
    if (!target || !data)
        return;
    const auto ref = seqpage::decodePayload(data->data(QString::fromLatin1(seqpage::kRunTypeMime)));
    if (!ref)
        return;
    const int list = target->data(0, TSequenceTree::kListRole).toInt();
    if (!seqpage::appendStep(model_, list, ref->stream, ref->run))
        return;
    ShowLists();
    if (LoggedOn && LoggedOn())
        unsent_ = true;
    else
        StoreSequencerConfiguration();
}

bool TfrSequencer::tlSequencerKeyDown(QKeyEvent* event)
{
    QTreeWidgetItem* item = ui_->tlSequencer->currentItem();
    if (Locked() || !item || !item->parent())
        return false;
    const int list = item->data(0, TSequenceTree::kListRole).toInt();
    const int index = item->data(0, TSequenceTree::kStepRole).toInt();
    if (event->key() == Qt::Key_Delete) {
        if (seqpage::deleteStep(model_, list, index)) {
            ShowLists();
            SelectStep(list, std::min(index, static_cast<int>(model_.lists[list].size()) - 1));
            Edited();
        }
        return false;  // the key goes on to the list
    }
    if (!(event->modifiers() & Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const bool up = event->key() == Qt::Key_Up;
        if (up ? seqpage::moveStepUp(model_, list, index) : seqpage::moveStepDown(model_, list, index)) {
            ShowLists();
            SelectStep(list, up ? index - 1 : index + 1);
            Edited();
        }
        return true;  // also at either end: nothing moves, and the selection stays
    }
    return false;
}

void TfrSequencer::MSLoopEnableClick(int manualIndex)
{
    seqpage::setLoopEnable(model_, manualIndex, loopEnableBoxes_[manualIndex]->isChecked());
    for (int i = 0; i < 8; ++i)
        loopEnableBoxes_[i]->setChecked(model_.manual[i].loopEnable);
    Edited();
}

void TfrSequencer::SequencerStateDBPointValueChanged(const QString& value, bool& showValue)
{
    if (const auto code = numtext::tryStrToInt64(value))
        if (const auto text = seqpage::stateText(static_cast<int>(*code)))
            ui_->SequencerState->setText(*text);
    showValue = false;
}

void TfrSequencer::MSOnDBPointValueChanged()
{
    const QIcon icon =
        style()->standardIcon(ui_->MSOn->IsOn() ? QStyle::SP_DialogYesButton : QStyle::SP_DialogNoButton);
    ui_->MSOn->setPixmap(icon.pixmap(16, 16));
}

QString TfrSequencer::UnsentChangeText()
{
    return QStringLiteral(
        "The changes made on the Sequencer page have not been sent to the unit.\n"
        "They are sent only by a Write made while the Sequencer page is shown.");
}

bool TfrSequencer::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case winmsg::WM_SEND_TO_DATABASE:
        if (!FirstEntry()) {
            StoreSequencerConfiguration();
            // The main write sends the block while this page is the one shown.
            if (Database().expressScan.GetPage() == Page().number)
                unsent_ = false;
        }
        return true;
    case winmsg::WM_REGISTER_DATABASE:
        observer_->AttachTo(Database().GetSequencer());
        return TPageFrame::event(e);
    case winmsg::WM_UNREGISTER_DATABASE:
        ui_->treeRunType->FreeRunTypeTree();
        return TPageFrame::event(e);
    default:
        return TPageFrame::event(e);
    }
}

void TfrSequencer::hideEvent(QHideEvent* e)
{
    TPageFrame::hideEvent(e);
    // Leaving the tab hides the page inside a window that stays shown; a minimised or closing
    // window is not leaving the page.
    if (e->spontaneous() || !unsent_ || window() == this || !window()->isVisible())
        return;
    unsent_ = false;
    DialogService::warn(UnsentChangeText());
}
