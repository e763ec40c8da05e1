#pragma once

#include <QByteArray>
#include <QDateTime>
#include <cstdint>
#include <vector>

// The frames the unit writes into its archive log memory and its event memory. Both are a start
// byte 0xDE, the covered bytes and their CRC-16/MODBUS (low byte first); every 0xDE after the
// start byte, CRC bytes included, is stored as 0xDE 0xAD.
namespace memoryframes {

// The stored frame of the given covered bytes.
QByteArray frame(const QByteArray& covered);

// A log frame: covered bytes log id, length (log id + length + payload), payload.
QByteArray logFrame(std::uint8_t logId, const QByteArray& payload);

// An event frame: covered bytes token, event type, sub-code, condition.
QByteArray eventFrame(std::uint32_t token, std::uint8_t type, std::uint8_t subCode, std::uint8_t condition);

// The unit's packed clock: year - 2000, month, day, hour, minute, second from bit 31 down.
std::uint32_t token(const QDateTime& time);
// The moment a token packs (as a UTC-spec date and time); invalid when its fields form none.
QDateTime timeOf(std::uint32_t token);
// The unit's clock is the site's wall clock: the local date and time to the second, held as a
// UTC-spec value so that counting on from it never meets a daylight-saving jump.
QDateTime wallClockNow();

// What a generated memory holds: `records` frames, the first at `start`, each `interval` seconds
// after the one before. A ring memory that has wrapped holds its newest `wrap` frames first
// (written over the oldest), then the older ones.
struct Plan {
    int records = 0;
    QDateTime start = QDateTime(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
    int interval = 60;
    int wrap = 0;
};

// The frames in memory order: the plan's time order rotated by its wrap.
QByteArray inMemoryOrder(const std::vector<QByteArray>& frames, int wrap);

// An event memory of generated events: event types 1 to 12 in turn, sub-codes 0 to 3 and the
// condition 0 or 1.
QByteArray events(const Plan& plan);

}  // namespace memoryframes
