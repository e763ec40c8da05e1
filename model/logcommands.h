#pragma once

#include "command.h"

#include <cstdint>

// The downloads of the unit's memories: the archive log into the log database through the log
// download worker ("ReadALog"), an archive file into the same database ("ReadALog2"), and the
// event memory into the database's raw event memory ("ReadAudit").
class ReadALog : public Command {
public:
    static constexpr int kBlockSize = 200;
    void Execute() override;
};

class ReadALog2 : public Command {
public:
    void Execute() override;
};

class ReadAuditCommand : public Command {
public:
    static constexpr int kBlockSize = 200;
    void Execute() override;
};

// Texts the archive download shows when it cannot hand over the whole log.
namespace logdownload {
inline constexpr const char* kIncompleteText =
    "The archive log was not read completely: only the records read are shown.";
inline constexpr const char* kWorkerErrorText = "Error while reading the archive log: ";
}  // namespace logdownload
