#include "modbuslist.h"
#include "blocklink.h"
#include "database.h"
#include "databasepoint.h"
#include "statemgr.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

namespace {

class RecordingMBObserver : public IMBObserver {
public:
    struct Call {
        TMBGProfile profile;
        int index;
        std::string propertyId;
        int value;
    };
    void Respond(TMBGProfile profile, int index, std::string propertyId, int value) override
    {
        calls.push_back({profile, index, std::move(propertyId), value});
    }
    std::vector<Call> calls;
};

QByteArray entryWrite(int index, const ModmapEntry& e)
{
    const QByteArray idx(reinterpret_cast<const char*>(&index), 2);  // little-endian host
    return unitMessage(0x18, idx + recordBytes(e));
}

QByteArray headerWrite(const ModmapHeader& h)
{
    return unitMessage(0x16, recordBytes(h));
}

QByteArray entryRead(int index)
{
    return unitMessage(0x14, QByteArray(reinterpret_cast<const char*>(&index), 2));
}

// A database of the real map over a recording unit, and its Modbus list.
class ModbusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommDBPointFacade::InstallInstance(std::make_unique<CommDBPointFacade>(link));
        db = DataBase::Instance();
        for (int i = 0; i < db->GetPointCount() && (writable.size() < 100 || readOnly.size() < 8); ++i) {
            DatabasePoint* p = db->GetPointByIndex(i);
            if (p)
                (p->IsWritable() ? writable : readOnly).push_back(p);
        }
        ASSERT_GE(writable.size(), 100u);
        ASSERT_GE(readOnly.size(), 8u);
        list = &db->GetModbusList();
        adapter = ModmapAdapter::Instance();
    }
    void TearDown() override
    {
        DataBase::ReleaseInstance();
        CommDBPointFacade::ReleaseInstance();
        StateMgr::ReleaseInstance();
    }

    int countOf(TMBGProfile code) const { return list->GetCollection().FindByCode(code)->GetCount(); }
    DatabasePoint* pointAt(TMBGProfile code, int position) const
    {
        return list->GetCollection().FindByCode(code)->GetRegisters()[position].point;
    }
    static bool sameImage(const ModmapImage& a, const ModmapImage& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    BlockLink link;
    DataBase* db = nullptr;
    std::vector<DatabasePoint*> writable, readOnly;
    ModbusList* list = nullptr;
    ModmapAdapter* adapter = nullptr;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ModbusTest, AListSavedAndLoadedBackKeepsModeGroupsAndOrder)
{
    list->SelectMode(modmap::kModicon16);
    for (int i = 0; i < 2; ++i)
        list->AddPoint(writable[i], 5);
    for (int i = 2; i < 5; ++i)
        list->AddPoint(writable[i], 6);
    list->AddPoint(readOnly[0], 7);
    const QString path = dir.filePath("map.515mb");
    ASSERT_EQ(list->SaveToFile(path), 0);
    EXPECT_EQ(QFileInfo(path).size(), 517);

    list->SelectMode(modmap::kEnron);
    list->Reset();
    ASSERT_EQ(list->LoadFromFile(path), 0);
    EXPECT_EQ(list->GetMode(), modmap::kModicon16);
    EXPECT_EQ(countOf(5), 2);
    EXPECT_EQ(countOf(6), 3);
    EXPECT_EQ(countOf(7), 1);
    EXPECT_EQ(countOf(8), 0);
    EXPECT_EQ(pointAt(6, 2), writable[4]);
    EXPECT_EQ(adapter->GetEntryCount(), 6);
    EXPECT_EQ(adapter->GetEntryPoint(5), readOnly[0]);
    EXPECT_EQ(adapter->GetEntryPoint(6), nullptr);
    EXPECT_EQ(adapter->GetEntryPoint(-1), nullptr);

    // A file that is refused leaves mode, groups and image as they were.
    const ModmapImage before = list->GetImage();
    const QString bad = dir.filePath("bad.515mb");
    writeFile(bad, QByteArray(100, '\2'));
    EXPECT_EQ(list->LoadFromFile(bad), 3);
    EXPECT_FALSE(list->GetLastError().isEmpty());
    EXPECT_EQ(list->GetMode(), modmap::kModicon16);
    EXPECT_EQ(list->GetCollection().GetTotalCount(), 6);
    EXPECT_TRUE(sameImage(list->GetImage(), before));
}

