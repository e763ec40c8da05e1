#include "logdbmgr.h"

#include "logpoint.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {
LogDBMgr* gInstance = nullptr;

void checkSlot(int slot)
{
    if (slot < 0 || slot >= ALOGPOINTRECORD::kValueSlots)
        throw std::out_of_range("log value slot " + std::to_string(slot) + " out of range");
}

bool earlier(const std::unique_ptr<ALOGPOINTRECORD>& a, const std::unique_ptr<ALOGPOINTRECORD>& b)
{
    return a->Compare(*b) < 0;
}

constexpr std::size_t kTextsHeader = 4;
constexpr std::size_t kTextHeader = 5;

std::uint32_t readU32(const char* at)
{
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::size_t textsSize(const char* block)
{
    return block ? kTextsHeader + readU32(block) : 0;
}

// Calls fn(slot, text) for each text of the block, in order.
template <typename Fn>
void forEachText(const char* block, Fn fn)
{
    const std::size_t size = textsSize(block);
    for (std::size_t at = kTextsHeader; at < size;) {
        const auto slot = static_cast<unsigned char>(block[at]);
        const std::uint32_t length = readU32(block + at + 1);
        fn(static_cast<int>(slot), std::string_view(block + at + kTextHeader, length));
        at += kTextHeader + length;
    }
}

// The block's texts but the slot's, then the slot's new text when there is one; null when no
// text is left.
std::unique_ptr<char[]> withText(const char* block, int slot, const std::string* text)
{
    std::size_t size = kTextsHeader;
    forEachText(block, [&](int s, std::string_view t) {
        if (s != slot)
            size += kTextHeader + t.size();
    });
    if (text)
        size += kTextHeader + text->size();
    if (size == kTextsHeader)
        return nullptr;
    auto out = std::make_unique<char[]>(size);
    const auto used = static_cast<std::uint32_t>(size - kTextsHeader);
    std::memcpy(out.get(), &used, sizeof used);
    std::size_t at = kTextsHeader;
    auto append = [&](int s, std::string_view t) {
        out[at] = static_cast<char>(s);
        const auto length = static_cast<std::uint32_t>(t.size());
        std::memcpy(out.get() + at + 1, &length, sizeof length);
        std::memcpy(out.get() + at + kTextHeader, t.data(), t.size());
        at += kTextHeader + t.size();
    };
    forEachText(block, [&](int s, std::string_view t) {
        if (s != slot)
            append(s, t);
    });
    if (text)
        append(slot, *text);
    return out;
}

std::string numberText(LogValueKind kind, std::uint32_t bits, char separator)
{
    switch (kind) {
    case LogValueKind::Float:
        return FloatLogText(bits, separator);
    case LogValueKind::Unsigned:
        return std::to_string(bits);
    case LogValueKind::Counter:
        return std::to_string(std::uint64_t{bits} + 1);
    case LogValueKind::Empty:
        break;
    }
    return {};
}
}  // namespace

static_assert(sizeof(ALOGPOINTRECORD) <= 56, "a record fits a 64-byte allocation");

ALOGPOINTRECORD::ALOGPOINTRECORD(const ALOGPOINTRECORD& other)
        : dateTime(other.dateTime), rawTime(other.rawTime), logIndex(other.logIndex), numbers_(other.numbers_),
          layout_(other.layout_)
{
    if (other.texts_) {
        const std::size_t size = textsSize(other.texts_.get());
        texts_ = std::make_unique<char[]>(size);
        std::memcpy(texts_.get(), other.texts_.get(), size);
    }
}

ALOGPOINTRECORD& ALOGPOINTRECORD::operator=(const ALOGPOINTRECORD& other)
{
    if (this != &other)
        *this = ALOGPOINTRECORD(other);
    return *this;
}

int ALOGPOINTRECORD::Compare(const ALOGPOINTRECORD& other) const
{
    if (rawTime > other.rawTime)
        return 1;
    return rawTime == other.rawTime ? 0 : -1;
}

int ALOGPOINTRECORD::NumberIndex(int slot) const
{
    const int j = slot % 8;
    return static_cast<std::uint32_t>(slot / 8) == NumbersLog() && j < kNumbers ? j : -1;
}

void ALOGPOINTRECORD::SetNumberKind(int j, LogValueKind kind)
{
    layout_ = (layout_ & ~(3u << (2 * j))) | (static_cast<std::uint32_t>(kind) << (2 * j));
}

