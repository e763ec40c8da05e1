#include "exportmacro.h"

KVT_EXPORT void _Initialize() {}

KVT_EXPORT void _Cleanup() {}
