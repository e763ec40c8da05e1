// The unit's answers to every request the device messages make, and the multi-read answer
// unpacked into the points it names. The first byte picks the request, the next bytes its
// arguments, the rest is the answer message.
#include "commdbpointfacade.h"
#include "database.h"
#include "fuzzdatabase.h"

#include <stdexcept>
#include <string>

namespace {

std::uint16_t u16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void request(CommDBPointFacade& facade, DataBase& db, int which, const std::uint8_t* args)
{
    // Indexes a little past the map's end, too.
    const std::uint16_t index = static_cast<std::uint16_t>(u16(args) % 1400);
    switch (which) {
    case 0:
        facade.ReadFloat(index);
        break;
    case 1:
        facade.ReadBool(index);
        break;
    case 2:
        facade.ReadU8(index);
        break;
    case 3:
        facade.ReadU16(index);
        break;
    case 4:
        facade.ReadU32(index);
        break;
    case 5:
        facade.ReadS8(index);
        break;
    case 6:
        facade.ReadS16(index);
        break;
    case 7:
        facade.ReadS32(index);
        break;
    case 8: {
        std::string text;
        facade.ReadString(index, text);
        break;
    }
    case 9:
        facade.ReadEntry(index);
        break;
    case 10:
        facade.ReadModmapHeader();
        break;
    case 11:
        facade.ReadModmapEntry(index);
        break;
    case 12:
        facade.ReadLogRecord(args[0]);
        break;
    case 13:
        facade.ReadArchiveBlock(u16(args), static_cast<std::uint8_t>(args[2] % 201));
        break;
    case 14:
        facade.ReadMemoryInfo();
        break;
    case 15:
        facade.ReadEventBlock(u16(args), static_cast<std::uint8_t>(args[2] % 201));
        break;
    case 16:
        facade.ReadImageBlock(u16(args), static_cast<std::uint8_t>(args[2] % 201));
        break;
    case 17:
        facade.ReadSequencerConfig();
        break;
    case 18:
        facade.ReadTimerConfig();
        break;
    case 19:
        facade.FlashStatus();
        break;
    case 20:
        facade.FinishImageWrite();
        break;
    default: {
        // A multi-read of up to twenty entries, then its answer unpacked into the points.
        MultiReadRequest r;
        r.count = static_cast<std::uint8_t>(args[0] % MultiReadRequest::kMaxIndexes + 1);
        for (int i = 0; i < r.count; ++i)
            r.indexes[i] = static_cast<std::uint16_t>((index + i * 37) % 1357);
        const MultiReadAnswer answer = facade.MultiRead(r);
        db.UnpackMultiRead(r, answer.count, answer.values.data(), static_cast<int>(answer.values.size()), true);
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::ScriptedLink& link = fuzzsupport::initDatabase();
    if (size < 4)
        return 0;
    link.answer.assign(data + 4, data + size);
    link.status = 0;
    try {
        request(*CommDBPointFacade::Instance(), *DataBase::Instance(), data[0] % 22, data + 1);
    } catch (const CommStatusError&) {
        // A wrong answer is reported as status 21 (or 20): that is the expected outcome.
    } catch (const std::invalid_argument&) {
    }
    // The raw unpacking on its own, with the answer's count taken from the answer itself.
    if (size >= 6) {
        MultiReadRequest r;
        r.count = static_cast<std::uint8_t>(data[1] % MultiReadRequest::kMaxIndexes + 1);
        for (int i = 0; i < r.count; ++i)
            // The request is the program's own: its indexes are always entries of the map.
            r.indexes[i] = static_cast<std::uint16_t>((u16(data + 2) + i) % 1357);
        DataBase::Instance()->UnpackMultiRead(r, data[4], data + 5, static_cast<int>(size - 5), false);
    }
    fuzzsupport::forgetDialogs();
    return 0;
}
