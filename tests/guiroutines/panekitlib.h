#pragma once

#include "librarybinder.h"
#include "panekit_api.h"

#include <gtest/gtest.h>
#include <iterator>

// The real libPanekit.so from the build's program folder, bound once per test binary.
inline LibraryBinder& panekitLibrary()
{
    static LibraryBinder lib;
    if (!lib.isLoaded()) {
        const std::vector<const char*> entries = {"_Initialize",
                                                  "_Cleanup",
                                                  "EnableGroup",
                                                  "DisableGroup",
                                                  "LocalStatusBarMsg",
                                                  "CharArr2AnsiString",
                                                  "DoMyBroadcast",
                                                  "FormatFlt",
                                                  "GetHelpContextTORVA",
                                                  "TimestampTokenToDate",
                                                  "DateToTimestampToken",
                                                  "IsUpdateMode",
                                                  "IsFactoryMode",
                                                  "msec2secA",
                                                  "secA2msec",
                                                  "samp2secA",
                                                  "secA2samp",
                                                  "GetIniFile",
                                                  "RequestPoll",
                                                  "RequestRead",
                                                  "StdDevAndMean",
                                                  "GetDUTDescriptions",
                                                  "GetUnitDescriptions",
                                                  "GetDUTDesc",
                                                  "GetUnitsDesc",
                                                  "UnitConvert"};
        EXPECT_TRUE(lib.load(KVT_BIN_DIR, "libPanekit.so", entries)) << lib.errorString().toStdString();
    }
    return lib;
}

template <typename Fn>
Fn panekitEntry(const char* name)
{
    Fn fn = panekitLibrary().entry<Fn>(name);
    EXPECT_NE(fn, nullptr) << name;
    return fn;
}
