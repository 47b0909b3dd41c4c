#pragma once
// A dialog that tests put a function of their own in place of: the function in use is the real
// dialog until it is replaced, and again after an empty replacement.
#include <utility>

template <class Function> class DialogSeam {
public:
    explicit DialogSeam(Function dialog) : dialog_(dialog), current_(std::move(dialog)) {}

    // Returns the function it replaces.
    Function Replace(Function replacement) {
        Function previous = std::move(current_);
        current_ = replacement ? std::move(replacement) : dialog_;
        return previous;
    }

    const Function& Current() const { return current_; }

private:
    Function dialog_;
    Function current_;
};
