#pragma once

#include "commdbpointfacade.h"
#include "communications.h"
#include "modmapadapterimage.h"

#include <QByteArray>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <map>
#include <variant>
#include <vector>

// A unit message: length byte, type, payload.
inline QByteArray unitMessage(int type, const QByteArray& payload = {})
{
    QByteArray m;
    m.append(static_cast<char>(payload.size() + 2));
    m.append(static_cast<char>(type));
    m.append(payload);
    return m;
}

inline ModmapEntry entry(int lsms, int format, int access, int id)
{
    return ModmapEntry{static_cast<std::uint8_t>(lsms), static_cast<std::uint8_t>(format),
                       static_cast<std::uint8_t>(access), static_cast<std::uint16_t>(id)};
}

// A Modbus map header with the (Address, BlockSize) pairs of blocks 0, 1, ... in turn.
inline ModmapHeader header(int mode, std::initializer_list<std::pair<int, int>> blocks)
{
    ModmapHeader h{};
    h.mode = static_cast<std::uint8_t>(mode);
    int b = 0;
    for (const auto& [address, size] : blocks)
        h.Blocks[b++] = {static_cast<std::uint16_t>(address), static_cast<std::uint16_t>(size)};
    return h;
}

template <typename Record>
QByteArray recordBytes(const Record& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), static_cast<int>(sizeof record));
}

// A unit that records every request. Scripted answers (or link statuses) are taken first; else
// block reads answer from the fields below and every other request with its type plus one.
class BlockLink : public MessageLink {
public:
    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool) override
    {
        sent.emplace_back(reinterpret_cast<const char*>(message), message[0]);
        QByteArray reply;
        if (!script.empty()) {
            const auto next = script.front();
            script.pop_front();
            if (const int* status = std::get_if<int>(&next))
                throw CommStatusError(*status);
            reply = std::get<QByteArray>(next);
        } else {
            reply = defaultAnswer(message);
        }
        if (reply.size() > capacity)
            throw CommStatusError(commstatus::kUnexpectedResponse);
        std::memcpy(answer, reply.constData(), static_cast<std::size_t>(reply.size()));
        return static_cast<int>(reply.size());
    }

    void answer(const QByteArray& reply) { script.emplace_back(reply); }
    void fail(int status) { script.emplace_back(status); }

    std::vector<QByteArray> sent;
    std::deque<std::variant<int, QByteArray>> script;
    QByteArray modmapHeader = QByteArray(17, '\0');
    std::map<int, QByteArray> modmapEntries;  // 5 bytes each by entry index; zero when absent

private:
    QByteArray defaultAnswer(const std::uint8_t* message) const
    {
        const int type = message[1];
        switch (type) {
        case 0x12:
            return unitMessage(type + 1, modmapHeader);
        case 0x14: {
            const int index = message[2] | (message[3] << 8);
            const auto found = modmapEntries.find(index);
            return unitMessage(type + 1, QByteArray(reinterpret_cast<const char*>(message + 2), 2) +
                                             (found != modmapEntries.end() ? found->second : QByteArray(5, '\0')));
        }
        case 0x18:
            return unitMessage(type + 1, QByteArray(2, '\0'));
        case 0x3C:
            return unitMessage(type + 1, QByteArray(228, '\0'));
        case 0x40:
            return unitMessage(type + 1, QByteArray(144, '\0'));
        default:
            return unitMessage(type + 1);
        }
    }
};
