#pragma once

// The PDF checks of the qcreport tests: poppler's and qpdf's command-line tools over a saved file.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace pdftools {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The text of the document (or of one page), in reading order, as pdftotext gives it.
inline QString text(const QString& pdf, int page = 0, bool layout = false)
{
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    if (layout)
        args << "-layout";
    args << "-enc"
         << "UTF-8" << pdf << "-";
    return run("pdftotext", args).out;
}

// pdfinfo's value for a key ("Pages", "Page size").
inline QString info(const QString& pdf, const QString& key)
{
    const Run r = run("pdfinfo", {pdf});
    for (const QString& line : r.out.split('\n'))
        if (line.startsWith(key + ":"))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

// qpdf --check passes without warnings.
inline bool checks(const QString& pdf, QString* report = nullptr)
{
    const Run r = run("qpdf", {"--check", pdf});
    if (report)
        *report = r.out + r.err;
    return r.exitCode == 0 && r.err.isEmpty() && !r.out.contains("WARNING");
}

// Renders the pages as PNG files named prefix-N.png; true when pdftoppm had nothing to say.
inline bool renders(const QString& pdf, const QString& prefix, int resolution = 50)
{
    const Run r = run("pdftoppm", {"-png", "-r", QString::number(resolution), pdf, prefix});
    return r.exitCode == 0 && r.err.isEmpty();
}

// The document's interactive form fields as qpdf sees them.
inline QJsonArray fields(const QString& pdf)
{
    const Run r = run("qpdf", {"--json", "--json-key=acroform", pdf});
    return QJsonDocument::fromJson(r.out.toUtf8()).object()["acroform"].toObject()["fields"].toArray();
}

// One object of the document ("12 0 R") as qpdf's JSON shows it.
inline QJsonObject object(const QString& pdf, const QString& ref)
{
    const Run r = run("qpdf", {"--json", "--json-key=qpdf", "--json-object=" + ref, pdf});
    const QJsonArray top = QJsonDocument::fromJson(r.out.toUtf8()).object()["qpdf"].toArray();
    if (top.size() < 2)
        return {};
    return top[1].toObject()["obj:" + ref].toObject()["value"].toObject();
}

}  // namespace pdftools
