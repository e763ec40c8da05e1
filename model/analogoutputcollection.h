#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ANALOGOUTPUT_INFO {
    int ordinal;
    std::uint16_t pointId;
    std::string name;
};

// The register-map entries that may drive an analog output, numbered in map order: pages show
// the ordinal, the unit stores the point id.
class AnalogOutputCollection {
public:
    static AnalogOutputCollection* Instance();
    static void ReleaseInstance();

    void Build();
    int GetCount() const { return static_cast<int>(items_.size()); }
    const ANALOGOUTPUT_INFO* GetItem(int ordinal) const;
    int GetOrdinalById(int pointId) const;
    int GetIdByOrdinal(int ordinal) const;

private:
    AnalogOutputCollection() = default;
    std::vector<std::unique_ptr<ANALOGOUTPUT_INFO>> items_;
};
