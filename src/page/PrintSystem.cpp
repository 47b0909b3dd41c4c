#include "page/PrintSystem.h"

#include "base/Seam.h"

#include <mutex>
#include <utility>

// The platform's own print system, made in its platform file.
std::shared_ptr<PrintSystem> MakePlatformPrintSystem();

namespace {

// Followers ask for the print system on threads of their own.
std::mutex SystemLock;

Seam<std::shared_ptr<PrintSystem>>& System() {
    static Seam<std::shared_ptr<PrintSystem>> system(MakePlatformPrintSystem());
    return system;
}

} // namespace

std::shared_ptr<PrintSystem> CurrentPrintSystem() {
    const std::lock_guard lock(SystemLock);
    return System().Current();
}

std::shared_ptr<PrintSystem> SetPrintSystem(std::shared_ptr<PrintSystem> replacement) {
    const std::lock_guard lock(SystemLock);
    return System().Replace(std::move(replacement));
}
