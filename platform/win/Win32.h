#pragma once

// The Windows API as this layer uses it: wide-character calls only, without the min/max
// macros that would clash with the standard library.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
