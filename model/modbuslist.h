#pragma once

#include "modbuslistgroups.h"
#include "modbuslistpublisher.h"
#include "modmapadapter.h"

#include <QString>
#include <memory>

class DatabasePoint;

// The unit's Modbus map as register groups of one dialect, inside the point database. The
// groups are the truth; the adapter's image follows them after each RebuildImage.
// There is one list in the process: it takes the adapter at construction and releases it when
// it is destroyed, and reaches it through ModmapAdapter::Instance in between.
class ModbusList : public MBPublisher {
public:
    ModbusList();
    ~ModbusList() override;
    ModbusList(const ModbusList&) = delete;
    ModbusList& operator=(const ModbusList&) = delete;

    // Replaces the groups by empty ones of the mode (0 ENRON, 1 MODICON16, 2 MODICON32); any
    // other value gives a list without groups.
    void SelectMode(int mode);
    std::uint8_t GetMode() const { return collection_->GetMode(); }
    MBGroupCollection& GetCollection() const { return *collection_; }

    // Reads header and entries from the unit, rebuilds the image and tells the observers. A
    // header whose blocks name more than the image's 100 entries is cut to them.
    void LoadFromUnit();
    // Takes the image of a configuration file, laid out by the stored header (SetHeader first),
    // rebuilds groups and image and tells the observers.
    void LoadFromImage(const ModmapImage& image);
    void SetHeader(const ModmapHeader& header) { header_ = header; }
    ModmapHeader GetHeader() const { return header_; }
    ModmapImage GetImage() const { return adapter().GetImage(); }
    void RebuildImage();
    // Sends the map in the dialect's order; a failed exchange ends it where it is.
    void UploadToUnit();
    // 0, or 3 with mode and groups unchanged and the reason in GetLastError.
    int LoadFromFile(const QString& fileName);
    // 0, or 1 with the reason in GetLastError; a failed save leaves the previous file as it was.
    int SaveToFile(const QString& fileName);
    QString GetLastError() const { return adapter().GetLastError(); }
    // Fills the groups from the adapter's entries; the writable flags come from the entries.
    void RebuildGroupsFromImage();

    // The new register's offset; -1 when no group holds the class or the map is full.
    int AddPoint(DatabasePoint* point, TMBGProfile code);
    void RemovePoint(TMBGProfile code, int offset);
    // Within one group from and to are positions; across groups from is the register offset in
    // the first group and to the position in the second. The register's new offset, or -1.
    int MovePoint(TMBGProfile fromCode, int from, TMBGProfile toCode, int to);
    // Empties every group and clears the image.
    void Reset();
    // Attaches to the list and to each of its groups.
    void Attach(IMBObserver* observer) override;

private:
    static ModmapAdapter& adapter() { return *ModmapAdapter::Instance(); }

    std::unique_ptr<MBGroupCollection> collection_;
    ModmapHeader header_{};
};