std::string ALOGPOINTRECORD::ValueText(int slot) const
{
    checkSlot(slot);
    const int j = NumberIndex(slot);
    if (j >= 0 && NumberKind(j) != LogValueKind::Empty)
        return numberText(NumberKind(j), numbers_[static_cast<std::size_t>(j)], Separator());
    std::string text;
    forEachText(texts_.get(), [&](int s, std::string_view t) {
        if (s == slot)
            text.assign(t);
    });
    return text;
}

void ALOGPOINTRECORD::SetValueText(int slot, std::string text)
{
    checkSlot(slot);
    const int j = NumberIndex(slot);
    if (j >= 0)
        SetNumberKind(j, LogValueKind::Empty);
    texts_ = withText(texts_.get(), slot, &text);
}

void ALOGPOINTRECORD::SetValue(int slot, LogValueKind kind, std::uint32_t bits, char decimalSeparator)
{
    checkSlot(slot);
    if (NumbersLog() == kNoLog) {
        layout_ = (layout_ & ~(7u << 14)) | (static_cast<std::uint32_t>(slot / 8) << 14);
        layout_ = (layout_ & 0x00FFFFFFu) | (std::uint32_t{static_cast<unsigned char>(decimalSeparator)} << 24);
    }
    const int j = NumberIndex(slot);
    if (j < 0 || decimalSeparator != Separator()) {
        SetValueText(slot, numberText(kind, bits, decimalSeparator));
        return;
    }
    if (texts_)
        texts_ = withText(texts_.get(), slot, nullptr);
    numbers_[static_cast<std::size_t>(j)] = bits;
    SetNumberKind(j, kind);
}

LogDBMgr* LogDBMgr::Instance()
{
    if (!gInstance)
        gInstance = new LogDBMgr;
    return gInstance;
}

void LogDBMgr::ReleaseInstance()
{
    if (!gInstance)
        return;
    try {
        gInstance->Clear();
    } catch (...) {
    }
    delete gInstance;
    gInstance = nullptr;
}

void LogDBMgr::Clear()
{
    db_.records.clear();
    db_.counts.fill(0);
    for (auto& log : db2_.logs) {
        log.count = 0;
        log.records.clear();
    }
}

void LogDBMgr::AppendRecord(std::unique_ptr<ALOGPOINTRECORD> record)
{
    const auto log = static_cast<std::size_t>(record->logIndex);
    if (record->logIndex < 0 || log >= db_.counts.size())
        throw std::out_of_range("log index " + std::to_string(record->logIndex) + " out of range");
    db_.records.push_back(std::move(record));
    ++db_.counts[log];
}

void LogDBMgr::InsertByTime()
{
    auto& list = db_.records;
    if (list.size() < 2)
        return;
    const auto last = list.end() - 1;
    const auto place = std::upper_bound(list.begin(), last, *last, earlier);
    std::rotate(place, last, list.end());
}

void LogDBMgr::SortByTime()
{
    std::stable_sort(db_.records.begin(), db_.records.end(), earlier);
}

void LogDBMgr::DistributeRecords()
{
    for (std::size_t k = 0; k < db2_.logs.size(); ++k) {
        db2_.logs[k].count = db_.counts[k];
        db2_.logs[k].records.clear();
    }
    // An archive file is distributed on the user-interface thread: keep the window alive
    // through a long list. The download worker has no messages to process.
    const bool onGuiThread =
        QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
    std::size_t n = 0;
    for (const auto& record : db_.records) {
        if (onGuiThread && (n++ % 256) == 0)
            QCoreApplication::processEvents();
        db2_.logs.at(static_cast<std::size_t>(record->logIndex)).records.push_back(record.get());
    }
}

std::string LogDBMgr::GetValueText(int logIndex, int valueIndex, std::size_t position) const
{
    if (valueIndex < 0 || valueIndex > 7)
        throw std::out_of_range("log value index " + std::to_string(valueIndex) + " out of range");
    return db_.records.at(position)->ValueText(logIndex * 8 + valueIndex);
}

ALOGDB LogDBMgr::Copy() const
{
    ALOGDB copy;
    copy.counts = db_.counts;
    copy.selection = db_.selection;
    copy.records.reserve(db_.records.size());
    for (const auto& record : db_.records)
        copy.records.push_back(*record);
    return copy;
}