TEST_F(ModbusTest, FileWritableFlagsComeFromTheEntries)
{
    // An ENRON entry marked read-only stays read-only for a writable point, and is saved so.
    ModmapImage image{};
    image.Header = header(0, {{0, 1}, {1, 2}, {3, 0}, {3, 0}});
    image.Entries[0] = entry(0, 8, 0, writable[0]->GetId());
    image.Entries[1] = entry(0, 5, 1, writable[1]->GetId());
    image.Entries[2] = entry(0, 5, 1, 12345);  // no such point: skipped
    const QString path = dir.filePath("enron.515mb");
    writeFile(path, recordBytes(image));
    ASSERT_EQ(list->LoadFromFile(path), 0);
    EXPECT_EQ(countOf(0), 1);
    EXPECT_EQ(countOf(1), 1);
    list->RebuildImage();
    EXPECT_EQ(adapter->GetEntry(0).ACCESS, 0);
    EXPECT_EQ(adapter->GetEntry(1).ACCESS, 1);
    EXPECT_EQ(adapter->GetEntryCount(), 2);
}

TEST_F(ModbusTest, ModiconSixteenUploadsEntriesBetweenTheTwoHeaders)
{
    list->SelectMode(modmap::kModicon16);
    for (int i = 0; i < 2; ++i)
        list->AddPoint(writable[i], 5);
    for (int i = 2; i < 5; ++i)
        list->AddPoint(writable[i], 6);
    list->AddPoint(writable[5], 7);
    list->RebuildImage();
    list->UploadToUnit();

    std::vector<QByteArray> expected = {headerWrite(ModmapHeader{})};
    for (int i = 0; i < 2; ++i)
        expected.push_back(entryWrite(i, entry(0, 8, 1, writable[i]->GetId())));
    for (int i = 2; i < 5; ++i)
        expected.push_back(entryWrite(i, entry(0, 8, 0, writable[i]->GetId())));
    expected.push_back(entryWrite(5, entry(0, 5, 0, writable[5]->GetId())));
    expected.push_back(headerWrite(header(1, {{2, 3}, {0, 2}, {5, 1}, {6, 0}})));
    EXPECT_EQ(link.sent, expected);
}

TEST_F(ModbusTest, EnronUploadClearsTheHeaderFirst)
{
    list->AddPoint(writable[0], 0);
    list->AddPoint(readOnly[0], 0);
    list->AddPoint(writable[1], 2);
    list->RebuildImage();
    list->UploadToUnit();
    const std::vector<QByteArray> expected = {
        headerWrite(ModmapHeader{}),
        entryWrite(0, entry(0, 8, 1, writable[0]->GetId())),
        entryWrite(1, entry(0, 8, 0, readOnly[0]->GetId())),
        entryWrite(2, entry(0, 4, 1, writable[1]->GetId())),
        headerWrite(header(0, {{0, 2}, {2, 0}, {2, 1}, {3, 0}})),
    };
    EXPECT_EQ(link.sent, expected);
}

TEST_F(ModbusTest, ModiconThirtyTwoUploadsEntriesThenBothHeaders)
{
    list->SelectMode(modmap::kModicon32);
    list->AddPoint(writable[0], 9);
    list->AddPoint(writable[1], 13);  // input float, listed after the input short below
    list->AddPoint(writable[2], 11);
    list->AddPoint(writable[3], 15);
    list->RebuildImage();
    list->UploadToUnit();
    const std::vector<QByteArray> expected = {
        entryWrite(0, entry(0, 8, 1, writable[0]->GetId())),
        entryWrite(1, entry(0, 2, 0, writable[2]->GetId())),
        entryWrite(2, entry(1, 0, 0, writable[1]->GetId())),
        entryWrite(3, entry(1, 1, 1, writable[3]->GetId())),
        headerWrite(ModmapHeader{}),
        headerWrite(header(2, {{1, 0}, {0, 1}, {1, 2}, {3, 1}})),
    };
    EXPECT_EQ(link.sent, expected);
}

