#include "streamcount.h"

#include "analyzer.h"
#include "dbcontrol.h"
#include "dbdisplays.h"
#include "numbertext.h"
#include "pagehost.h"

namespace streamcount {

std::optional<int> streams(const QString& value)
{
    const std::optional<std::int64_t> number = numtext::tryStrToInt64(value);
    return number ? analyzer::streamsOf(*number) : std::nullopt;
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
    return QString::fromLatin1(analyzer::streamCountText(*count - 1));
}

void bindDisplay(TQLabel* label, Words words, PageHost& host)
{
    // A value that is not a stream count is passed over: a poll brings the next one in 2 s, and
    // a message box per poll would bury the window.
    label->OnDBPointValueChanged = [words, &host](QWidget*, const QString& value, bool& showValue) {
        if (value.isEmpty())
            return;
        if (numtext::tryStrToInt64(value))
            showValue = false;
        if (std::optional<QString> text = displayText(value, words))
            host.SetStreamDisplay(*text);
    };
}

}  // namespace streamcount
