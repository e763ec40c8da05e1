#pragma once

#include "compareinterface.h"
#include "deescape.h"
#include "logpoint.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One event record as the unit stores it after the start byte: TimestampToken (four bytes,
// least significant first), event type, sub-code, condition, CRC low, CRC high.
using AuditEventBytes = std::array<std::uint8_t, 9>;

// The decoded texts of one event.
struct AUDITRECORD {
    double date = 0;
    std::string eventText;     // column "Event"
    std::string description1;  // column "Description 1"
    std::string description2;  // column "Description 2"
};

// The event's date and its three texts. The CRC bytes are not looked at.
AUDITRECORD DecodeAuditEvent(AuditEventBytes record, TokenToDateFn toDate);

// One parsed event.
struct AAUDITPOINTRECORD : ICompareInterface<AAUDITPOINTRECORD> {
    double date = 0;
    std::uint32_t token = 0;  // the sort key
    std::string eventText;
    std::string description1;
    std::string description2;

    // +1, 0 or -1 as this record's token is greater, equal or smaller (unsigned).
    int Compare(const AAUDITPOINTRECORD& other) const;
};

// A list of record pointers put in ascending order by the records' own Compare. It neither owns
// nor frees the records. The order is stable: records that compare equal keep the order they
// were handed in, so events of the same second stay in the order the unit wrote them.
template <class T>
class orderedArrayListType : public ICompareInterface<T> {
public:
    void SetList(std::vector<T*> list) { items_ = std::move(list); }
    // Orders positions first to last, both included.
    void Sort(int first, int last)
    {
        if (first < 0 || last >= static_cast<int>(items_.size()) || first >= last)
            return;
        std::stable_sort(items_.begin() + first, items_.begin() + last + 1,
                         [](const T* a, const T* b) { return a->Compare(*b) < 0; });
    }
    std::vector<T*> SortedList()
    {
        Sort(0, static_cast<int>(items_.size()) - 1);
        return items_;
    }
    void ClearList() { items_.clear(); }

private:
    std::vector<T*> items_;
};

// Where the event parser reports its progress: the maximum before the byte loop (a tenth of the
// length), then one step per eleven bytes.
class IAuditProgress {
public:
    virtual ~IAuditProgress() = default;
    virtual void Begin(int maximum) = 0;
    virtual void Step() = 0;
};

// Turns the downloaded event memory into time-ordered event records. Frames: 0xDE, seven data
// bytes (token, type, sub-code, condition), CRC-16/MODBUS low and high over the seven data
// bytes; every later 0xDE stored as 0xDE 0xAD. Bytes between frames are skipped.
class TAuditParser {
public:
    explicit TAuditParser(TokenToDateFn toDate = nullptr, IAuditProgress* progress = nullptr);
    ~TAuditParser();
    TAuditParser(const TAuditParser&) = delete;
    TAuditParser& operator=(const TAuditParser&) = delete;

    // Parses `length` bytes (the caller keeps the buffer); afterwards the records are the good
    // events in time order.
    void Parse(const std::uint8_t* buffer, std::size_t length);
    void ClearRecords();

    std::size_t RecordCount() const { return records_.size(); }
    // Throws std::out_of_range past the end.
    const AAUDITPOINTRECORD& Record(std::size_t index) const { return *records_.at(index); }
    // The 0xDE 0xAD pairs met inside frames during the last parse.
    int EscapeCount() const { return escapeCount_; }
    // Complete frames whose CRC did not match, during the last parse.
    int BadCrcCount() const { return badCrc_; }
    // The bytes the good frames occupy in the memory: ten each plus one for each of their escape
    // pairs. Escapes met in dropped frames are not counted, so this never exceeds the length.
    std::size_t UsedBytes() const { return usedBytes_; }

private:
    enum State : std::uint8_t { kHunting = 0, kData = 2, kCrcLow = 3, kCrcHigh = 4 };

    void ScanBuffer(std::size_t length);
    void Step(std::uint8_t byte);
    void MakeRecord();

    TokenToDateFn toDate_;
    IAuditProgress* progress_;
    int escapeCount_ = 0;
    int badCrc_ = 0;
    std::size_t usedBytes_ = 0;
    int frameEscapes_ = 0;                     // escape pairs of the frame being read
    std::vector<AAUDITPOINTRECORD*> records_;  // owned
    std::array<std::uint8_t, 7> data_{};
    std::uint16_t receivedCrc_ = 0;
    std::uint8_t state_ = kHunting;
    DeEscaper deEscaper_;
    std::uint8_t dataIndex_ = 0;
    const std::uint8_t* cursor_ = nullptr;
};
