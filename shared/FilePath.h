// File-name helpers of the suite: folder names written with their trailing delimiter, and full
// normalised paths.
#pragma once

#include <filesystem>
#include <string>

namespace shared {

// The folder's name ending in one "/"; the root and an empty name give "/".
std::string DirectoryWithDelimiter(const std::filesystem::path& folder);

// The path made absolute against the working folder, "." and ".." resolved; the path itself,
// normalised, when no working folder can be had.
std::filesystem::path FullNormal(const std::filesystem::path& path);

}  // namespace shared
