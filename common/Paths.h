#pragma once
// Path helpers. Both '\' and '/' count as separators; new paths are joined
// with the native separator.
#include <string>

namespace velkor {

inline constexpr char kPathSeparator = '/';

// The folder part of a path: the text before its last separator, or "" when
// that separator is the first or second character or there is none
// (C:\a\b.bmp -> C:\a, C:\b.bmp -> C:, car.bmp and \car.bmp -> "").
std::string GetFolderName(const std::string& path);

// The file name after the last separator, cut before its first '.'
// (C:\x\car.blue.bmp -> car, C:\x.y\file -> file, C:\x\.bmp -> "").
std::string GetBaseName(const std::string& path);

// The path's folder and base name with `extension` (C:\x\car.blue.bmp and
// ".png" -> C:\x\car.png): the name of a file written beside another.
std::string PathWithExtension(const std::string& path, const std::string& extension);

// folder + native separator + name.
std::string JoinPath(const std::string& folder, const std::string& name);

// Leading and trailing blanks removed (spaces only), as the text boxes are read.
std::string Trim(const std::string& text);

}  // namespace velkor
