#pragma once
// Run-time errors of the system: a number, a source and a description, raised
// where the fault happens and caught by the command that started the work.
#include <stdexcept>
#include <string>

namespace velkor {

enum ErrorNumber : int {
  kErrOverflow = 6,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrCannotCreate = 17,
  kErrFileNotFound = 53,
  kErrInvalidPicture = 481,
};

class VbError : public std::runtime_error {
 public:
  VbError(int number, std::string source, std::string description);
  int Number() const { return number_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }

 private:
  int number_;
  std::string source_;
  std::string description_;
};

// The standard errors with their usual descriptions.
[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseSubscriptOutOfRange();
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseFileNotFound(const std::string& path);
[[noreturn]] void RaiseInvalidPicture(const std::string& path);

}  // namespace velkor
