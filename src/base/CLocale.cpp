#include "base/CLocale.h"

#ifdef _WIN32

// Under Italian regional settings the runtime's strtold reads "1.5" as 1 and prints a comma:
// without this the amounts would silently come out wrong.
CLocaleScope::CLocaleScope() : previousThreadMode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
    const char* numeric = setlocale(LC_NUMERIC, nullptr);
    previousNumeric_ = numeric != nullptr ? numeric : "C";
    setlocale(LC_NUMERIC, "C");
}

CLocaleScope::~CLocaleScope() {
    setlocale(LC_NUMERIC, previousNumeric_.c_str());
    if (previousThreadMode_ == _DISABLE_PER_THREAD_LOCALE)
        _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
}

#else

namespace {
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}
} // namespace

CLocaleScope::CLocaleScope() : previous_(uselocale(CLocale())) {}

CLocaleScope::~CLocaleScope() {
    uselocale(previous_);
}

#endif
