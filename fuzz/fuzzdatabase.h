#pragma once

// The data model's fuzz targets: the point database over a link whose answers the fuzzer writes.
#include "communications.h"
#include "fuzzsupport.h"

#include <cstdint>
#include <vector>

namespace fuzzsupport {

// A link that answers every request with the bytes it is given (the answer message, its first
// byte being its length as the unit writes it), or with a status.
class ScriptedLink : public MessageLink {
public:
    std::vector<std::uint8_t> answer;
    int status = 0;
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool notify) override;
};

// Once per process: the point database over the scripted link.
ScriptedLink& initDatabase();

}  // namespace fuzzsupport
