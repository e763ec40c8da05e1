#include "librarybinder.h"
#include "dialogservice.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
using InitFn = void (*)();
}

TEST(LibraryBinder, LoadsBothLibrariesFromTheProgramFolder)
{
    for (const char* file : {"libPortelle.so", "libPanekit.so"}) {
        LibraryBinder lib;
        ASSERT_TRUE(lib.load(KVT_BIN_DIR, file, {"_Initialize", "_Cleanup"})) << lib.errorString().toStdString();
        lib.entry<InitFn>("_Initialize")();
        lib.entry<InitFn>("_Cleanup")();
        EXPECT_EQ(lib.entry<InitFn>("NotBound"), nullptr);
        lib.unload();
        EXPECT_FALSE(lib.isLoaded());
    }
}

TEST(LibraryBinder, MissingFileShowsTheSystemTextThenOurs)
{
    QTemporaryDir empty;
    auto& d = testenv::dialogs();
    d.clear();
    LibraryBinder lib;
    EXPECT_FALSE(lib.load(empty.path(), "libPortelle.so", {"_Initialize"}));
    EXPECT_FALSE(lib.isLoaded());
    EXPECT_FALSE(lib.errorString().isEmpty());
    lib.reportLoadFailure();
    ASSERT_EQ(d.shown().size(), 2u);
    EXPECT_EQ(d.shown()[0].text, lib.errorString());
    EXPECT_EQ(d.shown()[1].text, "Unable to load libPortelle.so.");
}

TEST(LibraryBinder, MissingEntryIsAFailedLoad)
{
    LibraryBinder lib;
    EXPECT_FALSE(lib.load(KVT_BIN_DIR, "libPanekit.so", {"_Initialize", "NoSuchEntry"}));
    EXPECT_FALSE(lib.isLoaded());
    EXPECT_TRUE(lib.errorString().contains("NoSuchEntry"));
    EXPECT_EQ(lib.entry<InitFn>("_Initialize"), nullptr);
}

TEST(LibraryBinder, NotALibraryIsAFailedLoad)
{
    QTemporaryDir dir;
    QFile junk(QDir(dir.path()).filePath("libPanekit.so"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an ELF file");
    junk.close();
    LibraryBinder lib;
    EXPECT_FALSE(lib.load(dir.path(), "libPanekit.so", {"_Initialize"}));
    EXPECT_FALSE(lib.errorString().isEmpty());
}
