// An archive download whose logs record every kind of value the unit stores, read from the
// emulated unit through the main window: every text the grid shows for each archive, the XML
// archive file saved after the download and both CSV exports must match the recorded texts in
// tests/results/golden/archive_download_texts.txt byte for byte. The recording was made before
// the log database kept its values as numbers, so the test holds the texts to what they were.
//
// KVT_WRITE_GOLDEN=1 writes the recording afresh instead of comparing (only for a deliberate
// change of the texts).
#include "pagefixture.h"

#include "archivegridmodel.h"
#include "archiveviewer.h"
#include "database.h"
#include "logcsv.h"
#include "logdbmgr.h"
#include "memoryframes.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const char* const kGolden = KVT_SOURCE_DIR "/tests/results/golden/archive_download_texts.txt";

void putBytes(QByteArray& out, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putFloat(QByteArray& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putBytes(out, bits, 4);
}

// The five downloaded logs between them record every value width and type code family:
//   On Run (0x11): Stream and Run Number (stored from 0, shown from 1), a float, unsigned 32 and
//     16 bits, type 19 (four bytes) and a point the register map does not hold (a float);
//   Hourly (0xDE, an id stored escaped): 16- and 32-bit masks, one-byte unsigned, Boolean, text
//     and baud types, type 20;
//   Daily (0x33): floats from NaN and the infinities to denormals;
//   Periodic 1 (0x44): the time stamp alone;
//   Periodic 2 (0x55): a float and a 16-bit value, in frames that carry one value or both.
const LogRecord kLogs[6] = {
    {0, 1, 0, 0x11, 8, {0, 392, 393, 21, 29, 10, 388, 9999}},
    {1, 1, 0, 0xDE, 8, {0, 13, 20, 67, 0, 306, 442, 385}},
    {2, 1, 6, 0x33, 2, {0, 21}},
    {3, 1, 60, 0x44, 1, {0}},
    {4, 1, 120, 0x55, 3, {0, 21, 10}},
    {5, 0, 60, 0x66, 2, {0, 21}},
};

const float kFloats[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         0.0f,
                         -0.0f,
                         0.1f,
                         1e-5f,
                         9.9e-6f,
                         1e15f,
                         1e16f,
                         123456789.0f,
                         3.4028235e38f,
                         1.4e-45f,
                         -0.25f,
                         2.25f,
                         1.5f,
                         100.0f,
                         -1e-20f,
                         65536.5f,
                         -123.456f};
const std::uint32_t kU32[] = {0, 1, 0xDEDEDEDE, 0xFFFFFFFF, 1234567890, 0xDE, 65536};
const std::uint16_t kU16[] = {0, 0xDEDE, 65535, 1, 0xDE};
const std::uint8_t kU8[] = {0, 0xDE, 255, 7, 1};

template <typename T, std::size_t N>
T pick(const T (&values)[N], int i)
{
    return values[static_cast<std::size_t>(i) % N];
}

// The memory: 20 records of each of the first three logs, 5 of Periodic 1 and 10 of Periodic 2,
// half an hour apart from 22:00 on the last day of 2025 (one falls on midnight), written round a
// wrapped ring; then a record of the undownloaded sixth log, one with a bad CRC, and two of On Run
// at one time with a time stamp that is no date.
QByteArray archiveMemory()
{
    const QDateTime start(QDate(2025, 12, 31), QTime(22, 0), Qt::UTC);
    std::vector<QByteArray> frames;
    for (int i = 0; i < 75; ++i) {
        const std::uint32_t token = memoryframes::token(start.addSecs(std::int64_t{i} * 1800));
        QByteArray payload;
        putBytes(payload, token, 4);
        if (i < 60 && i % 3 == 0) {
            payload.append(static_cast<char>(i % 4));
            payload.append(static_cast<char>(pick(kU8, i)));
            putFloat(payload, pick(kFloats, i));
            putBytes(payload, pick(kU32, i), 4);
            putBytes(payload, pick(kU16, i), 2);
            putBytes(payload, pick(kU32, i + 3), 4);
            putFloat(payload, pick(kFloats, i + 7));
            frames.push_back(memoryframes::logFrame(0x11, payload));
        } else if (i < 60 && i % 3 == 1) {
            putBytes(payload, pick(kU16, i), 2);
            payload.append(static_cast<char>(pick(kU8, i)));
            payload.append(static_cast<char>(i % 2));
            payload.append(static_cast<char>(pick(kU8, i + 1)));
            payload.append(static_cast<char>(pick(kU8, i + 2)));
            putBytes(payload, pick(kU32, i + 1), 4);
            putBytes(payload, pick(kU32, i + 2), 4);
            frames.push_back(memoryframes::logFrame(0xDE, payload));
        } else if (i < 60) {
            putFloat(payload, kFloats[(i / 3) % std::size(kFloats)]);
            frames.push_back(memoryframes::logFrame(0x33, payload));
        } else if (i < 65) {
            frames.push_back(memoryframes::logFrame(0x44, payload));
        } else {
            putFloat(payload, pick(kFloats, i));
            if (i % 2)
                putBytes(payload, pick(kU16, i), 2);
            frames.push_back(memoryframes::logFrame(0x55, payload));
        }
    }
    QByteArray memory = memoryframes::inMemoryOrder(frames, 23);

    QByteArray sixth;
    putBytes(sixth, memoryframes::token(start), 4);
    putFloat(sixth, 1.0f);
    memory.append(memoryframes::logFrame(0x66, sixth));
    QByteArray badCrc = memoryframes::logFrame(0x33, sixth);
    badCrc[badCrc.size() - 1] = static_cast<char>(badCrc[badCrc.size() - 1] ^ 0x01);
    memory.append(badCrc);
    for (int k = 0; k < 2; ++k) {
        QByteArray payload;
        putBytes(payload, 0x00000001u, 4);  // month 0: no date
        payload.append(static_cast<char>(k));
        payload.append(static_cast<char>(k));
        putFloat(payload, 0.5f);
        putBytes(payload, 7, 4);
        putBytes(payload, 7, 2);
        putBytes(payload, 7, 4);
        putFloat(payload, 0.5f);
        memory.append(memoryframes::logFrame(0x11, payload));
    }
    return memory;
}

class ArchiveTextsWithUnit : public PageWithUnit {
protected:
    void SetUp() override
    {
        PageWithUnit::SetUp();
        LogDBMgr::Instance()->Clear();
        for (int k = 0; k < 6; ++k) {
            QByteArray bytes(sizeof(LogRecord), '\0');
            std::memcpy(bytes.data(), &kLogs[k], sizeof(LogRecord));
            unit->setLogRecord(k, bytes);
        }
        unit->setArchive(archiveMemory());
        logOn();
        testenv::dialogs().clear();
        viewer = form->findChild<TfraArchiveViewer*>("fraArchiveViewer");
        ASSERT_NE(viewer, nullptr);
    }

    void TearDown() override
    {
        PageWithUnit::TearDown();
        LogDBMgr::ReleaseInstance();
    }

    // Every header and cell of every archive, each shown whole.
    QString gridTexts() const
    {
        QString out;
        auto* chooser = viewer->findChild<QComboBox*>("cbArchive");
        auto* range = viewer->findChild<QLineEdit*>("edtDispRange");
        ArchiveGridModel* grid = viewer->GridModel();
        for (int archive = 0; archive < 5; ++archive) {
            chooser->setCurrentIndex(archive);
            emit chooser->activated(archive);
            range->setText("500000");
            QTest::keyClick(range, Qt::Key_Return);
            out += QStringLiteral("== grid %1: %2 records\n")
                       .arg(archive)
                       .arg(viewer->findChild<QLineEdit*>("LogRecordNum")->text());
            QStringList headers;
            for (int c = 0; c < grid->columnCount(); ++c)
                headers << grid->HeaderText(c);
            out += headers.join('\t') + '\n';
            for (int r = 0; r < grid->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < grid->columnCount(); ++c)
                    cells << grid->CellText(r, c);
                out += cells.join('\t') + '\n';
            }
        }
        return out;
    }

    TfraArchiveViewer* viewer = nullptr;
    QTemporaryDir dir;
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A line end of its own after each record, so that a difference shows where it is; the files
// themselves end their CSV lines in a carriage return alone and the XML has no line ends.
QByteArray readable(QByteArray bytes)
{
    return bytes.replace("</Point>", "</Point>\n").replace("\r", "\\r\n");
}

}  // namespace

