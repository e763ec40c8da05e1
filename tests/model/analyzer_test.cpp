// The unit's vocabulary against its register map.
#include "analyzer.h"
#include "ridovaz.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

TEST(Analyzer, EachRunRequestPointIsNamedForItsStreamAndRunTypeAndNoOtherPointIsOne)
{
    Ridovaz17041417 map;
    std::map<int, std::string> names;
    for (int i = 0; i < map.GetCount(); ++i)
        names[map.GetPointId(static_cast<std::uint16_t>(i))] = map.GetName(static_cast<std::uint16_t>(i));
    for (int s = 1; s <= analyzer::kStreams; ++s)
        for (int r = 0; r < analyzer::kRunTypes; ++r) {
            const auto run = static_cast<analyzer::RunType>(r);
            EXPECT_EQ(names[analyzer::runRequestPoint(s, run)],
                      "Stream " + std::to_string(s) + ": " + analyzer::runTypeName(run) + " Request");
        }
    int requests = 0;
    for (int id = -1; id <= 0x10000; ++id)
        requests += analyzer::isRunRequestPoint(id) ? 1 : 0;
    EXPECT_EQ(requests, analyzer::kStreams * analyzer::kRunTypes);
}

TEST(Analyzer, TheStreamsPageListsEveryRunTypeOnce)
{
    for (int i = 0; i < analyzer::kRunTypes; ++i)
        EXPECT_EQ(analyzer::streamsPageIndex(analyzer::kStreamsPageOrder[static_cast<std::size_t>(i)]), i);
    EXPECT_EQ(analyzer::streamsPageIndex(analyzer::Calibration), 2);
    EXPECT_STREQ(analyzer::runTypeText(analyzer::Calibration), "Calibrate");
    EXPECT_STREQ(analyzer::runTypeText(analyzer::Reference2), "Reference 2");
}
