#pragma once

#include <QString>
#include <optional>

class PageHost;
class TQLabel;

// Point 20 "Streams" holds the number of streams minus one.
namespace streamcount {

enum class Words {
    Count,      // "1-STREAM" to "4-STREAMS"
    SingleDual  // "SINGLE STREAM", "DUAL STREAM" (the Modbus and ports pages)
};

// The number of streams (1 to 4) a "Streams" value text gives; nullopt for an empty text, a text
// that is not a whole number, or a number outside 0..3.
std::optional<int> streams(const QString& value);
// The stream display's text for a "Streams" value text; nullopt leaves the display as it is.
std::optional<QString> displayText(const QString& value, Words words);

// Makes the label the page's stream-count label: it shows the stream count in the main window's
// display (through the page's host, which must outlive the label) and keeps its own caption.
void bindDisplay(TQLabel* label, Words words, PageHost& host);

}  // namespace streamcount
