#pragma once

#include "ridovaz.h"

#include <string>

// The register map's name of a point id, or "" for an id the map does not hold.
inline std::string registerName(int pointId)
{
    Ridovaz17041417 map;
    for (int i = 0; i < map.GetCount(); ++i)
        if (map.GetPointId(static_cast<std::uint16_t>(i)) == pointId)
            return map.GetName(static_cast<std::uint16_t>(i));
    return {};
}
