#include "qcformfill.h"

#include "analyzer.h"
#include "qcreportframe.h"

#include <QTableWidget>

#include <cstdint>
#include <limits>

namespace qcreport {

namespace {

std::string maskDigit(const std::string& maskText, bool relay)
{
    const unsigned mask = unsigned(numtext::StrToInt(maskText));
    std::string digit;
    for (int n = 1; n <= (relay ? analyzer::kRelays : analyzer::kSolenoids); ++n)
        if (mask & (1u << analyzer::actionBit(relay, n)))
            digit = std::to_string(n);
    return digit;
}

}  // namespace

std::uint32_t QCVersionBits(const std::string& text)
{
    const std::int64_t value = numtext::StrToInt64(text);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
        throw QCConversionError("'" + text + "' is not a valid integer value");
    return static_cast<std::uint32_t>(value);
}

std::string RelayMaskDigit(const std::string& maskText)
{
    return maskDigit(maskText, true);
}

std::string SolenoidMaskDigit(const std::string& maskText)
{
    return maskDigit(maskText, false);
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
