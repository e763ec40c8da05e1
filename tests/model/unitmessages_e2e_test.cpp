// Every message type through the real libPortelle.so, over loopback TCP, against the emulated unit.
#include "commdbpointfacade.h"
#include "communications.h"
#include "librarybinder.h"
#include "testenv.h"
#include "unitemulator.h"
#include "unitmodel.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <functional>

namespace {

constexpr std::uint16_t kVersionIndex = 0;  // "Ridovaz Version", point 500
constexpr std::uint16_t kTextIndex = 2;     // "Unit ID", point 0
constexpr std::uint16_t kBoolIndex = 5;     // "Backlight Lock On", point 67
constexpr std::uint16_t kFloatIndex = 6;    // "Black Tape Detect Volts (mV)", point 12
constexpr std::uint16_t kU16Index = 8;      // "Purge Time", point 10
constexpr std::uint16_t kBaudIndex = 957;   // "Comm Port 1: Baud Rate", point 306

template <std::size_t N>
std::array<std::uint8_t, N> pattern(int seed)
{
    std::array<std::uint8_t, N> a{};
    for (std::size_t i = 0; i < N; ++i)
        a[i] = static_cast<std::uint8_t>(seed + 3 * i);
    return a;
}

template <std::size_t N>
QByteArray modmapBytesOf(const std::array<std::uint8_t, N>& a)
{
    return QByteArray(reinterpret_cast<const char*>(a.data()), static_cast<int>(N));
}

int statusOf(const std::function<void()>& op)
{
    try {
        op();
    } catch (const CommStatusError& e) {
        return e.status;
    }
    return -1;
}

// The link to the emulated unit, as the program has it: Portelle's settings point at the
// unit's loopback port, Communications binds the library from the program's folder.
class UnitRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { start(std::make_unique<UnitModel>()); }

    void start(std::unique_ptr<UnitModel> model)
    {
        unit = model.get();
        emulator = std::make_unique<UnitEmulator>(std::move(model));
        ASSERT_TRUE(emulator->start());
        testenv::pointLinkAtLoopback(emulator->tcpPort());
        comms = std::make_unique<Communications>(LibraryBinder::programDir());
        ASSERT_TRUE(comms->IsLoaded());
        comms->SetUserCancel(false);
        ASSERT_EQ(comms->CommConnect(), 0);
        facade = std::make_unique<CommDBPointFacade>(*comms);
    }

    void TearDown() override
    {
        facade.reset();
        if (comms)
            comms->CommDisconnect(false);
        comms.reset();
        emulator.reset();
    }

    UnitModel* unit = nullptr;
    std::unique_ptr<UnitEmulator> emulator;
    std::unique_ptr<Communications> comms;
    std::unique_ptr<CommDBPointFacade> facade;
};

}  // namespace

TEST_F(UnitRoundTrip, EntriesAreReadAndWrittenInTheirTypesWidth)
{
    ASSERT_TRUE(unit->setValue(12, -2.5));
    ASSERT_TRUE(unit->setValue(10, 65535));
    ASSERT_TRUE(unit->setValue(67, true));
    ASSERT_TRUE(unit->setValue(306, 5));
    ASSERT_TRUE(unit->setValue(0, QStringLiteral("Sentrel 7")));

    EXPECT_EQ(facade->ReadU32(kVersionIndex), 17041417u);
    EXPECT_FLOAT_EQ(facade->ReadFloat(kFloatIndex), -2.5f);
    EXPECT_EQ(facade->ReadU16(kU16Index), 65535);
    EXPECT_EQ(facade->ReadS16(kU16Index), -1);
    EXPECT_TRUE(facade->ReadBool(kBoolIndex));
    EXPECT_EQ(facade->ReadU8(kBaudIndex), 5);
    std::string text;
    EXPECT_EQ(facade->ReadString(kTextIndex, text), 9);
    EXPECT_EQ(text, "Sentrel 7");

    facade->WriteFloat(kFloatIndex, 0.125f);
    facade->WriteU16(kU16Index, 300);
    facade->WriteBool(kBoolIndex, false);
    facade->WriteU8(kBaudIndex, 2);
    facade->WriteString(kTextIndex, "North");
    EXPECT_DOUBLE_EQ(unit->value(12).toDouble(), 0.125);
    EXPECT_EQ(unit->value(10).toLongLong(), 300);
    EXPECT_EQ(unit->value(67).toLongLong(), 0);
    EXPECT_EQ(unit->rawValue(kBaudIndex), QByteArray(1, '\x02'));
    EXPECT_EQ(unit->value(0).toString(), "North");
    // What reached the unit: the value field's unused bytes are zero.
    EXPECT_EQ(unit->received()[unit->received().size() - 2].toHex(), QByteArray("0804bd0302000000"));
    EXPECT_EQ(unit->received().back().toHex(), QByteArray("0a06020005") + QByteArray("North").toHex());

    EXPECT_FLOAT_EQ(facade->ReadFloat(kFloatIndex), 0.125f);
    EXPECT_EQ(facade->ReadString(kTextIndex, text), 5);
    EXPECT_EQ(text, "North");

    // A read-only entry is refused by the unit: Portelle's status 3.
    EXPECT_EQ(statusOf([&] { facade->WriteU32(kVersionIndex, 1); }), commstatus::kRejected);
}

