#pragma once

#include <QDateTime>
#include <QString>

// The names of the copies that the service page's firmware upgrade keeps of the configuration
// before and after the merge, in the data directory.
namespace upgradefiles {

constexpr char kPreMerge[] = "_PreMerge.cfg";
constexpr char kPostMerge[] = "_PostMerge.cfg";

// A unit text made fit for one piece of a file name: no separator, no "..", no control or
// reserved character, so the copy cannot land outside the data directory.
QString SafeNamePiece(const QString& text);

// "<id>_<site>_<location>_<year>_<month>_<day>_<hour>_<minute>_<second>_<ms><ending>", the
// numbers without leading zeros.
QString MergeCopyName(const QString& id, const QString& site, const QString& location, const QDateTime& moment,
                      const char* ending);

}  // namespace upgradefiles
