#include "dbswitches.h"

#include "numbertext.h"

#include <QDebug>

namespace {

// The bits of a value text: bit masks travel in decimal (32-bit ones signed), an 8-bit mask as
// the one character whose code it is.
std::uint64_t bitsOf(const QString& value, dbctl::PointKind kind)
{
    if (kind == dbctl::PointKind::Bits8)
        return value.isEmpty() ? 0u : value.at(0).unicode() & 0xFFu;
    const auto v = numtext::tryStrToInt64(value);
    return v ? static_cast<std::uint64_t>(*v) : 0u;
}

bool isBitSet(dbctl::PointKind kind)
{
    return kind == dbctl::PointKind::Bits8 || kind == dbctl::PointKind::Bits16 || kind == dbctl::PointKind::Bits32;
}

bool isSigned(dbctl::PointKind kind)
{
    return kind == dbctl::PointKind::S8 || kind == dbctl::PointKind::S16 || kind == dbctl::PointKind::S32;
}

}  // namespace

TQCheckBox::TQCheckBox(QWidget* parent) : TQCheckBox(parent, dbctl::bnBit15) {}

TQCheckBox::TQCheckBox(QWidget* parent, int highestBit) : QCheckBox(parent), DbControl(this), highestBit_(highestBit)
{
    // clicked comes from the user (or a simulated click), never from setChecked.
    connect(this, &QAbstractButton::clicked, this, [this] { UserCommitted(); });
}

void TQCheckBox::setWatchBitNumber(dbctl::WatchBit bit)
{
    if (bit < dbctl::bnNone || bit > highestBit_) {
        qWarning() << objectName() << "cannot watch bit" << static_cast<int>(bit);
        return;
    }
    watchBit_ = bit;
}

void TQCheckBox::ShowValue(const QString& value)
{
    if (watchBit_ == dbctl::bnNone)
        setChecked(IsTrueValue(value));
    else
        setChecked(((bitsOf(value, Kind()) >> watchBit_) & 1u) != 0);
}

std::optional<std::string> TQCheckBox::TextToStore(QString* problem) const
{
    if (watchBit_ == dbctl::bnNone)
        return isChecked() ? OnText() : OffText();
    const int width = dbctl::bitWidth(Kind());
    if (watchBit_ >= width) {
        *problem = QStringLiteral("Point %1 has no bit %2 to set.").arg(DbId()).arg(static_cast<int>(watchBit_));
        return std::nullopt;
    }
    const std::uint64_t all = (1ull << width) - 1;
    const std::uint64_t bit = 1ull << watchBit_;
    if (isBitSet(Kind())) {
        // The database sets a lone bit and clears the lone clear bit of a mask; every other bit
        // of the point keeps what it has, whichever box changed it.
        const std::uint64_t v = isChecked() ? bit : (all & ~bit);
        if (Kind() == dbctl::PointKind::Bits8)
            return std::string(1, static_cast<char>(v));
        return std::to_string(v);
    }
    // A plain number point replaces its whole value, so the box builds it from the value the
    // point last announced.
    const std::uint64_t base = bitsOf(PointValue(), Kind()) & all;
    const std::uint64_t v = isChecked() ? (base | bit) : (base & ~bit);
    if (isSigned(Kind()) && (v >> (width - 1)) & 1u)
        return std::to_string(static_cast<std::int64_t>(v) - static_cast<std::int64_t>(1ull << width));
    return std::to_string(v);
}

TQCheckBox32::TQCheckBox32(QWidget* parent) : TQCheckBox(parent, dbctl::bnBit31) {}

TQRadioButton::TQRadioButton(QWidget* parent) : QRadioButton(parent), DbControl(this)
{
    connect(this, &QAbstractButton::clicked, this, [this](bool checked) {
        if (checked)
            UserCommitted();
    });
}

void TQRadioButton::ShowValue(const QString& value)
{
    if (IsTrueValue(value)) {
        setChecked(true);
    } else if (isChecked()) {
        // An exclusive button refuses to be cleared; a value that none of its group stands for
        // must still show none of them on.
        const bool exclusive = autoExclusive();
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(exclusive);
    }
}

std::optional<std::string> TQRadioButton::TextToStore(QString*) const
{
    if (!isChecked())
        return std::nullopt;
    return OnText();
}

TQAdvToolButton::TQAdvToolButton(QWidget* parent) : QToolButton(parent), DbControl(this)
{
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (isCheckable())
            UserCommitted();
    });
}

void TQAdvToolButton::ShowValue(const QString& value)
{
    if (isCheckable())
        setChecked(IsTrueValue(value));
    else
        setText(value);
}

std::optional<std::string> TQAdvToolButton::TextToStore(QString*) const
{
    return isChecked() ? OnText() : OffText();
}