TEST_F(ModbusTest, AFailedUploadStopsWhereItIs)
{
    list->SelectMode(modmap::kModicon16);
    for (int i = 0; i < 3; ++i)
        list->AddPoint(writable[i], 8);
    list->RebuildImage();
    link.answer(unitMessage(0x17));
    link.answer(unitMessage(0x19, QByteArray(2, '\0')));
    link.answer(unitMessage(0x17));  // not the entry write's answer
    try {
        list->UploadToUnit();
        FAIL() << "the upload went on";
    } catch (const CommStatusError& e) {
        EXPECT_EQ(e.status, commstatus::kUnexpectedResponse);
    }
    EXPECT_EQ(link.sent.size(), 3u);
}

TEST_F(ModbusTest, LoadFromUnitReadsTheBlocksTheHeaderNames)
{
    RecordingMBObserver observer;
    list->Attach(&observer);
    link.modmapHeader = recordBytes(header(0, {{0, 0}, {0, 0}, {10, 4}, {0, 0}}));
    link.modmapEntries[10] = recordBytes(entry(0, 4, 1, writable[0]->GetId()));
    link.modmapEntries[11] = recordBytes(entry(0, 4, 0, readOnly[0]->GetId()));
    link.modmapEntries[12] = recordBytes(entry(0, 4, 1, 12345));  // no such point
    link.modmapEntries[13] = recordBytes(entry(0, 4, 0, writable[1]->GetId()));
    list->LoadFromUnit();

    const std::vector<QByteArray> expected = {unitMessage(0x12), entryRead(10), entryRead(11), entryRead(12),
                                              entryRead(13)};
    EXPECT_EQ(link.sent, expected);
    EXPECT_EQ(countOf(2), 3);
    EXPECT_EQ(pointAt(2, 0), writable[0]);
    EXPECT_EQ(pointAt(2, 1), readOnly[0]);
    EXPECT_EQ(pointAt(2, 2), writable[1]);
    // The register takes the point's own writable flag, not the unit's access byte.
    EXPECT_EQ(list->GetImage().Entries[2].ACCESS, 1);
    EXPECT_EQ(adapter->GetEntryCount(), 3);
    ASSERT_EQ(observer.calls.size(), 1u);
    EXPECT_EQ(observer.calls[0].profile, 0);
    EXPECT_EQ(observer.calls[0].index, 1);
    EXPECT_EQ(observer.calls[0].propertyId, "loadFromUnit");
    EXPECT_EQ(observer.calls[0].value, 0);
    const ModmapHeader stored = list->GetHeader();
    EXPECT_EQ(+stored.Blocks[2].Address, 10);
    EXPECT_EQ(+stored.Blocks[2].BlockSize, 4);
}

TEST_F(ModbusTest, LoadFromUnitReadsModiconBlocksInGroupOrderAndSortsRegisters)
{
    link.modmapHeader = recordBytes(header(2, {{1, 1}, {0, 1}, {2, 4}, {6, 0}}));
    link.modmapEntries[0] = recordBytes(entry(0, 8, 1, writable[0]->GetId()));
    link.modmapEntries[1] = recordBytes(entry(0, 8, 0, writable[1]->GetId()));
    link.modmapEntries[2] = recordBytes(entry(1, 0, 0, writable[2]->GetId()));  // float
    link.modmapEntries[3] = recordBytes(entry(0, 2, 0, writable[3]->GetId()));  // short
    link.modmapEntries[4] = recordBytes(entry(0, 1, 0, writable[4]->GetId()));  // long without LSMS: dropped
    link.modmapEntries[5] = recordBytes(entry(1, 1, 0, writable[5]->GetId()));  // long
    list->LoadFromUnit();

    const std::vector<QByteArray> expected = {unitMessage(0x12), entryRead(0), entryRead(1), entryRead(2),
                                              entryRead(3),      entryRead(4), entryRead(5)};
    EXPECT_EQ(link.sent, expected);
    EXPECT_EQ(list->GetMode(), modmap::kModicon32);
    EXPECT_EQ(countOf(9), 1);
    EXPECT_EQ(countOf(10), 1);
    EXPECT_EQ(pointAt(11, 0), writable[3]);
    EXPECT_EQ(pointAt(12, 0), writable[5]);
    EXPECT_EQ(pointAt(13, 0), writable[2]);
    EXPECT_EQ(list->GetCollection().GetGroup(2)->GetCount(), 3);
}

