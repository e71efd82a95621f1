#pragma once
// The key codes the window's handlers receive (Form_KeyDown), whatever the
// toolkit's own codes are.
namespace velkor {

inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

}  // namespace velkor
