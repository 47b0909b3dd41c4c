// One libFuzzer entry for each check of FuzzChecks.h; the build names the check in
// QUOTARIO_FUZZ_CHECK. A broken promise stops the run with its reason, so libFuzzer keeps the
// input as a crash.
#include "fuzz/FuzzChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        QUOTARIO_FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const FuzzCheckFailure& failure) {
        std::fprintf(stderr, "check failed: %s\n", failure.what());
        std::abort();
    }
    return 0;
}
