#include "inputmasks.h"

#include "numbertext.h"
#include "pointids.h"

namespace inputmasks {

const std::array<RunSelectorBox, analyzer::kRunTypes> kRunSelectorBoxes = {{
    {"H2S Reading", "chkRunSelectorSNR"},
    {"TS Reading", "chkRunSelectorSTS"},
    {"Ref1 Reading", "chkRunSelectorSRR"},
    {"Ref2 Reading", "chkRunSelectorSRR2"},
    {"Zero Reading", "chkRunSelectorSZR"},
    {"Cal Reading", "chkRunSelectorSCR"},
}};

std::string runSelectorBoxName(int stream, int runType, int input)
{
    return std::string(kRunSelectorBoxes[static_cast<std::size_t>(runType)].prefix) + std::to_string(stream) + "_" +
           std::to_string(input);
}

std::string runSelectorCaption(int stream, int runType)
{
    return "Stream " + std::to_string(stream) + " " + kRunSelectorBoxes[static_cast<std::size_t>(runType)].caption;
}

std::string relayBoxName(int relay, int input)
{
    return "chkDIAR" + std::to_string(relay) + "_" + std::to_string(input);
}

std::string solenoidBoxName(int solenoid, int input)
{
    return "chkDIAS" + std::to_string(solenoid) + "_" + std::to_string(input);
}

std::string clickText(int width, int bit, bool checked)
{
    const std::uint64_t all = width >= 64 ? ~0ull : (1ull << width) - 1;
    const std::uint64_t one = 1ull << bit;
    return std::to_string(checked ? one : (all & ~one));
}

bool bitOf(const std::string& value, int bit)
{
    const std::optional<std::int64_t> v = numtext::tryStrToInt64(value);
    if (!v || bit < 0 || bit > 31)
        return false;
    return ((static_cast<std::uint64_t>(*v) >> bit) & 1u) != 0;
}

using namespace pid;

const std::array<InputPoints, 4> kDryInputs = {{
    {1, DiscreteInput1Enable, DiscreteInput1Name, DiscreteInput1Audit, DiscreteInput1Polarity, DiscreteInput1Triggers,
     DiscreteInput1Actions},
    {2, DiscreteInput2Enable, DiscreteInput2Name, DiscreteInput2Audit, DiscreteInput2Polarity, DiscreteInput2Triggers,
     DiscreteInput2Actions},
    {3, DiscreteInput3Enable, DiscreteInput3Name, DiscreteInput3Audit, DiscreteInput3Polarity, DiscreteInput3Triggers,
     DiscreteInput3Actions},
    {4, DiscreteInput4Enable, DiscreteInput4Name, DiscreteInput4Audit, DiscreteInput4Polarity, DiscreteInput4Triggers,
     DiscreteInput4Actions},
}};

const std::array<InputPoints, 4> kWetInputs = {{
    {5, DiscreteInput5Enable, DiscreteInput5Name, DiscreteInput5Audit, DiscreteInput5Polarity, DiscreteInput5Triggers,
     DiscreteInput5Actions},
    {6, DiscreteInput6Enable, DiscreteInput6Name, DiscreteInput6Audit, DiscreteInput6Polarity, DiscreteInput6Triggers,
     DiscreteInput6Actions},
    {7, DiscreteInput7Enable, DiscreteInput7Name, DiscreteInput7Audit, DiscreteInput7Polarity, DiscreteInput7Triggers,
     DiscreteInput7Actions},
    {8, DiscreteInput8Enable, DiscreteInput8Name, DiscreteInput8Audit, DiscreteInput8Polarity, DiscreteInput8Triggers,
     DiscreteInput8Actions},
}};

const InputPageKind kDryPage = {&kDryInputs, "Discrete Inputs (DRY CONTACT) #1 to #4", "Inputs-DRY", 4, true};
const InputPageKind kWetPage = {&kWetInputs, "Discrete Inputs (WET CONTACT) #1 to #4", "Inputs-WET", 13, false};

std::vector<int> scanList(const InputPageKind& kind)
{
    std::vector<int> ids;
    for (const InputPoints& p : *kind.inputs)
        for (int id : {p.name, p.enable, p.audit, p.polarity, p.triggers, p.actions})
            ids.push_back(id);
    ids.push_back(pid::Streams);
    return ids;
}

}  // namespace inputmasks
