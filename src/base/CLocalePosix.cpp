#include "base/CLocale.h"

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