TEST_F(ModbusTest, AHeaderNamingMoreThanTheImageIsCut)
{
    link.modmapHeader = recordBytes(header(0, {{0, 90}, {90, 30}, {5, 10}, {200, 3}}));
    list->LoadFromUnit();
    ASSERT_EQ(link.sent.size(), 101u);
    for (int i = 1; i <= 100; ++i)
        EXPECT_EQ(link.sent[static_cast<std::size_t>(i)], entryRead(i - 1));
    const ModmapHeader stored = list->GetHeader();
    EXPECT_EQ(+stored.Blocks[0].BlockSize, 90);
    EXPECT_EQ(+stored.Blocks[1].BlockSize, 10);
    EXPECT_EQ(+stored.Blocks[2].BlockSize, 0);
    EXPECT_EQ(+stored.Blocks[3].BlockSize, 0);
}

TEST_F(ModbusTest, LoadFromImageLaysTheImageOutByTheStoredHeader)
{
    RecordingMBObserver observer;
    list->Attach(&observer);
    ModmapImage image{};
    image.Header = header(0, {{9, 9}, {9, 9}, {9, 9}, {9, 9}});  // replaced by the stored header
    image.Entries[0] = entry(0, 5, 1, writable[0]->GetId());
    image.Entries[1] = entry(0, 8, 0, writable[1]->GetId());
    image.Entries[2] = entry(0, 5, 0, writable[2]->GetId());
    list->SetHeader(header(1, {{1, 2}, {0, 1}, {3, 0}, {3, 0}}));
    list->LoadFromImage(image);
    EXPECT_EQ(list->GetMode(), modmap::kModicon16);
    EXPECT_EQ(countOf(5), 1);
    EXPECT_EQ(countOf(6), 2);
    EXPECT_EQ(pointAt(6, 1), writable[2]);
    EXPECT_EQ(adapter->GetEntryCount(), 3);
    EXPECT_EQ(observer.calls.size(), 1u);

    // Blocks beyond the image read nothing past it.
    list->SetHeader(header(0, {{95, 40}, {60000, 5}, {0, 0}, {0, 0}}));
    list->LoadFromImage(image);
    EXPECT_LE(list->GetCollection().GetTotalCount(), 5);
}

TEST_F(ModbusTest, OffsetsAndRegisterNumbersFollowPositions)
{
    list->SelectMode(modmap::kModicon32);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list->AddPoint(writable[i], 15), 2 * i);
    MBGroup* longs = list->GetCollection().FindByCode(15);
    EXPECT_EQ(longs->GetRegisters()[3].offset, 6);
    list->RemovePoint(15, 2);
    EXPECT_EQ(longs->GetCount(), 3);
    EXPECT_EQ(longs->GetRegisters()[2].offset, 4);
    EXPECT_EQ(longs->GetRegisters()[2].point, writable[3]);
    list->RemovePoint(15, 5);  // no register there
    EXPECT_EQ(longs->GetCount(), 3);

    // Shorts come first in the holding range, then longs, then floats, two registers each.
    list->AddPoint(writable[10], 14);
    list->AddPoint(writable[11], 14);
    list->AddPoint(writable[12], 16);
    EXPECT_EQ(list->GetCollection().FindByCode(14)->GetRegisterNumber(1), 40002);
    EXPECT_EQ(longs->GetRegisterNumber(0), 40003);
    EXPECT_EQ(longs->GetRegisterNumber(2), 40007);
    EXPECT_EQ(list->GetCollection().FindByCode(16)->GetRegisterNumber(0), 40009);
    EXPECT_EQ(list->GetCollection().FindByCode(9)->GetRegisterNumber(0), 1);

    list->SelectMode(modmap::kEnron);
    list->AddPoint(writable[0], 0);
    EXPECT_EQ(list->GetCollection().FindByCode(0)->GetRegisterNumber(0), 1001);
}

