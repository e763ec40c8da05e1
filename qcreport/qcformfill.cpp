#include "qcformfill.h"

#include "qcreportframe.h"

#include <QTableWidget>

#include <charconv>
#include <cstdint>
#include <limits>

namespace qcreport {

namespace {

// The toolkit's integer reading of a whole text (blanks around it and a leading "+" allowed) into
// T, else QCConversionError.
template <typename T>
T wholeInteger(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    const std::string t = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    const char* begin = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    T value = 0;
    const auto res = std::from_chars(begin, t.data() + t.size(), value);
    if (t.empty() || res.ec != std::errc() || res.ptr != t.data() + t.size())
        throw QCConversionError("'" + text + "' is not a valid integer value");
    return value;
}

std::string maskDigit(const std::string& maskText, unsigned firstBit, int bits)
{
    const unsigned mask = unsigned(QCStrToInt(maskText));
    std::string digit;
    for (int i = 0; i < bits; ++i)
        if (mask & (firstBit << i))
            digit = std::to_string(i + 1);
    return digit;
}

}  // namespace

int QCStrToInt(const std::string& text)
{
    return wholeInteger<int>(text);
}

std::uint32_t QCVersionBits(const std::string& text)
{
    const std::int64_t value = wholeInteger<std::int64_t>(text);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
        throw QCConversionError("'" + text + "' is not a valid integer value");
    return static_cast<std::uint32_t>(value);
}

std::string RelayMaskDigit(const std::string& maskText)
{
    return maskDigit(maskText, 0x01, 6);
}

std::string SolenoidMaskDigit(const std::string& maskText)
{
    return maskDigit(maskText, 0x0100, 8);
}

void SetGridCellFromPoint(QTableWidget* grid, const PointTextReader& pointText, int pointId, int row, bool hex,
                          bool readOnly)
{
    const std::string text = pointText(pointId);
    if (text.empty() || !grid || row < 0)
        return;
    QString shown = AnsiToWide(text);
    if (hex)
        shown = QStringLiteral("%1").arg(QCVersionBits(text), 8, 16, QLatin1Char('0')).toUpper();
    constexpr int kValueColumn = 1;
    if (grid->columnCount() <= kValueColumn)
        grid->setColumnCount(kValueColumn + 1);
    if (grid->rowCount() <= row)
        grid->setRowCount(row + 1);
    QTableWidgetItem* cell = grid->item(row, kValueColumn);
    if (!cell) {
        cell = new QTableWidgetItem;
        grid->setItem(row, kValueColumn, cell);
    }
    cell->setText(shown);
    cell->setFlags(readOnly ? cell->flags() & ~Qt::ItemIsEditable : cell->flags() | Qt::ItemIsEditable);
}

}  // namespace qcreport
