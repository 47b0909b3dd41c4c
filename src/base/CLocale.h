#pragma once
// Switches the calling thread to the "C" locale for its lifetime, so that the C library's
// number conversions never depend on the regional settings the windowing toolkit installs.
#include <locale.h>

class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};
