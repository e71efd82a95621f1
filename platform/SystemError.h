#pragma once
// The operating system's last-error code and its message text.
#include <string>

namespace velkor::platform {

int GetLastError();
void SetLastError(int code);
// The system's message for an error code (the text the user sees in messages).
std::string ApiErrorText(int code);

}  // namespace velkor::platform
