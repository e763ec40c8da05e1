// The XML archive file: exact layout, byte-stable round trip, all-or-nothing loading.

#include "archivexmlfile.h"
#include "logdbmgr.h"
#include "timestamptoken.h"
#include "toolkitdate.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using LogTable = ArchiveXmlFile::LogTable;

QString nameOf(std::uint16_t id)
{
    return QStringLiteral("Point %1").arg(id);
}

std::uint32_t tokenOf(int y, int mo, int d, int h, int mi, int s)
{
    return *timestamp::fromDateAndTime(QDate(y, mo, d), QTime(h, mi, s));
}

void add(LogDBMgr& db, int log, std::uint32_t token, std::vector<std::string> values)
{
    auto r = std::make_unique<ALOGPOINTRECORD>();
    r->logIndex = log;
    r->rawTime = token;
    r->dateTime = timestamp::toDateTime(token);
    for (std::size_t j = 0; j < values.size(); ++j)
        r->SetValueText(log * 8 + static_cast<int>(j), values[j]);
    db.AppendRecord(std::move(r));
    db.InsertByTime();
}

LogTable table()
{
    LogTable t{};
    for (int k = 0; k < 6; ++k)
        t[static_cast<std::size_t>(k)].LOG_NUMBER = static_cast<std::uint8_t>(k);
    t[0] = {0, 1, 0, 0x11, 4, {0, 392, 393, 21}};
    t[1] = {1, 1, 0, 0x22, 2, {0, 21}};
    t[2] = {2, 0, 6, 0x33, 8, {0, 1, 2, 3, 4, 5, 6, 7}};
    t[5] = {5, 0, 0, 0x66, 0, {}};
    return t;
}

// Three logs, a midnight time stamp and texts the XML must escape.
void fill(LogDBMgr& db)
{
    add(db, 0, tokenOf(2012, 1, 2, 0, 0, 0), {"1", "17", "0.5"});
    add(db, 1, tokenOf(2012, 1, 2, 13, 5, 9), {"<&>\""});
    add(db, 0, tokenOf(2012, 1, 1, 23, 59, 59), {"2", "18", "1.25"});
    add(db, 2, tokenOf(2012, 3, 4, 5, 6, 7), {"a", "b", "c", "d", "e", "f", "g"});
    db.DistributeRecords();
}

}  // namespace

TEST(ArchiveXmlFile, WritesTheLayoutElementByElement)
{
    LogDBMgr db;
    add(db, 0, tokenOf(2012, 1, 2, 0, 0, 0), {"1", "17", "0.5"});
    const LogTable logs = table();
    const QString xml = QString::fromUtf8(ArchiveXmlFile::Build(db, logs, nameOf));
    EXPECT_TRUE(xml.startsWith(
        "<LOGDB><ArchiveNames><Log lognum=\"0\" ParametersInLog=\"3\" Enabled=\"1\"><name UID=\"392\">Point 392</name>"
        "<name UID=\"393\">Point 393</name><name UID=\"21\">Point 21</name></Log>"
        "<Log lognum=\"1\" ParametersInLog=\"1\" Enabled=\"1\"><name UID=\"21\">Point 21</name></Log>"))
        << xml.toStdString();
    // Eight parameters would be seven values: the file never holds more than seven.
    EXPECT_TRUE(xml.contains("<Log lognum=\"2\" ParametersInLog=\"7\" Enabled=\"0\">"));
    EXPECT_TRUE(xml.contains("<Log lognum=\"5\" ParametersInLog=\"-1\" Enabled=\"0\"/></ArchiveNames>"));
    const std::uint32_t token = tokenOf(2012, 1, 2, 0, 0, 0);
    EXPECT_TRUE(xml.endsWith(QStringLiteral("<Point ParametersInLog=\"3\"><TimeStamp Token=\"%1\">1/2/2012</TimeStamp>"
                                            "<LogNum>0</LogNum><Colum0>1</Colum0><Colum1>17</Colum1>"
                                            "<Colum2>0.5</Colum2></Point></LOGDB>")
                                 .arg(token)))
        << xml.toStdString();
}

