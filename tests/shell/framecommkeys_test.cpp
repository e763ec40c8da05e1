// The keys the commands report to the main window by: each is handled, and none is written out
// as a bare text that could drift from the window's tables.
#include "formmain.h"

#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

TEST(FrameCommKeys, TheMainWindowHandlesEveryKey)
{
    for (const framecomm::Key& key : framecomm::allKeys())
        EXPECT_TRUE(TFormMain::HandlesKey(key.operation, key.name)) << key.name;
    EXPECT_FALSE(TFormMain::HandlesKey(framecomm::Operation::SetState, "NoSuchKey"));
}

TEST(FrameCommKeys, TheModelNamesKeysOnlyThroughTheirConstants)
{
    const QRegularExpression literalKey(R"((SetState|SetInt|SetText|GetBool|GetInt|GetDouble)\(\s*")");
    QDirIterator files(QStringLiteral(KVT_SOURCE_DIR "/model"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int read = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_FALSE(literalKey.match(text).hasMatch()) << file.fileName().toStdString();
        ++read;
    }
    EXPECT_GT(read, 50);
}
