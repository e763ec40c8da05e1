#include "memoryframes.h"

#include "crc16.h"

namespace memoryframes {

namespace {

void appendStored(QByteArray& out, std::uint8_t byte)
{
    out.append(static_cast<char>(byte));
    if (byte == 0xDE)
        out.append(static_cast<char>(0xAD));
}

}  // namespace

QByteArray frame(const QByteArray& covered)
{
    const std::uint16_t crc = Crc16Modbus::compute(reinterpret_cast<const std::uint8_t*>(covered.constData()),
                                                   static_cast<std::size_t>(covered.size()));
    QByteArray out(1, static_cast<char>(0xDE));
    for (char c : covered)
        appendStored(out, static_cast<std::uint8_t>(c));
    appendStored(out, static_cast<std::uint8_t>(crc & 0xFF));
    appendStored(out, static_cast<std::uint8_t>(crc >> 8));
    return out;
}

QByteArray logFrame(std::uint8_t logId, const QByteArray& payload)
{
    QByteArray covered;
    covered.append(static_cast<char>(logId));
    covered.append(static_cast<char>(payload.size() + 2));
    covered.append(payload);
    return frame(covered);
}

QByteArray eventFrame(std::uint32_t token, std::uint8_t type, std::uint8_t subCode, std::uint8_t condition)
{
    QByteArray covered;
    for (int i = 0; i < 4; ++i)
        covered.append(static_cast<char>((token >> (8 * i)) & 0xFF));
    covered.append(static_cast<char>(type));
    covered.append(static_cast<char>(subCode));
    covered.append(static_cast<char>(condition));
    return frame(covered);
}

std::uint32_t token(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return (static_cast<std::uint32_t>(d.year() - 2000) << 26) | (static_cast<std::uint32_t>(d.month()) << 22) |
           (static_cast<std::uint32_t>(d.day()) << 17) | (static_cast<std::uint32_t>(t.hour()) << 12) |
           (static_cast<std::uint32_t>(t.minute()) << 6) | static_cast<std::uint32_t>(t.second());
}

QDateTime timeOf(std::uint32_t token)
{
    const QDate date(static_cast<int>(2000 + (token >> 26)), static_cast<int>((token >> 22) & 0xF),
                     static_cast<int>((token >> 17) & 0x1F));
    const QTime time(static_cast<int>((token >> 12) & 0x1F), static_cast<int>((token >> 6) & 0x3F),
                     static_cast<int>(token & 0x3F));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

QDateTime wallClockNow()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QTime t = local.time();
    return QDateTime(local.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

QByteArray inMemoryOrder(const std::vector<QByteArray>& frames, int wrap)
{
    const int n = static_cast<int>(frames.size());
    const int w = n > 0 ? wrap % n : 0;
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out.append(frames[static_cast<std::size_t>((n - w + i) % n)]);
    return out;
}

QByteArray events(const Plan& plan)
{
    std::vector<QByteArray> frames;
    for (int i = 0; i < plan.records; ++i)
        frames.push_back(eventFrame(token(plan.start.addSecs(std::int64_t{i} * plan.interval)),
                                    static_cast<std::uint8_t>(1 + i % 12), static_cast<std::uint8_t>(i % 4),
                                    static_cast<std::uint8_t>(i % 2)));
    return inMemoryOrder(frames, plan.wrap);
}

}  // namespace memoryframes
