#include "logfilterchoice.h"

#include "dialogservice.h"
#include "gridfilter.h"
#include "pagehost.h"

#include <optional>

namespace logfilterchoice {

void Choose(PageHost& host, int column, const QString& name, QString& condition, int timestampColumn,
            QString* typedText)
{
    if (column == timestampColumn) {
        std::optional<gridfilter::DateRange> range;
        if (name == QLatin1String("[Custom]")) {
            const std::optional<std::pair<QDate, QDate>> dates = host.AskDateRange();
            if (!dates)
                return;
            range = gridfilter::CustomRange(dates->first, dates->second);
        } else {
            range = gridfilter::NamedRange(name, QDate::currentDate());
        }
        if (range)
            condition = gridfilter::RangeCondition(*range);
        return;
    }
    if (!typedText || name != QLatin1String("[Custom]"))
        return;
    if (typedText->isEmpty())
        *typedText = QStringLiteral("*");
    condition = *typedText;
    DialogService::instance()->inputText(QStringLiteral("Set Filter (<,>,=,*,&,^)"), name, condition, false);
    if (condition.isEmpty())
        condition = QStringLiteral("*");
    *typedText = condition;
}

}  // namespace logfilterchoice
