#include "dialogservice.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Whether a file name gtest recorded is one of the named sources (paths from the project's root).
bool definedIn(const char* file, const std::vector<std::string>& sources)
{
    const std::string path = file ? file : "";
    for (const std::string& source : sources) {
        if (path == source)
            return true;
        if (path.size() > source.size() && path.compare(path.size() - source.size(), source.size(), source) == 0 &&
            path[path.size() - source.size() - 1] == '/')
            return true;
    }
    return false;
}

// gtest's own pattern rule: '*' any run of characters, '?' one character.
bool globMatches(const char* pattern, const char* text)
{
    if (*pattern == '\0')
        return *text == '\0';
    if (*pattern == '*')
        return globMatches(pattern + 1, text) || (*text != '\0' && globMatches(pattern, text + 1));
    return *text != '\0' && (*pattern == '?' || *pattern == *text) && globMatches(pattern + 1, text + 1);
}

bool anyMatches(const std::string& patterns, const std::string& name)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(':', start);
        if (end == std::string::npos)
            end = patterns.size();
        if (globMatches(patterns.substr(start, end - start).c_str(), name.c_str()))
            return true;
        start = end + 1;
    }
    return false;
}

// Whether a test passes a filter given on the command line (positive patterns, then '-' negative).
bool passesFilter(const std::string& filter, const std::string& name)
{
    const size_t dash = filter.find('-');
    const std::string positive = dash == std::string::npos ? filter : filter.substr(0, dash);
    const std::string negative = dash == std::string::npos ? std::string() : filter.substr(dash + 1);
    return (positive.empty() || anyMatches(positive, name)) && (negative.empty() || !anyMatches(negative, name));
}

// One program holds the tests of an area; a group runs only the tests its own sources define
// (--kvt-sources=a_test.cpp,b_test.cpp): a whole suite where all of it is the group's, else its
// tests by name. A group that selects nothing, or names a test source that defines nothing, fails.
bool selectGroup(const std::vector<std::string>& sources)
{
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    const std::string userFilter = GTEST_FLAG_GET(filter);
    std::map<std::string, int> perSource;
    std::string filter;
    int selected = 0;
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const testing::TestSuite& suite = *unit.GetTestSuite(s);
        std::vector<std::string> names;
        int ours = 0;
        for (int t = 0; t < suite.total_test_count(); ++t) {
            const testing::TestInfo& info = *suite.GetTestInfo(t);
            if (!definedIn(info.file(), sources))
                continue;
            ++ours;
            for (const std::string& source : sources)
                if (definedIn(info.file(), {source}))
                    ++perSource[source];
            const std::string name = std::string(suite.name()) + "." + info.name();
            if (passesFilter(userFilter, name))
                names.push_back(name);
        }
        if (names.empty())
            continue;
        selected += int(names.size());
        if (!filter.empty())
            filter += ':';
        if (ours == suite.total_test_count() && int(names.size()) == ours) {
            filter += std::string(suite.name()) + ".*";
            continue;
        }
        for (size_t i = 0; i < names.size(); ++i)
            filter += (i ? ":" : "") + names[i];
    }
    bool ok = true;
    for (const std::string& source : sources) {
        if (perSource[source] == 0) {
            std::fprintf(stderr, "testmain: %s defines no test of this program\n", source.c_str());
            ok = false;
        }
    }
    if (selected == 0) {
        std::fprintf(stderr, "testmain: no test selected for --kvt-sources\n");
        ok = false;
    }
    GTEST_FLAG_SET(filter, filter);
    return ok;
}

// Takes --kvt-sources=<list> out of the arguments; false when it is absent.
bool takeSources(int& argc, char** argv, std::vector<std::string>& sources)
{
    static const char kOption[] = "--kvt-sources=";
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOption, sizeof kOption - 1) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        found = true;
        std::string list = argv[i] + sizeof kOption - 1;
        size_t start = 0;
        while (start < list.size()) {
            size_t end = list.find(',', start);
            if (end == std::string::npos)
                end = list.size();
            if (end > start)
                sources.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    argv[kept] = nullptr;
    argc = kept;
    return found;
}

}  // namespace

// Every test process runs against its own settings and data folders and a scripted dialog
// service, so nothing blocks on a window and nothing touches the user's files.
int main(int argc, char** argv)
{
    std::vector<std::string> sources;
    const bool group = takeSources(argc, argv, sources);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogService dialogs;
    DialogService::install(&dialogs);
    ::testing::InitGoogleTest(&argc, argv);
    if (group && !selectGroup(sources)) {
        DialogService::install(nullptr);
        return 1;
    }
    const int rc = RUN_ALL_TESTS();
    DialogService::install(nullptr);
    return rc;
}
