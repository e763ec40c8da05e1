#include "modmapadapter.h"
#include "blocklink.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class ModmapAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ModmapAdapter::ReleaseInstance();
        a = ModmapAdapter::Instance();
    }
    void TearDown() override { ModmapAdapter::ReleaseInstance(); }

    static bool sameImage(const ModmapImage& x, const ModmapImage& y) { return std::memcmp(&x, &y, sizeof x) == 0; }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ModmapAdapter* a = nullptr;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ModmapAdapterTest, EntriesTakeTheirClassesFormatAccessAndLsms)
{
    struct Case {
        TMBGProfile code;
        bool writable;
        ModmapEntry expected;
    };
    const std::vector<Case> cases = {
        {8, false, entry(0, 5, 1, 604)},  // MODICON classes fix the access
        {1, false, entry(0, 5, 0, 604)},  // ENRON takes the register's flag
        {1, true, entry(0, 5, 1, 604)},   {0, false, entry(0, 8, 0, 604)},  {2, true, entry(0, 4, 1, 604)},
        {3, true, entry(0, 0, 1, 604)},   {6, true, entry(0, 8, 0, 604)},   {7, true, entry(0, 5, 0, 604)},
        {9, false, entry(0, 8, 1, 604)},  {11, true, entry(0, 2, 0, 604)},  {12, true, entry(1, 1, 0, 604)},
        {13, true, entry(1, 0, 0, 604)},  {14, false, entry(0, 2, 1, 604)}, {15, false, entry(1, 1, 1, 604)},
        {16, false, entry(1, 0, 1, 604)},
    };
    for (const Case& c : cases) {
        a->ClearImage();
        ASSERT_TRUE(a->AppendEntry(c.code, 604, c.writable)) << int(c.code);
        const ModmapEntry e = a->GetEntry(0);
        EXPECT_EQ(std::memcmp(&e, &c.expected, sizeof e), 0) << int(c.code);
        EXPECT_EQ(a->GetEntryCount(), 1);
    }
    a->ClearImage();
    EXPECT_FALSE(a->AppendEntry(4, 604, true)) << "the archive class holds no entries";
    EXPECT_FALSE(a->AppendEntry(17, 604, true));
    EXPECT_EQ(a->GetEntryCount(), 0);
}

TEST_F(ModmapAdapterTest, ProfilesFollowModeFormatAndAccess)
{
    struct Case {
        int mode, format, access;
        TMBGProfile profile;
    };
    const std::vector<Case> cases = {
        {0, 8, 0, 0},
        {0, 5, 0, 1},
        {0, 5, 1, 1},
        {0, 5, 7, 1},
        {0, 4, 1, 2},
        {0, 0, 0, 3},
        {0, 2, 0, modmap::kNoProfile},
        {1, 8, 1, 5},
        {1, 8, 0, 6},
        {1, 5, 0, 7},
        {1, 5, 2, 8},
        {1, 1, 0, modmap::kNoProfile},
        {2, 8, 1, 9},
        {2, 8, 0, 10},
        {2, 2, 0, 11},
        {2, 1, 0, 12},
        {2, 0, 0, 13},
        {2, 2, 1, 14},
        {2, 1, 1, 15},
        {2, 0, 1, 16},
        {2, 5, 1, modmap::kNoProfile},
        {3, 8, 1, modmap::kNoProfile},
    };
    for (const Case& c : cases) {
        // LSMS plays no part.
        for (int lsms : {0, 1}) {
            EXPECT_EQ(ModmapAdapter::ProfileOf(static_cast<std::uint8_t>(c.mode), entry(lsms, c.format, c.access, 1)),
                      c.profile)
                << c.mode << " " << c.format << " " << c.access;
        }
    }
}

TEST_F(ModmapAdapterTest, RecountedHeaderFollowsTheModesBlockOrder)
{
    struct Case {
        int mode;
        std::vector<TMBGProfile> codes;  // in group order
        ModmapHeader expected;
    };
    const std::vector<Case> cases = {
        {1, {5, 5, 6, 6, 6, 7}, header(1, {{2, 3}, {0, 2}, {5, 1}, {6, 0}})},
        {0, {0, 0, 2}, header(0, {{0, 2}, {2, 0}, {2, 1}, {3, 0}})},
        {2, {9, 11, 12, 13, 16}, header(2, {{1, 0}, {0, 1}, {1, 3}, {4, 1}})},
    };
    for (const Case& c : cases) {
        a->ClearImage();
        a->SetMode(static_cast<std::uint8_t>(c.mode));
        for (TMBGProfile code : c.codes)
            a->AppendEntry(code, 100, true);
        a->RecountHeader();
        const ModmapHeader h = a->GetImage().Header;
        EXPECT_EQ(std::memcmp(&h, &c.expected, sizeof h), 0) << c.mode;
    }
}

