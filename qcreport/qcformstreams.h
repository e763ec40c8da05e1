#pragma once

// The row titles of the QC form's grids and the captions of its stream tabs' repeated rows.

#include <array>

namespace qcreport {

extern const std::array<const char*, 3> kCustomerRows;
extern const std::array<const char*, 7> kVersionRows;
extern const std::array<const char*, 9> kGlobalSettingRows;
extern const std::array<const char*, 14> kOutputRows;
extern const std::array<const char*, 8> kStreamTSCRows;
extern const std::array<const char*, 6> kAlarmSetpointRows;

struct AlarmRowCaption {
    const char* box;  // '%' is the stream digit
    const char* caption;
    bool relayReadOnly;
    bool tickedInDesign;
};
extern const std::array<AlarmRowCaption, 6> kAlarmRows;

}  // namespace qcreport