TEST_F(UnitRoundTrip, MultiReadReturnsTheValuesPackedInRequestOrder)
{
    ASSERT_TRUE(unit->setValue(12, 1.5));
    ASSERT_TRUE(unit->setValue(10, 0x1234));
    ASSERT_TRUE(unit->setValue(67, true));
    MultiReadRequest request;
    request.count = 4;
    request.indexes = {kFloatIndex, kBoolIndex, kU16Index, kVersionIndex};
    const MultiReadAnswer answer = facade->MultiRead(request);
    EXPECT_EQ(answer.count, 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(answer.values.data()), 11).toHex(),
              QByteArray("0000c03f01341209080401"));
}

TEST_F(UnitRoundTrip, BlocksRecordsAndTheModbusMapGoOutAndComeBack)
{
    const SequencerBytes sequencer = pattern<228>(1);
    const TimerBytes timers = pattern<144>(2);
    EXPECT_TRUE(facade->WriteSequencerConfig(sequencer));
    EXPECT_TRUE(facade->WriteTimerConfig(timers));
    EXPECT_EQ(facade->ReadSequencerConfig(), sequencer);
    EXPECT_EQ(facade->ReadTimerConfig(), timers);

    const ModmapHeaderBytes header = pattern<17>(3);
    EXPECT_TRUE(facade->WriteModmapHeader(header));
    for (std::uint16_t i : {0, 1, 99})
        EXPECT_EQ(facade->WriteModmapEntry(i, pattern<5>(i)), i);
    EXPECT_EQ(facade->ReadModmapHeader(), header);
    const ModmapEntryAnswer entry = facade->ReadModmapEntry(99);
    EXPECT_EQ(entry.index, 99);
    EXPECT_EQ(entry.entry, pattern<5>(99));
    EXPECT_EQ(unit->modmap().left(17), modmapBytesOf(header));

    for (int n = 0; n < 6; ++n) {
        LogRecordBytes record = pattern<22>(10 * n);
        record[0] = static_cast<std::uint8_t>(n);
        EXPECT_TRUE(facade->WriteLogRecord(record));
    }
    for (int n = 0; n < 6; ++n) {
        const LogRecordBytes record = facade->ReadLogRecord(static_cast<std::uint8_t>(n));
        EXPECT_EQ(record[0], n);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(record.data()) + 1, 21),
                  modmapBytesOf(pattern<22>(10 * n)).mid(1));
    }
}