TEST(ArchiveXmlFile, RoundTripIsByteStable)
{
    LogDBMgr db;
    fill(db);
    LogTable logs = table();
    const QByteArray first = ArchiveXmlFile::Build(db, logs, nameOf);

    QString error;
    std::optional<ArchiveXmlFile::Contents> contents = ArchiveXmlFile::Parse(first, &error);
    ASSERT_TRUE(contents) << error.toStdString();
    EXPECT_EQ(contents->badTimeStamps, 0);
    ASSERT_TRUE(contents->headers);
    EXPECT_EQ((*contents->headers)[0], QStringList({"Point 392", "Point 393", "Point 21"}));

    LogDBMgr loaded;
    LogTable loadedLogs{};
    ArchiveXmlFile::Apply(std::move(*contents), loaded, loadedLogs);
    ASSERT_EQ(loaded.RecordCount(), db.RecordCount());
    for (std::size_t i = 0; i < db.RecordCount(); ++i) {
        EXPECT_EQ(loaded.Record(i).rawTime, db.Record(i).rawTime);
        EXPECT_DOUBLE_EQ(loaded.Record(i).dateTime, db.Record(i).dateTime);
        EXPECT_EQ(loaded.Record(i).logIndex, db.Record(i).logIndex);
    }
    EXPECT_EQ(loaded.Record(2).ValueText(8), "<&>\"");
    EXPECT_EQ(loaded.PerLog().logs[0].count, 2);
    EXPECT_EQ(loadedLogs[0].ParametersInLog, 4);
    EXPECT_EQ(loadedLogs[2].ParametersInLog, 8);
    EXPECT_EQ(loadedLogs[0].Parameters[3], 21);
    EXPECT_EQ(loadedLogs[0].Enable, 1);
    EXPECT_EQ(ArchiveXmlFile::Build(loaded, loadedLogs, nameOf), first);

    // Through a file, atomically replaced.
    QTemporaryDir dir;
    const QString path = dir.filePath("archive.xml");
    ASSERT_TRUE(ArchiveXmlFile::Write(path, loaded, loadedLogs, nameOf, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), first);
}

TEST(ArchiveXmlFile, ReadsTimeStampTextsWithoutTokenAndCountsBadOnes)
{
    const QByteArray document =
        "<LOGDB>"
        "<Point ParametersInLog=\"1\"><TimeStamp>1/2/2012 1:02:03 PM</TimeStamp><LogNum>3</LogNum><x>9</x></Point>"
        "<Point ParametersInLog=\"1\"><TimeStamp>31.12.2012 13:02</TimeStamp><LogNum>3</LogNum><x>8</x></Point>"
        "<Point ParametersInLog=\"1\"><TimeStamp>never</TimeStamp><LogNum>3</LogNum><x>7</x></Point>"
        "<ArchiveNames>"
        "<Log lognum=\"0\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"1\" ParametersInLog=\"0\" Enabled=\"0\"/>"
        "<Log lognum=\"2\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"3\" ParametersInLog=\"1\" Enabled=\"1\">"
        "<name UID=\"21\">Gain</name></Log><Log lognum=\"4\" ParametersInLog=\"0\" Enabled=\"0\"/>"
        "<Log lognum=\"5\" ParametersInLog=\"0\" Enabled=\"0\"/></ArchiveNames>"
        "</LOGDB>";
    QString error;
    std::optional<ArchiveXmlFile::Contents> contents = ArchiveXmlFile::Parse(document, &error);
    ASSERT_TRUE(contents) << error.toStdString();
    EXPECT_EQ(contents->badTimeStamps, 2);
    EXPECT_FALSE(contents->headers);  // ArchiveNames is not the first child
    ASSERT_EQ(contents->records.size(), 3u);
    EXPECT_DOUBLE_EQ(contents->records[0]->dateTime, toolkitdate::fromDateTime(QDate(2012, 1, 2), QTime(13, 2, 3)));
    EXPECT_EQ(contents->records[0]->rawTime, 0u);
    EXPECT_EQ(contents->records[1]->dateTime, 0.0);
    EXPECT_EQ(contents->records[0]->ValueText(24), "9");

    LogDBMgr db;
    LogTable logs = table();
    ArchiveXmlFile::Apply(std::move(*contents), db, logs);
    EXPECT_EQ(db.PerLog().logs[3].count, 3);
    EXPECT_EQ(logs[3].ParametersInLog, 2);
    EXPECT_EQ(logs[3].Parameters[1], 21);
    EXPECT_EQ(logs[3].LogIDCode, 0);        // never taken from a file
    EXPECT_EQ(logs[0].ParametersInLog, 4);  // no record of log 0: kept
}