TEST_F(ArchiveTextsWithUnit, ShowsAndSavesTheRecordedTexts)
{
    const QString xmlPath = dir.filePath("download.xml");
    testenv::dialogs().answerText(xmlPath);
    viewer->findChild<QToolButton*>("btnReadFromUnit")->click();
    for (const auto& shown : testenv::dialogs().shown())
        ASSERT_NE(shown.kind, DialogService::Kind::Message) << shown.text.toStdString();
    ASSERT_EQ(LogDBMgr::Instance()->RecordCount(), 77u);

    QByteArray texts = gridTexts().toUtf8();
    texts += "== xml\n" + readable(readFile(xmlPath)) + "\n";
    const auto allColumns = [](std::vector<logcsv::Config_item>&) { return true; };
    for (const auto kind : {logcsv::Kind::Legal, logcsv::Kind::Packet}) {
        const QString path = dir.filePath(kind == logcsv::Kind::Legal ? "legal.csv" : "packet.csv");
        QString error;
        ASSERT_TRUE(logcsv::Export(*DataBase::Instance(), *LogDBMgr::Instance(), kind, path, allColumns, &error))
            << error.toStdString();
        texts += (kind == logcsv::Kind::Legal ? "== legal csv\n" : "== packet csv\n") + readable(readFile(path)) + "\n";
    }

    if (qEnvironmentVariableIntValue("KVT_WRITE_GOLDEN") == 1) {
        QFile out(kGolden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(texts);
        GTEST_SKIP() << "recording written to " << kGolden;
    }
    const QByteArray golden = readFile(kGolden);
    ASSERT_FALSE(golden.isEmpty()) << "no recording at " << kGolden;
    const QList<QByteArray> want = golden.split('\n');
    const QList<QByteArray> got = texts.split('\n');
    for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
        ASSERT_EQ(got[i].toStdString(), want[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(got.size(), want.size());
}
