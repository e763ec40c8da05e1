#pragma once

// "QCDoc.xml": the customer, technician, calibration date and notes that the QC form keeps
// between runs of the program. Plain data in and out; the form puts it into its controls.

#include <QString>

namespace qcreport {

constexpr const char* kQCDocFileName = "QCDoc.xml";
// Far above any real file (four short texts and a page of notes); a larger file is refused
// unread so that a damaged or hostile file cannot take the memory.
constexpr qint64 kQCDocMaxBytes = 1024 * 1024;

struct QCDocData {
    QString customer, poNo, soNo;  // the customer grid's rows 0 to 2
    QString technician;
    QString calDate;
    QString notes;  // the memo's whole text, lines separated by CR LF
};

// What a read found: the children of the document element are taken by position, so a file
// with fewer children fills only the leading groups.
struct QCDocRead {
    bool ok = false;
    bool missing = false;  // there is no file: the normal first use, not a failure to report
    QString error;         // why the file was not taken; empty when ok
    int groups = 0;        // 0 to 4: customer, technician, date, notes
    QCDocData data;
};

// Parses a whole document. A document type declaration (and so any entity) is refused, as is
// anything that is not well-formed; nothing is taken from a bad document.
QCDocRead ParseQCDoc(const QByteArray& document);
// Reads the file; a missing, oversized or bad file gives ok false and the reason.
QCDocRead ReadQCDocFile(const QString& path);

QByteArray FormatQCDoc(const QCDocData& data);
// Replaces the file atomically; false and the reason when it could not be written.
bool WriteQCDocFile(const QString& path, const QCDocData& data, QString* error);

}  // namespace qcreport
