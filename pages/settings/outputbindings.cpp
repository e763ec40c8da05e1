#include "outputbindings.h"

#include "pointids.h"

namespace outputpage {

using namespace pid;

const std::array<DigitalOutput, analyzer::kRelays> kRelays = {{
    {1, 1, "Latch R1", Relay1Name, Relay1FailSafePosition, Relay1LatchMask, LatchStateR1},
    {2, 2, "Latch R2", Relay2Name, Relay2FailSafePosition, Relay2LatchMask, LatchStateR2},
    {3, 3, "Latch R3", Relay3Name, Relay3FailSafePosition, Relay3LatchMask, LatchStateR3},
    {4, 4, "Latch R4", Relay4Name, Relay4FailSafePosition, Relay4LatchMask, LatchStateR4},
    {5, 5, "Latch R5", Relay5Name, Relay5FailSafePosition, Relay5LatchMask, LatchStateR5},
    {6, 6, "Latch R6", Relay6Name, Relay6FailSafePosition, Relay6LatchMask, LatchStateR6},
}};

const std::array<DigitalOutput, analyzer::kSolenoids> kSolenoids = {{
    {1, 9, "Latch S1", Solenoid1Name, Solenoid1FailSafePosition, Solenoid1LatchMask, LatchStateS1},
    {2, 10, "Latch S2", Solenoid2Name, Solenoid2FailSafePosition, Solenoid2LatchMask, LatchStateS2},
    {3, 11, "Latch S3", Solenoid3Name, Solenoid3FailSafePosition, Solenoid3LatchMask, LatchStateS3},
    {4, 12, "Latch S4", Solenoid4Name, Solenoid4FailSafePosition, Solenoid4LatchMask, LatchStateS4},
    {5, 13, "Latch S5", Solenoid5Name, Solenoid5FailSafePosition, Solenoid5LatchMask, LatchStateS5},
    {6, 14, "Latch S6", Solenoid6Name, Solenoid6FailSafePosition, Solenoid6LatchMask, LatchStateS6},
    {7, 15, "Latch S7", Solenoid7Name, Solenoid7FailSafePosition, Solenoid7LatchMask, LatchStateS7},
    {8, 16, "Latch S8", Solenoid8Name, Solenoid8FailSafePosition, Solenoid8LatchMask, LatchStateS8},
}};

const std::array<AnalogOutput, 6> kAnalogOutputs = {{
    {1, AnalogOutput1Description, AnalogOutput1Minimum, AnalogOutput1Range, AnalogOutput1Parameter},
    {2, AnalogOutput2Description, AnalogOutput2Minimum, AnalogOutput2Range, AnalogOutput2Parameter},
    {3, AnalogOutput3Description, AnalogOutput3Minimum, AnalogOutput3Range, AnalogOutput3Parameter},
    {4, AnalogOutput4Description, AnalogOutput4Minimum, AnalogOutput4Range, AnalogOutput4Parameter},
    {5, AnalogOutput5Description, AnalogOutput5Minimum, AnalogOutput5Range, AnalogOutput5Parameter},
    {6, AnalogOutput6Description, AnalogOutput6Minimum, AnalogOutput6Range, AnalogOutput6Parameter},
}};

std::vector<int> scanList()
{
    std::vector<int> ids;
    for (const DigitalOutput& r : kRelays)
        for (int id : {r.name, r.failSafe, r.latchMask})
            ids.push_back(id);
    for (const DigitalOutput& s : kSolenoids)
        for (int id : {s.name, s.failSafe, s.latchMask})
            ids.push_back(id);
    for (const DigitalOutput& r : kRelays)
        ids.push_back(r.latchState);
    for (const DigitalOutput& s : kSolenoids)
        ids.push_back(s.latchState);
    for (const AnalogOutput& a : kAnalogOutputs)
        for (int id : {a.description, a.minimum, a.range, a.parameter})
            ids.push_back(id);
    ids.push_back(pid::Streams);
    return ids;
}

}  // namespace outputpage
