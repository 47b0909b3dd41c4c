#include "page/PrintSystem.h"

#include "base/Seam.h"

#include <mutex>
#include <utility>

// The platform's own print system: each platform's file of this layer makes it (the build
// chooses the file).
std::shared_ptr<PrintSystem> MakePlatformPrintSystem();

namespace {

// A print may ask from a worker thread while a test puts its stand-in in.
std::mutex& PrintSystemMutex() {
    static std::mutex mutex;
    return mutex;
}

Seam<std::shared_ptr<PrintSystem>>& PrintSystemSeam() {
    static Seam<std::shared_ptr<PrintSystem>> seam(MakePlatformPrintSystem());
    return seam;
}

} // namespace

std::shared_ptr<PrintSystem> CurrentPrintSystem() {
    const std::lock_guard lock(PrintSystemMutex());
    return PrintSystemSeam().Current();
}

std::shared_ptr<PrintSystem> SetPrintSystem(std::shared_ptr<PrintSystem> replacement) {
    const std::lock_guard lock(PrintSystemMutex());
    return PrintSystemSeam().Replace(std::move(replacement));
}