TEST(ArchiveXmlFile, RefusesEveryMalformedFileWhole)
{
    const QByteArray names =
        "<ArchiveNames><Log lognum=\"0\" ParametersInLog=\"1\" Enabled=\"1\"><name UID=\"21\">G</name></Log>"
        "<Log lognum=\"1\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"2\" ParametersInLog=\"0\" Enabled=\"0\"/>"
        "<Log lognum=\"3\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"4\" ParametersInLog=\"0\" Enabled=\"0\"/>"
        "<Log lognum=\"5\" ParametersInLog=\"0\" Enabled=\"0\"/></ArchiveNames>";
    const QByteArray good =
        "<Point ParametersInLog=\"1\"><TimeStamp>1/2/2012</TimeStamp><LogNum>0</LogNum><C>1</C></Point>";
    struct Case {
        const char* what;
        QByteArray document;
    };
    const std::vector<Case> cases = {
        {"not XML", "this is no archive"},
        {"cut short", "<LOGDB>" + names + good + "<Point Paramet"},
        {"another root", "<ConfigurationDatabase>" + names + "</ConfigurationDatabase>"},
        {"entity", "<!DOCTYPE LOGDB [<!ENTITY x \"1\">]><LOGDB>" + names + "</LOGDB>"},
        {"log number 6",
         "<LOGDB>" + names + good +
             "<Point ParametersInLog=\"0\"><TimeStamp>1/2/2012</TimeStamp><LogNum>6</LogNum></Point></LOGDB>"},
        {"log number -1",
         "<LOGDB>" + good +
             "<Point ParametersInLog=\"0\"><TimeStamp>1/2/2012</TimeStamp><LogNum>-1</LogNum></Point></LOGDB>"},
        {"log number text",
         "<LOGDB>" + good +
             "<Point ParametersInLog=\"0\"><TimeStamp>1/2/2012</TimeStamp><LogNum>x</LogNum></Point></LOGDB>"},
        {"eight values",
         "<LOGDB>" + good +
             "<Point ParametersInLog=\"8\"><T>1/2/2012</T><L>0</L><a/><a/><a/><a/><a/><a/><a/><a/></Point>"
             "</LOGDB>"},
        {"a value missing",
         "<LOGDB>" + good + "<Point ParametersInLog=\"2\"><T>1/2/2012</T><L>0</L><a>1</a></Point></LOGDB>"},
        {"no value count", "<LOGDB>" + good + "<Point><T>1/2/2012</T><L>0</L></Point></LOGDB>"},
        {"five logs named",
         "<LOGDB><ArchiveNames><Log lognum=\"0\" ParametersInLog=\"0\" Enabled=\"1\"/>"
         "<Log lognum=\"1\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"2\" ParametersInLog=\"0\" "
         "Enabled=\"0\"/>"
         "<Log lognum=\"3\" ParametersInLog=\"0\" Enabled=\"0\"/><Log lognum=\"4\" ParametersInLog=\"0\" "
         "Enabled=\"0\"/>"
         "</ArchiveNames>" +
             good + "</LOGDB>"},
        {"a name missing", "<LOGDB>" + QByteArray(names).replace("<name UID=\"21\">G</name>", "") + good + "</LOGDB>"},
        {"UID too large", "<LOGDB>" + QByteArray(names).replace("UID=\"21\"", "UID=\"65536\"") + good + "</LOGDB>"},
        {"no Enabled", "<LOGDB>" + QByteArray(names).replace("Enabled=\"1\"", "") + good + "</LOGDB>"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(ArchiveXmlFile::Parse(c.document, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
    QString error;
    EXPECT_TRUE(ArchiveXmlFile::Parse("<LOGDB>" + names + good + "</LOGDB>", &error)) << error.toStdString();
}

TEST(ArchiveXmlFile, RefusesOversizedFilesAndReportsFailedWrites)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.xml");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(ArchiveXmlFile::kMaxFileSize + 1));  // sparse
    }
    QString error;
    EXPECT_FALSE(ArchiveXmlFile::Read(big, &error));
    EXPECT_EQ(error, "the file is larger than 256 MB");
    EXPECT_FALSE(ArchiveXmlFile::Read(dir.filePath("missing.xml"), &error));

    LogDBMgr db;
    fill(db);
    error.clear();
    EXPECT_FALSE(ArchiveXmlFile::Write(dir.filePath("no/such/folder/a.xml"), db, table(), nameOf, &error));
    EXPECT_FALSE(error.isEmpty());
}
