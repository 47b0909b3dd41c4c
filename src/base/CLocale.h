#pragma once
// Switches the calling thread to the "C" locale for its lifetime, so that the C library's
// number conversions never depend on the regional settings the windowing toolkit installs.
#include <locale.h>

#ifdef _WIN32
#include <string>
#endif

class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
#ifdef _WIN32
    // The Windows C runtime has no per-thread locale objects: the thread is given a locale of
    // its own, set to "C" for numbers, and both are put back on exit.
    int previousThreadMode_;
    std::string previousNumeric_;
#else
    locale_t previous_;
#endif
};
