#pragma once

#include <QString>

// The laboratory data and limits of the run report, kept in "ReportConfig.xml" as the attributes
// of the document's root element (whatever its name): "RunLimit", "SaveLimit", "SampleID",
// "RunType", "LabID", "ClientName", "SampleName", all texts.
struct ReportConfig {
    int runLimit = 0;   // reports to print per arming; 0: one
    int saveLimit = 0;  // reports to save per arming; 0: one
    QString sampleId;
    QString runType = QStringLiteral("0");  // mask of run types (bit = run type code); 0: every run
    QString labId;
    QString clientName;
    QString sampleName;
};

class ReportConfigFile {
public:
    static constexpr char kFileName[] = "ReportConfig.xml";
    // No report settings file is anywhere near this; a bigger file is not one.
    static constexpr qint64 kMaxSize = 1 << 20;

    enum class Status {
        Read,     // the attributes were read, up to the first one missing
        Missing,  // no such file
        Bad,      // unreadable, not XML, or a limit or the run type that is no integer
    };
    struct Result {
        Status status = Status::Missing;
        QString problem;  // what is wrong, for Bad
        bool runLimitRead = false;
        bool saveLimitRead = false;
    };

    // Reads the attributes in the order of the struct's first line above into config. Nothing
    // changes unless the whole file is sound; a missing attribute ends the reading there, so the
    // attributes before it are taken and those after it keep their values.
    static Result Read(const QString& path, ReportConfig& config);

    // Writes every attribute in that order under the root "ReportConfig"; a failed save leaves
    // any previous file as it was. False with *error set on failure.
    static bool Write(const QString& path, const ReportConfig& config, QString* error);
};
