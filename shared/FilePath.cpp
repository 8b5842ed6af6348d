// Folder names with their delimiter, full normalised paths, whole-file replacement and the
// program file with its date.
#include "shared/FilePath.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <stdexcept>
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

void WriteFileReplacing(const std::string& target, const std::string& bytes,
                        const std::string& temporarySuffix, const std::string& failurePrefix) {
  namespace fs = std::filesystem;
  const fs::path targetPath(target);
  std::error_code error;
  if (fs::is_directory(targetPath, error))
    throw std::runtime_error(failurePrefix + "a folder of that name exists.");
  const fs::path temporary(target + temporarySuffix);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      const bool folderExists = fs::is_directory(FullNormal(targetPath).parent_path(), error);
      throw std::runtime_error(failurePrefix + "the folder " +
                               (folderExists ? "is not writable." : "does not exist."));
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      throw std::runtime_error(failurePrefix + "writing failed (disk full?).");
    }
  }
  fs::rename(temporary, targetPath, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw std::runtime_error(failurePrefix + error.message() + ".");
  }
}

std::filesystem::path ProgramFile() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : exe;
}

std::string ShortFileDate(const std::filesystem::path& file) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(file, error);
  if (error) return "";
  const std::time_t time = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  const std::tm* local = std::localtime(&time);
  if (!local) return "";
  char text[64];
  return std::strftime(text, sizeof text, "%x", local) ? std::string(text) : std::string();
}

}  // namespace shared
