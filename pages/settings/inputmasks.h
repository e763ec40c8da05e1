#pragma once

#include "analyzer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The discrete inputs' two bit masks and the points of each input, as data. The run-selector
// mask (32 bits) has one bit per stream and run type (analyzer::runMaskBit), the action mask
// (16 bits) one per relay and solenoid (analyzer::relayBit, analyzer::solenoidBit); the input
// pages show every bit as a box of its own and change one bit per click.
namespace inputmasks {

// A run type's boxes: caption and name prefix, by the unit's run type.
struct RunSelectorBox {
    const char* caption;  // "H2S Reading"
    const char* prefix;   // box name prefix, then stream, "_", input
};
extern const std::array<RunSelectorBox, analyzer::kRunTypes> kRunSelectorBoxes;

// "chkRunSelectorSCR3_2": the box of input 2 for stream 3, run type 5.
std::string runSelectorBoxName(int stream, int runType, int input);
// "Stream 3 Cal Reading".
std::string runSelectorCaption(int stream, int runType);

// "chkDIAR1_1", "chkDIAS8_4".
std::string relayBoxName(int relay, int input);
std::string solenoidBoxName(int solenoid, int input);

// The text a click on bit `bit` of a mask `width` bits wide (16 or 32) hands to the database: the
// bit's value when the box was checked, the pattern with only that bit clear when it was cleared,
// both unsigned decimal. The database sets a lone set bit and clears a lone clear bit, so the
// mask's other bits keep their pending values.
std::string clickText(int width, int bit, bool checked);
// Whether bit `bit` is set in a mask's value text (decimal, signed or unsigned); false for a text
// that is no number.
bool bitOf(const std::string& value, int bit);

// The six points of one discrete input.
struct InputPoints {
    int input;  // 1..8
    std::uint16_t enable;
    std::uint16_t name;
    std::uint16_t audit;
    std::uint16_t polarity;
    std::uint16_t triggers;  // run-selector mask
    std::uint16_t actions;   // action mask
};
extern const std::array<InputPoints, 4> kDryInputs;  // inputs 1-4
extern const std::array<InputPoints, 4> kWetInputs;  // inputs 5-8

// What differs between the dry and the wet input page.
struct InputPageKind {
    const std::array<InputPoints, 4>* inputs;
    const char* groupCaption;  // gbDiscreteInputs
    const char* pageWord;      // in the entry warning
    int scanPage;
    // The dry page's run-selector clicks take only points read from the unit; the wet page's go
    // through the controls' edit path.
    bool runSelectorReadOnly;
};
extern const InputPageKind kDryPage;
extern const InputPageKind kWetPage;

// The page's express-scan list: per input name, enable, audit, polarity, triggers, actions; then
// "Streams".
std::vector<int> scanList(const InputPageKind& kind);

}  // namespace inputmasks
