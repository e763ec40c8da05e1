#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class DataBase;

// The configuration file ("*.cfg"): the value of every configuration point, the Modbus map, the
// six log records, the sequencer block and the timer block of DataBase, as one XML document
// whose values all lie in attributes.
namespace configfile {

// What opening a file gives DataBase::SetDatabaseConfigFileTypeID; the file itself carries no id.
constexpr char kTypeId[] = "Sentrel515 DataBase Config v1.00a";

// Files larger than this are no configuration file (a full one is about 100 kB).
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

// The document for the database's current contents, stamped with the given moment.
QByteArray Build(DataBase& db, const QDateTime& now);

// "mmmm d, yyyy h:nn:ss ampm" in the locale's month names and AM/PM texts.
QString TimeText(const QDateTime& now);

}  // namespace configfile

// Writes the whole configuration of DataBase to the file, replacing it atomically: on failure
// the previous file is left as it was, the result is false and error (when given) says why.
bool SaveConfigurationFile(const QString& path, QString* error = nullptr);

// Reads the file and, only when the whole document is sound, applies it to DataBase (points,
// Modbus list, log records, sequencer and timer blocks). 0 when applied; -1 with nothing changed
// otherwise, and the reason in error. loadedPointCount receives the number of "Point" entries of
// the last "RidovazPoints" element when the file was applied, and is left alone otherwise.
int LoadConfigurationFile(const QString& path, int* loadedPointCount = nullptr, QString* error = nullptr);
// The same for a document already in memory.
int LoadConfigurationDocument(const QByteArray& document, int* loadedPointCount = nullptr, QString* error = nullptr);
