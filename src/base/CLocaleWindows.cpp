#include "base/CLocale.h"

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
