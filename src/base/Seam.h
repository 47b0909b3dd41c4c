#pragma once
// The one way tests stand in for what the program does outside itself (a dialog, a message box,
// the browser, another program): the program calls a function through a seam, which calls the
// real function until a test replaces it, and the real one again after an empty replacement.
// Each seam is offered as "Previous SetX(X replacement)", so a test puts back what it replaced.
#include <utility>

template <class Function> class Seam {
public:
    explicit Seam(Function real) : real_(real), current_(std::move(real)) {}

    // Returns the function it replaces.
    Function Replace(Function replacement) {
        Function previous = std::move(current_);
        current_ = replacement ? std::move(replacement) : real_;
        return previous;
    }

    const Function& Current() const { return current_; }

private:
    Function real_;
    Function current_;
};
