#include "modmapadapter.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<ModmapAdapter>& adapterSlot()
{
    static std::unique_ptr<ModmapAdapter> instance;
    return instance;
}

// One register class: the entries it writes and the header block that holds them.
struct Profile {
    TMBGProfile code;
    std::uint8_t mode;
    std::uint8_t format;
    int access;  // -1: the register's own writable flag (ENRON)
    std::uint8_t lsms;
    int block;
};

constexpr Profile kProfiles[] = {
    {0, modmap::kEnron, 8, -1, 0, 0},     {1, modmap::kEnron, 5, -1, 0, 1},     {2, modmap::kEnron, 4, -1, 0, 2},
    {3, modmap::kEnron, 0, -1, 0, 3},     {5, modmap::kModicon16, 8, 1, 0, 1},  {6, modmap::kModicon16, 8, 0, 0, 0},
    {7, modmap::kModicon16, 5, 0, 0, 2},  {8, modmap::kModicon16, 5, 1, 0, 3},  {9, modmap::kModicon32, 8, 1, 0, 1},
    {10, modmap::kModicon32, 8, 0, 0, 0}, {11, modmap::kModicon32, 2, 0, 0, 2}, {12, modmap::kModicon32, 1, 0, 1, 2},
    {13, modmap::kModicon32, 0, 0, 1, 2}, {14, modmap::kModicon32, 2, 1, 0, 3}, {15, modmap::kModicon32, 1, 1, 1, 3},
    {16, modmap::kModicon32, 0, 1, 1, 3},
};

const Profile* findProfile(TMBGProfile code)
{
    for (const Profile& profile : kProfiles) {
        if (profile.code == code)
            return &profile;
    }
    return nullptr;
}

bool validIndex(int index)
{
    return index >= 0 && index < modmap::kEntries;
}

int blockSizeSum(const ModmapHeader& header)
{
    int sum = 0;
    for (const ModmapBlock& block : header.Blocks)
        sum += block.BlockSize;
    return sum;
}

}  // namespace

ModmapAdapter* ModmapAdapter::Instance()
{
    auto& slot = adapterSlot();
    if (!slot)
        slot.reset(new ModmapAdapter);
    return slot.get();
}

void ModmapAdapter::ReleaseInstance()
{
    adapterSlot().reset();
}

void ModmapAdapter::ClearImage()
{
    std::memset(&image_, 0, sizeof image_);
    count_ = 0;
}

void ModmapAdapter::SetImage(const ModmapImage& image)
{
    image_ = image;
    count_ = std::min(blockSizeSum(image.Header), modmap::kEntries);
}

ModmapEntry ModmapAdapter::GetEntry(int index) const
{
    return validIndex(index) ? image_.Entries[index] : ModmapEntry{};
}

TMBGProfile ModmapAdapter::GetEntryProfile(int index) const
{
    return validIndex(index) ? ProfileOf(image_.Header.mode, image_.Entries[index]) : modmap::kNoProfile;
}

bool ModmapAdapter::IsEntryWritable(int index) const
{
    return validIndex(index) && image_.Entries[index].ACCESS == 1;
}

bool ModmapAdapter::AppendEntry(TMBGProfile code, std::uint16_t pointId, bool writable)
{
    const Profile* profile = findProfile(code);
    if (!profile || count_ >= modmap::kEntries)
        return false;
    ModmapEntry& entry = image_.Entries[count_];
    entry.ACCESS = profile->access < 0 ? (writable ? 1 : 0) : static_cast<std::uint8_t>(profile->access);
    entry.UNIQUEID = pointId;
    entry.FORMAT = profile->format;
    entry.LSMS = profile->lsms;
    ++count_;
    return true;
}

void ModmapAdapter::RecountHeader()
{
    int sizes[modmap::kBlocks] = {};
    for (int i = 0; i < count_; ++i) {
        const int block = BlockOf(GetEntryProfile(i));
        if (block >= 0)
            ++sizes[block];
    }
    // The entries lie in the order of the mode's groups: in the MODICON modes the output
    // statuses (block 1) come first.
    static constexpr int kEnronOrder[] = {0, 1, 2, 3};
    static constexpr int kModiconOrder[] = {1, 0, 2, 3};
    const int* order = image_.Header.mode == modmap::kEnron ? kEnronOrder : kModiconOrder;
    int address = 0;
    for (int k = 0; k < modmap::kBlocks; ++k) {
        const int block = order[k];
        image_.Header.Blocks[block].Address = static_cast<std::uint16_t>(address);
        image_.Header.Blocks[block].BlockSize = static_cast<std::uint16_t>(sizes[block]);
        address += sizes[block];
    }
}

int ModmapAdapter::LoadFile(const QString& fileName)
{
    lastError_.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        lastError_ =
            QStringLiteral("The Modbus list file \"%1\" could not be opened: %2").arg(fileName, file.errorString());
        return 3;
    }
    // One byte more than an image, so that a longer file shows.
    const QByteArray bytes = file.read(modmap::kImageSize + 1);
    if (file.error() != QFileDevice::NoError) {
        lastError_ =
            QStringLiteral("The Modbus list file \"%1\" could not be read: %2").arg(fileName, file.errorString());
        return 3;
    }
    if (bytes.size() != modmap::kImageSize) {
        lastError_ = QStringLiteral("The file \"%1\" is not a Modbus list: a Modbus list holds %2 bytes.")
                         .arg(fileName)
                         .arg(modmap::kImageSize);
        return 3;
    }
    ModmapImage loaded;
    std::memcpy(&loaded, bytes.constData(), sizeof loaded);
    if (loaded.Header.mode > modmap::kModicon32) {
        lastError_ = QStringLiteral("The Modbus list file \"%1\" has an unknown mode (%2).")
                         .arg(fileName)
                         .arg(loaded.Header.mode);
        return 3;
    }
    if (blockSizeSum(loaded.Header) > modmap::kEntries) {
        lastError_ = QStringLiteral("The Modbus list file \"%1\" lists %2 entries; a Modbus list holds at most %3.")
                         .arg(fileName)
                         .arg(blockSizeSum(loaded.Header))
                         .arg(modmap::kEntries);
        return 3;
    }
    SetImage(loaded);
    return 0;
}

int ModmapAdapter::SaveFile(const QString& fileName)
{
    lastError_.clear();
    RecountHeader();
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(&image_), sizeof image_) == static_cast<qint64>(sizeof image_) &&
        file.commit())
        return 0;
    lastError_ =
        QStringLiteral("The Modbus list file \"%1\" could not be written: %2").arg(fileName, file.errorString());
    file.cancelWriting();
    return 1;
}

TMBGProfile ModmapAdapter::ProfileOf(std::uint8_t mode, const ModmapEntry& entry)
{
    const int access = entry.ACCESS != 0 ? 1 : 0;
    for (const Profile& profile : kProfiles) {
        if (profile.mode == mode && profile.format == entry.FORMAT && (profile.access < 0 || profile.access == access))
            return profile.code;
    }
    return modmap::kNoProfile;
}

int ModmapAdapter::BlockOf(TMBGProfile code)
{
    const Profile* profile = findProfile(code);
    return profile ? profile->block : -1;
}
