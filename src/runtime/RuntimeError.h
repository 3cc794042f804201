#pragma once
// A runtime error as the forms runtime raises it: a number and a text, thrown as an exception.

#include <QString>

#include <stdexcept>

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& text);

    int number() const { return number_; }
    const QString& text() const { return text_; }

    static RuntimeError overflow();             // 6 "Overflow"
    static RuntimeError invalidPropertyValue(); // 380 "Invalid property value"

private:
    int number_;
    QString text_;
};

namespace ErrorNumber {
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int FileNotFound = 53;
constexpr int DeviceIOError = 57;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int InvalidPicture = 481;
} // namespace ErrorNumber
