// Folder names with their delimiter and full normalised paths.
#include "shared/FilePath.h"

#include <system_error>

namespace shared {

std::string DirectoryWithDelimiter(const std::filesystem::path& folder) {
  std::string name = folder.string();
  if (name.empty() || name.back() != '/') name += '/';
  return name;
}

std::filesystem::path FullNormal(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  return full.lexically_normal();
}

}  // namespace shared