TEST_F(UnitRoundTrip, MemoriesAreReadInBlocksAndWiped)
{
    QByteArray archive(450, '\0');
    for (int i = 0; i < archive.size(); ++i)
        archive[i] = static_cast<char>(i * 13);
    unit->setArchive(archive);
    unit->setEvents(QByteArray(205, 'e'));
    const MemoryInfo info = facade->ReadMemoryInfo();
    EXPECT_EQ(info.archiveLength, 450u);
    EXPECT_EQ(info.eventLength, 205u);

    QByteArray read;
    for (std::uint32_t offset = 0; offset < info.archiveLength; offset += 200) {
        const auto count = static_cast<std::uint8_t>(std::min<std::uint32_t>(200, info.archiveLength - offset));
        const MemoryBlock block = facade->ReadArchiveBlock(offset, count);
        EXPECT_EQ(block.offset, offset);
        ASSERT_EQ(block.count, count);
        read.append(reinterpret_cast<const char*>(block.data.data()), block.count);
    }
    EXPECT_EQ(read, archive);
    const MemoryBlock last = facade->ReadEventBlock(200, 5);
    EXPECT_EQ(last.count, 5);
    EXPECT_EQ(last.data[4], 'e');
    EXPECT_EQ(last.data[5], 0);

    facade->WipeArchive();
    facade->WipeEventLog();
    const MemoryInfo wiped = facade->ReadMemoryInfo();
    EXPECT_EQ(wiped.archiveLength, 0u);
    EXPECT_EQ(wiped.eventLength, 0u);
}

TEST_F(UnitRoundTrip, FirmwareBlocksAreStoredWithABusyCountAndReadBack)
{
    unit->setImageBusyPolls(2);
    QByteArray image(401, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 5 + 1);
    // Whole blocks, then a last one: what the firmware transfer sends.
    for (int offset = 0; offset < image.size(); offset += 200) {
        MemoryBlock block;
        block.offset = static_cast<std::uint32_t>(offset);
        block.count = static_cast<std::uint8_t>(std::min(200, int(image.size()) - offset));
        std::memcpy(block.data.data(), image.constData() + offset, block.count);
        const BlockHeader ack = facade->WriteImageBlock(block);
        EXPECT_EQ(ack.offset, block.offset);
        EXPECT_EQ(ack.count, block.count);
        int polls = 1;
        while (facade->FinishImageWrite())
            ++polls;
        EXPECT_EQ(polls, 3);
    }
    EXPECT_EQ(unit->image(), image);
    const MemoryBlock back = facade->ReadImageBlock(400, 1);
    EXPECT_EQ(back.count, 1);
    EXPECT_EQ(back.data[0], static_cast<std::uint8_t>(image[400]));
}

TEST_F(UnitRoundTrip, FlashWriteFactoryDefaultsAndReboot)
{
    unit->setFlashBusyPolls(1);
    facade->WriteFlash();
    EXPECT_TRUE(facade->FlashStatus());
    EXPECT_FALSE(facade->FlashStatus());
    EXPECT_EQ(unit->counters().flashWrites, 1);

    facade->WriteU16(kU16Index, 42);
    facade->SetFactoryDefaults();
    EXPECT_EQ(facade->ReadU16(kU16Index), 0);
    EXPECT_EQ(unit->counters().factoryDefaults, 1);

    // The unit answers the reboot, then hears nothing while it starts again.
    unit->setRebootSilenceMs(2500);  // far longer than the two sends of the next exchange
    facade->Reboot();
    EXPECT_EQ(statusOf([&] { facade->ReadMemoryInfo(); }), commstatus::kNoResponse);
    QElapsedTimer clock;
    clock.start();
    while (unit->rebooting() && clock.elapsed() < 10000)
        QThread::msleep(50);
    EXPECT_EQ(statusOf([&] { facade->ReadMemoryInfo(); }), -1);
    EXPECT_EQ(unit->counters().reboots, 1);
}

