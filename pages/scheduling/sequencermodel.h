#pragma once

#include "analyzer.h"
#include "sequencerconfiguration.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class Sequencer;

// What the sequencer page shows of the unit's 228-byte sequencer block, as a value: the nine
// sequence lists (automatic first, then manual sequences 1 to 8), the switches and the digital
// input choices. The page's widgets are drawn from it and write their edits back into it, so
// decoding, editing and encoding never touch a widget and a step never points into the
// catalogue of run types (a catalogue rebuild cannot leave a step dangling).
namespace seqpage {

constexpr int kLists = 1 + sequencer::kManualSequences;
constexpr int kAutomaticList = 0;

// Run type of the block (the unit's run type) in the unit's words (analyzer::runTypeText);
// empty outside 0-5.
QString runTypeText(int run);
// "Stream 2:Zero" for stream number 2 and run type 4.
QString stepText(int streamNumber, int run);
// The state text of the sequencer state point; nullopt for codes outside 0-10.
std::optional<QString> stateText(int code);
// Steps list `list` may hold: 32 for the automatic list, 8 for a manual one.
int listCapacity(int list);
// "Automatic Entries", "Manual Entries #1" ... "Manual Entries #8".
QString listCaption(int list);

struct Step {
    int stream = 1;       // stream number 1-4
    int run = 0;          // run type 0-5 of the block's numbering
    bool marked = false;  // the unit's sequencer is at this step

    bool operator==(const Step& o) const { return stream == o.stream && run == o.run && marked == o.marked; }
};

struct ManualSwitches {
    bool enable = false;
    bool loopEnable = false;
    int digitalInput = -1;  // 0-7 for input 1-8, -1 when no button is checked
};

// Where the unit's sequencer is, from its state and pointer points; decides the current-step
// marks at the next decode.
struct RunState {
    int sePointer = -1;  // 1-based step number
    int seState = 0;     // 0 off, 1 automatic, 2 manual sequencer, 3-10 manual sequence 1-8
};

struct PageModel {
    // The nine lists exist only once a block was decoded; until then nothing can be dropped.
    bool hasLists = false;
    bool enableSequencer = false;
    bool manualModeEnable = false;
    int manualDigitalInput = -1;  // 0-7, -1 when none is checked
    std::array<ManualSwitches, sequencer::kManualSequences> manual{};
    std::array<std::vector<Step>, kLists> lists{};
};

// The block as the page shows it. A block whose Enable is 0 resets the run state, so that no step
// is marked. Steps naming a stream above 4 or a run type above 5 are skipped; a depth above the
// block's room counts as the room; a digital-input value above 7 checks no button.
PageModel decode(const SequencerConfiguration& block, RunState& runState);
// The block the page's model stands for. An undecoded model gives no steps; a list is written
// up to its room and no further.
SequencerConfiguration encode(const PageModel& model);

// Edits of the lists. Each answers whether it changed the model.
// Appends a step at the end of the list, unless the list is full or absent.
bool appendStep(PageModel& model, int list, int streamNumber, int run);
bool deleteStep(PageModel& model, int list, int index);
// Moves a step one place up or down within its list; nothing at either end.
bool moveStepUp(PageModel& model, int list, int index);
bool moveStepDown(PageModel& model, int list, int index);
// Only one manual sequence loops: checking one box clears the others; clearing one clears only it.
void setLoopEnable(PageModel& model, int manualIndex, bool checked);

// The drag payload of a catalogue node: stream number and run type. A stream node or the
// catalogue root carries run type -1, and no list accepts it.
inline const char* const kRunTypeMime = "application/x-kvt515-runtype";
struct RunTypeRef {
    int stream = -1;
    int run = -1;
    bool isRunType() const { return stream >= 1 && stream <= analyzer::kStreams && analyzer::isRunType(run); }
};
QByteArray encodePayload(const RunTypeRef& ref);
// nullopt for anything that is not exactly two whole numbers; never throws.
std::optional<RunTypeRef> decodePayload(const QByteArray& payload);

// Everything the drop rule looks at.
struct DropQuery {
    bool loggedOn = false;
    bool readOnlyMode = false;
    std::optional<RunTypeRef> dragged;  // nullopt when the payload was unreadable
    std::optional<int> streamsValue;    // the Streams point: 0 for one stream ... 3 for four
    bool fromCatalogue = true;          // the drag came from the run-type catalogue
    int targetList = -1;                // list of the node under the mouse, -1 for none
    bool targetIsRoot = false;          // that node is the list's root (not a step)
    int stepsInTarget = 0;              // steps the target list holds
};

enum class DropVerdict {
    Accept,
    ReadOnly,             // logged on in read-only mode
    NotARunType,          // a stream node, the root, or an unreadable payload
    StreamNotConfigured,  // the run type's stream is above the unit's stream count
    WrongSource,          // not from the catalogue
    NoTarget,             // no node under the mouse
    ListFull,
    NotARoot,  // a drop onto a step
};
DropVerdict judgeDrop(const DropQuery& query);

// Stores the page's model as the database's sequencer block (no flag change, no notification).
void store(const PageModel& model, Sequencer& sequencer);

}  // namespace seqpage
