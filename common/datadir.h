#pragma once

#include <QString>

// The program's data directory, $XDG_DATA_HOME/KVT515: its own files ("Passw.dat",
// "LogWrite.dbg", the upgrade's working files, ...) live there, opened by absolute path.
namespace datadir {

// The folder, created when missing; empty when it cannot be made.
QString path();
// A file of the program's own by absolute path in the folder; empty when there is no folder.
QString filePath(const QString& name);
// Makes the folder the process's current directory; false (and the current directory as it was)
// when there is no folder.
bool makeCurrent();

}  // namespace datadir
