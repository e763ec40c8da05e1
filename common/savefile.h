#pragma once

#include <QByteArray>
#include <QString>

namespace savefile {

// Replaces the file with the bytes in one step (a temporary file renamed over it), so a failed or
// interrupted save leaves the old file whole. On failure the reason goes to error (when given).
bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error);

}  // namespace savefile
