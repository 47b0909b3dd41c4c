#pragma once
// The one way the program includes the Windows API: without the min and max macros, which clash
// with the standard library, and without the rarely used parts.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
