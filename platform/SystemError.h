#pragma once
// The operating system's last-error code and its message text.
#include <string>

namespace velkor::platform {

int GetLastError();
void SetLastError(int code);
// The system's message for an error code (the text the user sees in messages).
std::string ApiErrorText(int code);
// "Cannot write <path>: <the system's message for code>" (no cause for 0).
std::string CannotWrite(const std::string& path, int code);

}  // namespace velkor::platform
