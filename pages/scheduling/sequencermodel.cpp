#include "sequencermodel.h"

#include "sequencer.h"

#include <QList>
#include <algorithm>

namespace seqpage {

namespace {

// The list the unit's sequencer is running, or -1 when no step is to be marked.
int runningList(const RunState& state)
{
    if (state.seState == 1)
        return kAutomaticList;
    if (state.seState >= 3 && state.seState <= 2 + sequencer::kManualSequences)
        return state.seState - 2;
    return -1;
}

// Adds the steps of one list from its entries, marking the one the sequencer is at. The marker
// counts only the steps that were added, as the list shows them.
void decodeSteps(std::vector<Step>& list, const SequencerEntry* entries, int depth, int room, bool running,
                 int sePointer)
{
    const int count = std::min<int>(depth, room);
    int markIndex = 0;
    for (int i = 0; i < count; ++i) {
        const SequencerEntry& e = entries[i];
        if (e.Stream >= analyzer::kStreams || !analyzer::isRunType(e.Run))
            continue;
        Step step{e.Stream + 1, e.Run, false};
        if (running) {
            step.marked = sePointer - 1 == markIndex;
            ++markIndex;
        }
        list.push_back(step);
    }
}

std::uint8_t encodeSteps(const std::vector<Step>& list, SequencerEntry* entries, int room)
{
    const int count = std::min<int>(static_cast<int>(list.size()), room);
    for (int i = 0; i < count; ++i) {
        entries[i].Stream = static_cast<std::uint8_t>(list[i].stream - 1);
        entries[i].Run = static_cast<std::uint8_t>(list[i].run);
    }
    return static_cast<std::uint8_t>(count);
}

int radioIndex(std::uint8_t value)
{
    return value <= 7 ? value : -1;
}
std::uint8_t radioByte(int index)
{
    return index >= 0 && index <= 7 ? static_cast<std::uint8_t>(index) : 0;
}

bool validList(const PageModel& model, int list)
{
    return model.hasLists && list >= 0 && list < kLists;
}

}  // namespace

QString runTypeText(int run)
{
    return analyzer::isRunType(run) ? QString::fromLatin1(analyzer::runTypeText(static_cast<analyzer::RunType>(run)))
                                    : QString();
}

QString stepText(int streamNumber, int run)
{
    return QStringLiteral("Stream %1:%2").arg(streamNumber).arg(runTypeText(run));
}

std::optional<QString> stateText(int code)
{
    if (code == 0)
        return QStringLiteral("Sequencer Off");
    if (code == 1)
        return QStringLiteral("Automatic Sequencer On");
    if (code == 2)
        return QStringLiteral("Manual Sequencer On");
    if (code >= 3 && code <= 10)
        return QStringLiteral("Manual Sequencer %1 On").arg(code - 2);
    return std::nullopt;
}

int listCapacity(int list)
{
    return list == kAutomaticList ? sequencer::kAutomaticSteps : sequencer::kManualSteps;
}

QString listCaption(int list)
{
    return list == kAutomaticList ? QStringLiteral("Automatic Entries")
                                  : QStringLiteral("Manual Entries #%1").arg(list);
}

PageModel decode(const SequencerConfiguration& block, RunState& runState)
{
    PageModel model;
    model.hasLists = true;
    model.enableSequencer = block.Enable != 0;
    if (!model.enableSequencer)
        runState = RunState{};
    const int running = runningList(runState);

    decodeSteps(model.lists[kAutomaticList], block.Automatic, block.Depth, sequencer::kAutomaticSteps,
                running == kAutomaticList, runState.sePointer);
    model.manualModeEnable = block.ManualEnable != 0;
    model.manualDigitalInput = radioIndex(block.ManualDigitalInput);
    for (int m = 0; m < sequencer::kManualSequences; ++m) {
        const ManualSequence& ms = block.Manual[m];
        model.manual[m] = {ms.Enable != 0, ms.LoopEnable != 0, radioIndex(ms.DigitalInput)};
        decodeSteps(model.lists[m + 1], ms.Sequence, ms.Depth, sequencer::kManualSteps, running == m + 1,
                    runState.sePointer);
    }
    return model;
}

SequencerConfiguration encode(const PageModel& model)
{
    SequencerConfiguration block{};
    block.Enable = model.enableSequencer ? 1 : 0;
    block.ManualEnable = model.manualModeEnable ? 1 : 0;
    block.ManualDigitalInput = radioByte(model.manualDigitalInput);
    if (model.hasLists)
        block.Depth = encodeSteps(model.lists[kAutomaticList], block.Automatic, sequencer::kAutomaticSteps);
    for (int m = 0; m < sequencer::kManualSequences; ++m) {
        ManualSequence& ms = block.Manual[m];
        ms.Enable = model.manual[m].enable ? 1 : 0;
        ms.LoopEnable = model.manual[m].loopEnable ? 1 : 0;
        ms.DigitalInput = radioByte(model.manual[m].digitalInput);
        if (model.hasLists)
            ms.Depth = encodeSteps(model.lists[m + 1], ms.Sequence, sequencer::kManualSteps);
    }
    return block;
}

bool appendStep(PageModel& model, int list, int streamNumber, int run)
{
    if (!validList(model, list) || !RunTypeRef{streamNumber, run}.isRunType())
        return false;
    auto& steps = model.lists[list];
    if (static_cast<int>(steps.size()) >= listCapacity(list))
        return false;
    steps.push_back({streamNumber, run, false});
    return true;
}

bool deleteStep(PageModel& model, int list, int index)
{
    if (!validList(model, list) || index < 0 || index >= static_cast<int>(model.lists[list].size()))
        return false;
    model.lists[list].erase(model.lists[list].begin() + index);
    return true;
}

bool moveStepUp(PageModel& model, int list, int index)
{
    if (!validList(model, list) || index < 1 || index >= static_cast<int>(model.lists[list].size()))
        return false;
    std::swap(model.lists[list][index - 1], model.lists[list][index]);
    return true;
}

bool moveStepDown(PageModel& model, int list, int index)
{
    if (!validList(model, list) || index < 0 || index + 1 >= static_cast<int>(model.lists[list].size()))
        return false;
    std::swap(model.lists[list][index], model.lists[list][index + 1]);
    return true;
}

void setLoopEnable(PageModel& model, int manualIndex, bool checked)
{
    if (manualIndex < 0 || manualIndex >= sequencer::kManualSequences)
        return;
    if (checked) {
        for (auto& m : model.manual)
            m.loopEnable = false;
    }
    model.manual[manualIndex].loopEnable = checked;
}

QByteArray encodePayload(const RunTypeRef& ref)
{
    return QByteArray::number(ref.stream) + ' ' + QByteArray::number(ref.run);
}

std::optional<RunTypeRef> decodePayload(const QByteArray& payload)
{
    const QList<QByteArray> parts = payload.split(' ');
    if (parts.size() != 2)
        return std::nullopt;
    bool okStream = false, okRun = false;
    const int stream = parts[0].toInt(&okStream);
    const int run = parts[1].toInt(&okRun);
    if (!okStream || !okRun)
        return std::nullopt;
    return RunTypeRef{stream, run};
}

DropVerdict judgeDrop(const DropQuery& q)
{
    if (q.loggedOn && q.readOnlyMode)
        return DropVerdict::ReadOnly;
    if (!q.dragged || !q.dragged->isRunType())
        return DropVerdict::NotARunType;
    if (!q.streamsValue || *q.streamsValue + 1 < q.dragged->stream)
        return DropVerdict::StreamNotConfigured;
    if (!q.fromCatalogue)
        return DropVerdict::WrongSource;
    if (q.targetList < 0 || q.targetList >= kLists)
        return DropVerdict::NoTarget;
    if (q.targetIsRoot && q.stepsInTarget >= listCapacity(q.targetList))
        return DropVerdict::ListFull;
    if (!q.targetIsRoot)
        return DropVerdict::NotARoot;
    return DropVerdict::Accept;
}

void store(const PageModel& model, Sequencer& sequencer)
{
    sequencer.SetImage(encode(model));
}

}  // namespace seqpage
