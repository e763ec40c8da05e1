#include "streamcount.h"

#include "dbcontrol.h"
#include "dbdisplays.h"
#include "pagehost.h"

namespace streamcount {

std::optional<int> streams(const QString& value)
{
    const std::optional<std::int64_t> number = dbctl::parseInteger(value);
    if (!number || *number < 0 || *number > 3)
        return std::nullopt;
    return static_cast<int>(*number) + 1;
}

std::optional<QString> displayText(const QString& value, Words words)
{
    const std::optional<int> count = streams(value);
    if (!count)
        return std::nullopt;
    if (words == Words::SingleDual) {
        if (*count > 2)
            return std::nullopt;
        return *count == 1 ? QStringLiteral("SINGLE STREAM") : QStringLiteral("DUAL STREAM");
    }
    return *count == 1 ? QStringLiteral("1-STREAM") : QStringLiteral("%1-STREAMS").arg(*count);
}

void bindDisplay(TQLabel* label, Words words, PageHost& host)
{
    // A value that is not a stream count is passed over: a poll brings the next one in 2 s, and
    // a message box per poll would bury the window.
    label->OnDBPointValueChanged = [words, &host](QWidget*, const QString& value, bool& showValue) {
        if (value.isEmpty())
            return;
        if (dbctl::parseInteger(value))
            showValue = false;
        if (std::optional<QString> text = displayText(value, words))
            host.SetStreamDisplay(*text);
    };
}

}  // namespace streamcount
