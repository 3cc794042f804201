#include "RuntimeError.h"

RuntimeError::RuntimeError(int number, const QString& text)
    : std::runtime_error(text.toStdString()), number_(number), text_(text) {}

RuntimeError RuntimeError::overflow() {
    return {ErrorNumber::Overflow, QStringLiteral("Overflow")};
}

RuntimeError RuntimeError::invalidPropertyValue() {
    return {ErrorNumber::InvalidPropertyValue, QStringLiteral("Invalid property value")};
}
