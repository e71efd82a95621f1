#pragma once
// The window's one common file dialog as its commands use it. The dialog keeps
// the last chosen name: an open dialog that sets no name starts with it.
#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

class frmMain;

// The chosen path, or none when cancelled. `fileName`, when given, is set
// before showing; the chosen name stays in the dialog for its next use.
std::optional<std::string> ShowCommonDialog(frmMain& form, bool save, const std::string& filter, uint32_t flags,
                                            const std::optional<std::string>& fileName = std::nullopt);

inline constexpr uint32_t kOpenDialogFlags = 0x82000;  // explorer, create prompt
inline constexpr uint32_t kSaveDialogFlags = 0x82002;  // explorer, create prompt, overwrite prompt

}  // namespace velkor
