#include "common/VbError.h"

namespace velkor {

VbError::VbError(int number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? "error " + std::to_string(number) : description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

void RaiseOverflow() { throw VbError(kErrOverflow, "Velkor", "Overflow"); }
void RaiseSubscriptOutOfRange() { throw VbError(kErrSubscript, "Velkor", "Subscript out of range"); }
void RaiseDivisionByZero() { throw VbError(kErrDivisionByZero, "Velkor", "Division by zero"); }
void RaiseFileNotFound(const std::string& path) {
  throw VbError(kErrFileNotFound, "Velkor", path + ": File not found");
}
void RaiseInvalidPicture(const std::string& path) {
  throw VbError(kErrInvalidPicture, "Velkor", path + ": Invalid picture");
}

}  // namespace velkor