TEST_F(ModbusTest, PointsMoveWithinAndAcrossGroups)
{
    for (int i = 0; i < 3; ++i)
        list->AddPoint(writable[i], 0);
    EXPECT_EQ(list->MovePoint(0, 0, 0, 2), 2);
    EXPECT_EQ(pointAt(0, 0), writable[1]);
    EXPECT_EQ(pointAt(0, 2), writable[0]);
    EXPECT_EQ(list->MovePoint(0, 2, 0, 1), 1);
    EXPECT_EQ(pointAt(0, 1), writable[0]);

    // Across groups: from is the offset in the first group, to the position in the second.
    list->AddPoint(writable[5], 1);
    EXPECT_EQ(list->MovePoint(0, 1, 1, 0), 0);
    EXPECT_EQ(pointAt(1, 0), writable[0]);
    EXPECT_EQ(pointAt(1, 1), writable[5]);
    EXPECT_EQ(countOf(0), 2);
    EXPECT_EQ(list->MovePoint(0, 7, 0, 0), -1);
    EXPECT_EQ(list->MovePoint(0, 0, 12, 0), -1);
}

TEST_F(ModbusTest, AddsThatTheMapCannotHoldAreRefused)
{
    EXPECT_EQ(list->AddPoint(writable[0], 12), -1) << "no MODICON32 class in ENRON";
    EXPECT_EQ(list->AddPoint(writable[0], 4), -1) << "the archive group holds no points";
    EXPECT_EQ(list->GetCollection().GetTotalCount(), 0);
    for (int i = 0; i < 100; ++i)
        ASSERT_GE(list->AddPoint(writable[static_cast<std::size_t>(i)], static_cast<TMBGProfile>(i % 4)), 0);
    EXPECT_EQ(list->AddPoint(writable[0], 1), -1);
    list->RebuildImage();
    EXPECT_EQ(adapter->GetEntryCount(), 100);
}

TEST_F(ModbusTest, ResetEmptiesEveryGroupAndTheImage)
{
    list->SelectMode(modmap::kModicon32);
    list->AddPoint(writable[0], 9);
    list->AddPoint(writable[1], 12);
    list->AddPoint(writable[2], 16);
    list->RebuildImage();
    list->Reset();
    EXPECT_EQ(list->GetCollection().GetTotalCount(), 0);
    for (TMBGProfile code = 9; code <= 16; ++code)
        EXPECT_EQ(countOf(code), 0) << int(code);
    EXPECT_TRUE(sameImage(list->GetImage(), ModmapImage{}));
    EXPECT_EQ(adapter->GetEntryCount(), 0);
}

TEST_F(ModbusTest, AnUnknownModeLeavesAListThatExchangesNothing)
{
    list->SelectMode(7);
    EXPECT_EQ(list->GetCollection().GetGroupCount(), 0);
    EXPECT_EQ(list->AddPoint(writable[0], 0), -1);
    list->RebuildImage();
    list->UploadToUnit();
    EXPECT_TRUE(link.sent.empty());

    link.modmapHeader = recordBytes(header(9, {{0, 5}}));
    list->LoadFromUnit();
    EXPECT_EQ(link.sent, std::vector<QByteArray>{unitMessage(0x12)});
    EXPECT_EQ(adapter->GetEntryCount(), 0);
}
