#pragma once

#include "modmapadapterimage.h"

#include <QString>

class DatabasePoint;

// The Modbus map as one image in the unit's layout, shared by the group model, the Modbus page
// and the "*.515mb" files.
class ModmapAdapter {
public:
    // Created with a cleared image on first use; released with the Modbus list.
    static ModmapAdapter* Instance();
    static void ReleaseInstance();

    void ClearImage();
    ModmapImage GetImage() const { return image_; }
    // The entry count becomes the sum of the four block sizes, at most the image's 100 entries.
    void SetImage(const ModmapImage& image);
    std::uint8_t GetMode() const { return image_.Header.mode; }
    void SetMode(std::uint8_t mode) { image_.Header.mode = mode; }
    int GetEntryCount() const { return count_; }

    // A zero entry for an index outside the image.
    ModmapEntry GetEntry(int index) const;
    // Null for an index outside the entries or an id no point of the database has.
    DatabasePoint* GetEntryPoint(int index) const;
    // modmap::kNoProfile for an index outside the image or an entry that fits no class.
    TMBGProfile GetEntryProfile(int index) const;
    bool IsEntryWritable(int index) const;

    // Writes the next entry for a register of class code; the class fixes format, access (from
    // class 5 on) and LSMS. False, and nothing written, when the image is full, the class holds
    // no entries or there is no point.
    bool AppendEntry(TMBGProfile code, const DatabasePoint* point, bool writable);
    bool AppendEntry(TMBGProfile code, std::uint16_t pointId, bool writable);
    // Recomputes the four blocks from the entries, which lie in the order of the mode's groups.
    void RecountHeader();

    // 0 when the file is a Modbus list image and has been taken; 3 otherwise, with the image as
    // it was and the reason in GetLastError. A file is taken only when it is exactly 517 bytes,
    // its mode is known and its blocks hold at most 100 entries.
    int LoadFile(const QString& fileName);
    // Recounts the header and writes the image; 0 on success, 1 when the file could not be
    // written whole (the previous file is then left as it was).
    int SaveFile(const QString& fileName);
    QString GetLastError() const { return lastError_; }

    // The class of an entry in a mode; kNoProfile when none fits.
    static TMBGProfile ProfileOf(std::uint8_t mode, const ModmapEntry& entry);
    // The header block that holds the class's entries; -1 for none.
    static int BlockOf(TMBGProfile code);

private:
    ModmapAdapter() { ClearImage(); }

    ModmapImage image_;
    int count_ = 0;
    QString lastError_;
};
