#include "rules/ProgramStart.h"

#include "base/Seam.h"

#include <utility>

namespace {

Seam<ProgramStarter>& Starter() {
    static Seam<ProgramStarter> seam(StartProgramOnSystem);
    return seam;
}

} // namespace

ProgramStarter SetProgramStarter(ProgramStarter replacement) {
    return Starter().Replace(std::move(replacement));
}

StartResult StartProgram(const StartRequest& request) {
    return Starter().Current()(request);
}
