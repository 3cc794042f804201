#pragma once
// A runtime error as the forms runtime raises it: a failure with its number, thrown as an exception
// whose what() is the failure's English text.

#include "Failure.h"

#include <QString>

#include <stdexcept>

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(Failure failure);

    int number() const { return number_; }
    const Failure& failure() const { return failure_; }
    Reason reason() const { return failure_.reason; }
    // The English text, as the command prints it.
    QString text() const;

    static RuntimeError overflow();             // 6 "Overflow"
    static RuntimeError invalidPropertyValue(); // 380 "Invalid property value"

private:
    Failure failure_;
    int number_;
};
