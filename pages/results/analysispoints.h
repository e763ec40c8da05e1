#pragma once

#include "analyzer.h"

#include <array>

// The points of the analysis page's four result panels, per stream (index 0..3 for streams 1..4)
// and run type in the unit's order (analyzer::RunType, the code of point 391).
namespace analysis {

using PerRunType = std::array<int, analyzer::kRunTypes>;
using PerStream = std::array<int, analyzer::kStreams>;

// "Stream n: <run type>: Name" (text points, no control shows them).
constexpr std::array<PerRunType, analyzer::kStreams> kNamePoint{{
    {45, 611, 91, 1269, 114, 68},
    {158, 636, 204, 1295, 227, 181},
    {668, 696, 751, 1321, 781, 721},
    {818, 846, 901, 1347, 931, 871},
}};
// "Stream n: <run type> Run": the run type's schedule, which colours its last result.
constexpr std::array<PerRunType, analyzer::kStreams> kSchedulePoint{{
    {1391, 1392, 1393, 1427, 1394, 1395},
    {1396, 1397, 1398, 1428, 1399, 1400},
    {1401, 1402, 1403, 1429, 1404, 1405},
    {1406, 1407, 1408, 1430, 1409, 1410},
}};
// "Stream n: <run type> Reading": the last result.
constexpr std::array<PerRunType, analyzer::kStreams> kLastResultPoint{{
    {450, 1083, 452, 1411, 453, 451},
    {454, 1084, 456, 1412, 457, 455},
    {1085, 1086, 1088, 1413, 1089, 1087},
    {1090, 1091, 1093, 1414, 1094, 1092},
}};
constexpr PerStream kGainPoint{21, 134, 656, 806};
constexpr PerStream kZeroOffsetPoint{22, 135, 657, 807};
constexpr PerStream kUnitsPoint{463, 408, 655, 805};

// The controls' names: prefix, then the stream digit (last results) or as built by the page.
constexpr std::array<const char*, analyzer::kRunTypes> kLastResultControl{
    "edtLastNormal", "edtLastTotalSulphur", "edtLastRef", "edtLastRef2", "edtLastZero", "edtLastCal"};
// "edtStream<n><word>SCH"
constexpr std::array<const char*, analyzer::kRunTypes> kScheduleWord{"Normal", "TotalSulphur", "Ref",
                                                                     "Ref2",   "Zero",         "Cal"};
// The hidden schedule fields' captions: the stream digit and this suffix.
constexpr std::array<const char*, analyzer::kRunTypes> kScheduleCaption{"NS", "TS", "RS", "R2S", "ZS", "CS"};
// The result panel's captions, top to bottom (the run-type code order).
constexpr std::array<const char*, analyzer::kRunTypes> kResultCaption{"H2S",        "Total Sulphur", "Reference1",
                                                                      "Reference2", "Zero",          "Calibration"};

// Other points of the page.
constexpr int kUnitTime = 388;
constexpr int kRunType = 391;
constexpr int kStreamPoint = 392;
constexpr int kRunNumber = 393;
constexpr int kTotalRuns = 394;
constexpr int kAnalysisState = 402;
constexpr int kSystemAlarm = 407;
constexpr int kStreamsCount = 20;
constexpr int kRunCounter = 29;
constexpr int kSequencerState = 1431;

}  // namespace analysis
