// A stand-in PDF library for the loader's tests: it has DPLCreateLibrary (unless built with
// STUB_NO_CREATE), DPLReleaseLibrary, DPLSetPageSize and DPLDrawText, and lacks every other
// entry. Each call is appended to the file named by QCPDF_STUB_LOG; the id it creates is
// QCPDF_STUB_ID (7 when unset).

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void log(const std::string& line)
{
    const char* path = std::getenv("QCPDF_STUB_LOG");
    if (!path)
        return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

// The UTF-16 units as hexadecimal, so the test sees exactly what arrived.
std::string units(const char16_t* text)
{
    std::string out;
    char buf[8];
    for (; text && *text; ++text) {
        std::snprintf(buf, sizeof buf, "%04X ", unsigned(*text));
        out += buf;
    }
    return out;
}

}  // namespace

#define STUB_API extern "C" __attribute__((visibility("default")))

#ifndef STUB_NO_CREATE
STUB_API int DPLCreateLibrary()
{
    const char* id = std::getenv("QCPDF_STUB_ID");
    const int value = id ? std::atoi(id) : 7;
    log("create " + std::to_string(value));
    return value;
}
#endif

STUB_API int DPLReleaseLibrary(int instance)
{
    log("release " + std::to_string(instance));
    return 1;
}

STUB_API int DPLSetPageSize(int instance, const char16_t* name)
{
    log("pagesize " + std::to_string(instance) + " " + units(name));
    return 1;
}

STUB_API int DPLDrawText(int instance, double x, double y, const char16_t* text)
{
    log("text " + std::to_string(instance) + " " + std::to_string(int(x)) + " " + std::to_string(int(y)) + " " +
        units(text));
    return 1;
}