TEST_F(ModmapAdapterTest, TheImageHoldsAHundredEntries)
{
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(a->AppendEntry(0, static_cast<std::uint16_t>(i), true));
    EXPECT_FALSE(a->AppendEntry(0, 1000, true));
    EXPECT_EQ(a->GetEntryCount(), 100);
    EXPECT_EQ(+a->GetEntry(99).UNIQUEID, 99);
    EXPECT_EQ(+a->GetEntry(100).UNIQUEID, 0);
    EXPECT_EQ(a->GetEntryProfile(100), modmap::kNoProfile);

    ModmapImage image{};
    image.Header = header(0, {{0, 60}, {60, 60}, {0, 0}, {0, 0}});
    a->SetImage(image);
    EXPECT_EQ(a->GetEntryCount(), 100);
}

TEST_F(ModmapAdapterTest, TheFileIsTheImageWithItsHeaderRecounted)
{
    a->SetMode(modmap::kModicon16);
    for (TMBGProfile code : {5, 5, 6, 6, 6, 7})
        a->AppendEntry(code, static_cast<std::uint16_t>(600 + a->GetEntryCount()), true);
    const QString path = dir.filePath("map.515mb");
    ASSERT_EQ(a->SaveFile(path), 0);

    ModmapImage expected{};
    expected.Header = header(1, {{2, 3}, {0, 2}, {5, 1}, {6, 0}});
    expected.Entries[0] = entry(0, 8, 1, 600);
    expected.Entries[1] = entry(0, 8, 1, 601);
    for (int i = 2; i < 5; ++i)
        expected.Entries[i] = entry(0, 8, 0, 600 + i);
    expected.Entries[5] = entry(0, 5, 0, 605);
    EXPECT_EQ(readFile(path).toHex(), recordBytes(expected).toHex());

    a->ClearImage();
    ASSERT_EQ(a->LoadFile(path), 0);
    EXPECT_TRUE(sameImage(a->GetImage(), expected));
    EXPECT_EQ(a->GetEntryCount(), 6);
    EXPECT_EQ(a->GetEntryProfile(5), 7);
    EXPECT_TRUE(a->GetLastError().isEmpty());

    // A second save replaces the file whole.
    a->ClearImage();
    ASSERT_EQ(a->SaveFile(path), 0);
    EXPECT_EQ(readFile(path), QByteArray(517, '\0'));
}

TEST_F(ModmapAdapterTest, TheEntryCountFollowsTheFilesBlockSizes)
{
    ModmapImage image{};
    image.Header = header(0, {{0, 3}, {3, 0}, {3, 2}, {5, 1}});
    const QString path = dir.filePath("sizes.515mb");
    writeFile(path, recordBytes(image));
    ASSERT_EQ(a->LoadFile(path), 0);
    EXPECT_EQ(a->GetEntryCount(), 6);
}

TEST_F(ModmapAdapterTest, BadFilesAreRefusedAndChangeNothing)
{
    a->SetMode(modmap::kModicon32);
    a->AppendEntry(9, 604, true);
    const ModmapImage before = a->GetImage();

    ModmapImage good{};
    good.Header = header(1, {{0, 1}, {1, 0}, {1, 0}, {1, 0}});
    good.Entries[0] = entry(0, 8, 0, 605);
    ModmapImage unknownMode = good;
    unknownMode.Header.mode = 3;
    ModmapImage tooMany = good;
    tooMany.Header = header(1, {{0, 50}, {50, 40}, {90, 11}, {0, 0}});
    struct Case {
        const char* name;
        QByteArray bytes;  // null: no file at all
    };
    const std::vector<Case> cases = {
        {"missing", {}},
        {"empty", QByteArray("", 0)},
        {"short", recordBytes(good).left(516)},
        {"long", recordBytes(good) + '\0'},
        {"unknown mode", recordBytes(unknownMode)},
        {"more than 100 entries", recordBytes(tooMany)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".515mb");
        if (!c.bytes.isNull())
            writeFile(path, c.bytes);
        EXPECT_EQ(a->LoadFile(path), 3);
        EXPECT_FALSE(a->GetLastError().isEmpty());
        EXPECT_TRUE(sameImage(a->GetImage(), before));
        EXPECT_EQ(a->GetEntryCount(), 1);
    }
    // Block sizes adding up to exactly 100 make a full map, not a bad file.
    ModmapImage full = good;
    full.Header = header(1, {{0, 50}, {50, 40}, {90, 10}, {0, 0}});
    const QString path = dir.filePath("full.515mb");
    writeFile(path, recordBytes(full));
    EXPECT_EQ(a->LoadFile(path), 0);
    EXPECT_EQ(a->GetEntryCount(), 100);
    EXPECT_TRUE(a->GetLastError().isEmpty());
}

TEST_F(ModmapAdapterTest, AFailedSaveReportsAndLeavesWhatWasThere)
{
    a->AppendEntry(0, 604, true);
    const QString missingFolder = dir.filePath("no such folder/map.515mb");
    EXPECT_EQ(a->SaveFile(missingFolder), 1);
    EXPECT_FALSE(a->GetLastError().isEmpty());
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A folder in the file's place is not replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.515mb"));
    EXPECT_EQ(a->SaveFile(dir.filePath("taken.515mb")), 1);
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.515mb")).isDir());
}
