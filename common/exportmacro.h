#pragma once

// Entries the program binds by name: C linkage, default visibility, nothing else leaves a library.
#define KVT_EXPORT extern "C" __attribute__((visibility("default")))
