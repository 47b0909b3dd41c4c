#pragma once
// A stand-in put through one of the program's seams (SetMessagePresenter, SetPdfFileChooser,
// SetProgramStarter, ...) for the life of this object; the function it replaced comes back after.
#include <utility>

template <class Function> class StandIn {
public:
    using Setter = Function (*)(Function);

    StandIn(Setter set, Function standIn) : set_(set), replaced_(set(std::move(standIn))) {}
    ~StandIn() { set_(std::move(replaced_)); }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

private:
    Setter set_;
    Function replaced_;
};
