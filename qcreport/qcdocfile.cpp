#include "qcdocfile.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace qcreport {

namespace {

// The attribute of a child, or the empty text when the child lacks it.
QString attribute(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toString();
}

}  // namespace

QCDocRead ParseQCDoc(const QByteArray& document)
{
    QCDocRead result;
    if (document.size() > kQCDocMaxBytes) {
        result.error = QStringLiteral("the file is too large");
        return result;
    }
    QXmlStreamReader xml(document);
    QCDocData data;
    int groups = 0;
    int depth = 0;
    bool rootSeen = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            result.error = QStringLiteral("the file holds a document type declaration");
            return result;
        }
        if (token == QXmlStreamReader::EntityReference) {
            result.error = QStringLiteral("the file refers to an entity");
            return result;
        }
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1) {
                rootSeen = true;
            } else if (depth == 2) {
                // Children count by position; their names are not compared.
                const auto a = xml.attributes();
                switch (groups) {
                case 0:
                    data.customer = attribute(a, "Customer");
                    data.poNo = attribute(a, "PONo");
                    data.soNo = attribute(a, "SONo");
                    break;
                case 1:
                    data.technician = attribute(a, "Name");
                    break;
                case 2:
                    data.calDate = attribute(a, "CalDate");
                    break;
                case 3:
                    data.notes = attribute(a, "SpecicalConfigNotes");
                    break;
                default:
                    break;
                }
                ++groups;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    if (xml.hasError()) {
        result.error = QStringLiteral("the file is not well-formed XML (line %1: %2)")
                           .arg(xml.lineNumber())
                           .arg(xml.errorString());
        return result;
    }
    if (!rootSeen) {
        result.error = QStringLiteral("the file holds no document element");
        return result;
    }
    result.ok = true;
    result.groups = std::min(groups, 4);
    result.data = data;
    return result;
}

QCDocRead ReadQCDocFile(const QString& path)
{
    QCDocRead result;
    QFile file(path);
    if (!file.exists()) {
        result.missing = true;
        result.error = QStringLiteral("the file does not exist");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > kQCDocMaxBytes) {
        result.error = QStringLiteral("the file is too large");
        return result;
    }
    // The size read is bounded too: the file may grow or lie about its size.
    const QByteArray document = file.read(kQCDocMaxBytes + 1);
    return ParseQCDoc(document);
}

QByteArray FormatQCDoc(const QCDocData& data)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("QCDoc"));
    xml.writeStartElement(QStringLiteral("customerInfo"));
    xml.writeAttribute(QStringLiteral("Customer"), data.customer);
    xml.writeAttribute(QStringLiteral("PONo"), data.poNo);
    xml.writeAttribute(QStringLiteral("SONo"), data.soNo);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("TechnicianInfo"));
    xml.writeAttribute(QStringLiteral("Name"), data.technician);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("CalibrationDate"));
    xml.writeAttribute(QStringLiteral("CalDate"), data.calDate);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("SpecialConfigurationNotes"));
    // The writer escapes CR and LF in attributes as character references, so the notes'
    // line breaks survive the round trip.
    xml.writeAttribute(QStringLiteral("SpecicalConfigNotes"), data.notes);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return document;
}

bool WriteQCDocFile(const QString& path, const QCDocData& data, QString* error)
{
    QSaveFile file(path);
    const QByteArray document = FormatQCDoc(data);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace qcreport
