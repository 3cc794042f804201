#include "RuntimeError.h"

#include "FailureTexts.h"

RuntimeError::RuntimeError(Failure failure)
    : std::runtime_error(englishText(failure).toStdString()), failure_(std::move(failure)),
      number_(runtimeErrorNumber(failure_)) {}

QString RuntimeError::text() const {
    return QString::fromStdString(what());
}

RuntimeError RuntimeError::overflow() {
    return RuntimeError(Failure{Reason::Overflow});
}

RuntimeError RuntimeError::invalidPropertyValue() {
    return RuntimeError(Failure{Reason::InvalidPropertyValue});
}
