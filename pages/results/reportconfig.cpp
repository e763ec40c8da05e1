#include "reportconfig.h"

#include "numbertext.h"
#include "resultnumbers.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <array>

namespace {

constexpr std::array<const char*, 7> kAttributes{"RunLimit", "SaveLimit",  "SampleID",  "RunType",
                                                 "LabID",    "ClientName", "SampleName"};

}  // namespace

ReportConfigFile::Result ReportConfigFile::Read(const QString& path, ReportConfig& config)
{
    Result result;
    QFile file(path);
    if (!file.exists())
        return result;
    result.status = Status::Bad;
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = file.errorString();
        return result;
    }
    if (file.size() > kMaxSize) {
        result.problem = QStringLiteral("the file is too large");
        return result;
    }

    QXmlStreamReader xml(&file);
    QXmlStreamAttributes attributes;
    bool haveRoot = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && !haveRoot) {
            haveRoot = true;
            attributes = xml.attributes();
        }
    }
    if (xml.hasError() || !haveRoot) {
        QString why = xml.errorString();
        while (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        result.problem = xml.hasError() ? QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(why)
                                        : QStringLiteral("the file holds no XML element");
        return result;
    }

    // Check every attribute present before taking any.
    ReportConfig read = config;
    int taken = 0;
    for (const char* name : kAttributes) {
        const QString key = QString::fromLatin1(name);
        if (!attributes.hasAttribute(key))
            break;
        const QString text = attributes.value(key).toString();
        switch (taken) {
        case 0:
        case 1: {
            const auto limit = numtext::tryStrToInt(text);
            if (!limit) {
                result.problem = QStringLiteral("%1 \"%2\" is not a whole number").arg(key, text);
                return result;
            }
            (taken == 0 ? read.runLimit : read.saveLimit) = *limit;
            break;
        }
        case 2:
            read.sampleId = text;
            break;
        case 3:
            if (!numtext::tryStrToInt(text)) {
                result.problem = QStringLiteral("%1 \"%2\" is not a whole number").arg(key, text);
                return result;
            }
            read.runType = text.trimmed();
            break;
        case 4:
            read.labId = text;
            break;
        case 5:
            read.clientName = text;
            break;
        case 6:
            read.sampleName = text;
            break;
        }
        ++taken;
    }
    config = read;
    result.status = Status::Read;
    result.runLimitRead = taken > 0;
    result.saveLimitRead = taken > 1;
    return result;
}

bool ReportConfigFile::Write(const QString& path, const ReportConfig& config, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ReportConfig"));
    const std::array<QString, 7> values{QString::number(config.runLimit),
                                        QString::number(config.saveLimit),
                                        config.sampleId,
                                        config.runType,
                                        config.labId,
                                        config.clientName,
                                        config.sampleName};
    for (std::size_t i = 0; i < kAttributes.size(); ++i)
        xml.writeAttribute(QString::fromLatin1(kAttributes[i]), values[i]);
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
