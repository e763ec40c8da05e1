#pragma once

#include <QString>

class PageHost;

// What choosing an entry of a log grid's filter list does (the archive grid and the two event
// grids share the scheme). On the Timestamp column the named ranges ("Today", "Yesterday",
// "This Month", "Last Month") and "[Custom]" (the host's date-range dialog; cancelled, the condition
// stays as the grid gave it) become a date condition. "[Custom]" on a column that takes a typed
// condition asks for it at the prompt "Set Filter (<,>,=,*,&,^)", starting from the column's last
// typed condition ("*" when none); what the prompt ends with, OK or Cancel, becomes the condition
// ("*" when empty) and the column's typed condition. Other entries leave the condition as it is.
namespace logfilterchoice {

// typedText: the column's last typed condition, null for a column that takes none.
void Choose(PageHost& host, int column, const QString& name, QString& condition, int timestampColumn,
            QString* typedText);

}  // namespace logfilterchoice
