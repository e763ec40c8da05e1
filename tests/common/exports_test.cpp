// The two libraries the program loads by name export their named entries and nothing else: no
// inline member of Qt, no standard-library instantiation, no class of their own.
#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QStringList>

namespace {

// The defined dynamic symbols of a library, as nm lists them (name only, sorted).
QStringList exportedNames(const QString& file, QString* error)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"),
             {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral("--format=just-symbols"), file});
    if (!nm.waitForFinished(30000) || nm.exitStatus() != QProcess::NormalExit || nm.exitCode() != 0) {
        *error = QString::fromLocal8Bit(nm.readAllStandardError()) + nm.errorString();
        return {};
    }
    QStringList names;
    for (const QByteArray& line : nm.readAllStandardOutput().split('\n'))
        if (!line.trimmed().isEmpty())
            names << QString::fromLatin1(line.trimmed());
    names.sort();
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

}  // namespace

TEST(LibraryExports, EachLibraryExportsItsNamedEntriesOnly)
{
    struct Case {
        const char* file;
        QStringList expected;
    };
    const Case cases[] = {
        {"libPortelle.so",
         {"_Initialize", "_Cleanup", "ShowCommSetup", "SendReceive", "GetCommErrText", "SetUserCancel", "IsOnline",
          "CommConnect", "CommDisconnect", "WriteToCommLog", "SetGUILogonState", "IsUpdateMode", "IsFactoryMode",
          "IsValidFlt", "FormatFlt", "_Comm", "_frmProxy"}},
        {"libPanekit.so",
         {"_Initialize",
          "_Cleanup",
          "EnableGroup",
          "DisableGroup",
          "LocalStatusBarMsg",
          "CharArr2AnsiString",
          "DoMyBroadcast",
          "FormatFlt",
          "GetHelpContextTORVA",
          "TimestampTokenToDate",
          "DateToTimestampToken",
          "IsUpdateMode",
          "IsFactoryMode",
          "msec2secA",
          "samp2secA",
          "secA2msec",
          "secA2samp",
          "GetIniFile",
          "RequestPoll",
          "RequestRead",
          "StdDevAndMean",
          "GetDUTDescriptions",
          "GetUnitDescriptions",
          "GetDUTDesc",
          "GetUnitsDesc",
          "UnitConvert"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QString error;
        const QStringList names =
            exportedNames(QDir(QStringLiteral(KVT_BIN_DIR)).filePath(QString::fromLatin1(c.file)), &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(names, sorted(c.expected)) << names.join(QLatin1Char(' ')).toStdString();
    }
}
