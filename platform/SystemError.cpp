#include "platform/SystemError.h"

#include <cerrno>
#include <system_error>

namespace velkor::platform {

namespace {
thread_local int lastError = 0;
}

int GetLastError() { return lastError; }
void SetLastError(int code) { lastError = code; }

std::string ApiErrorText(int code) {
  if (code == 0) return {};
  return std::system_category().message(code);
}

std::string CannotWrite(const std::string& path, int code) {
  return "Cannot write " + path + (code == 0 ? std::string() : ": " + ApiErrorText(code));
}

}  // namespace velkor::platform
