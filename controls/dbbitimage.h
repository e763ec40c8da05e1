#pragma once

#include "dbdisplays.h"

// A lamp on one bit of a 16-bit mask point: on (State 1) while that bit is set. Without a
// watched bit it is a plain TQImage.
class QTImage16 : public TQImage {
    Q_OBJECT
    Q_PROPERTY(dbctl::WatchBit WatchBitNumber READ WatchBitNumber WRITE setWatchBitNumber)
public:
    explicit QTImage16(QWidget* parent = nullptr);

    dbctl::WatchBit WatchBitNumber() const { return watchBit_; }
    // Bits beyond 15 are refused and the image keeps its bit.
    void setWatchBitNumber(dbctl::WatchBit bit);

protected:
    void ShowValue(const QString& value) override;

private:
    dbctl::WatchBit watchBit_ = dbctl::bnNone;
};