TEST_F(UnitRoundTrip, WrongAnswersReachTheCallerAsTheirStatus)
{
    UnitModel::MessageFault fault;
    fault.requestType = 0x0E;
    fault.kind = UnitModel::MessageFault::Kind::AnswerType;  // 0x10 for a reboot
    unit->addFault(fault);
    unit->setRebootSilenceMs(0);
    EXPECT_EQ(statusOf([&] { facade->Reboot(); }), commstatus::kUnexpectedResponse);
    EXPECT_EQ(comms->GetErrorText(commstatus::kUnexpectedResponse), "Unexpected response type received.");

    fault.requestType = 0x40;
    unit->addFault(fault);
    EXPECT_EQ(statusOf([&] { facade->ReadTimerConfig(); }), commstatus::kUnexpectedResponse);
    fault.requestType = 0x42;
    unit->addFault(fault);
    EXPECT_FALSE(facade->WriteTimerConfig({}));

    fault.requestType = 0x3C;
    fault.kind = UnitModel::MessageFault::Kind::Length;
    fault.length = 100;
    unit->addFault(fault);
    EXPECT_EQ(statusOf([&] { facade->ReadSequencerConfig(); }), commstatus::kUnexpectedResponse);

    // Silent on both sends: no response; silent on the first only: the retry is answered.
    fault.requestType = 0x2A;
    fault.kind = UnitModel::MessageFault::Kind::Silence;
    fault.times = 2;
    unit->addFault(fault);
    EXPECT_EQ(statusOf([&] { facade->ReadMemoryInfo(); }), commstatus::kNoResponse);
    EXPECT_EQ(comms->GetErrorText(commstatus::kNoResponse), "No Response from unit.");
    fault.times = 1;
    unit->addFault(fault);
    EXPECT_EQ(statusOf([&] { facade->ReadMemoryInfo(); }), -1);
}

TEST_F(UnitRoundTrip, ErrorTextsComeFromTheLibraryBelowTwenty)
{
    const char* texts[] = {"Success.",
                           "Currently waiting for response to communication.",
                           "Invalid response was received.",
                           "The unit has reported an error with the request that was sent.",
                           "No Response from unit.",
                           "Com port not open.",
                           "Cancelled by user."};
    for (int s = 0; s < 7; ++s)
        EXPECT_EQ(comms->GetErrorText(s), texts[s]);
    EXPECT_EQ(comms->GetErrorText(7), "");
    EXPECT_EQ(comms->GetErrorText(20), "Entry index of response doesn't match request.");
    EXPECT_EQ(comms->GetErrorText(22), "unknown error");
}

TEST_F(UnitRoundTrip, ACancelledLinkRaisesSixUntilCleared)
{
    comms->SetUserCancel(true);
    EXPECT_EQ(statusOf([&] { facade->ReadU16(kU16Index); }), commstatus::kCancelled);
    comms->SetUserCancel(false);
    EXPECT_EQ(statusOf([&] { facade->ReadU16(kU16Index); }), -1);
}

TEST(UnitScenario, AScenarioSetsTheUnitAndItsDumpShowsWhatItReceived)
{
    QTemporaryDir dir;
    const QJsonObject scenario{
        {"values", QJsonObject{{"0", "From file"}, {"10", 77}}}, {"events", "0102030405"}, {"dump", "after.json"}};
    QFile file(dir.filePath("unit.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(scenario).toJson());
    file.close();

    {
        auto emulator = std::make_unique<UnitEmulator>(makeUnitHandler(file.fileName()));
        ASSERT_TRUE(emulator->start());
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Desktop515");
        settings.setValue("Comm/ConnectType", 3);
        settings.setValue("WinSock/Address", "127.0.0.1");
        settings.setValue("WinSock/Port", QString::number(emulator->tcpPort()));
        settings.sync();
        Communications comms(LibraryBinder::programDir());
        ASSERT_EQ(comms.CommConnect(), 0);
        CommDBPointFacade facade(comms);
        std::string text;
        facade.ReadString(kTextIndex, text);
        EXPECT_EQ(text, "From file");
        EXPECT_EQ(facade.ReadU16(kU16Index), 77);
        EXPECT_EQ(facade.ReadMemoryInfo().eventLength, 5u);
        facade.WriteU16(kU16Index, 78);
        comms.CommDisconnect(false);
    }
    QFile after(dir.filePath("after.json"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    const QJsonObject dump = QJsonDocument::fromJson(after.readAll()).object();
    EXPECT_EQ(dump.value("values").toObject().value("10").toInt(), 78);
    const QJsonArray received = dump.value("received").toArray();
    ASSERT_EQ(received.size(), 4);
    EXPECT_EQ(received[3].toString(), "080408004e000000");
}
