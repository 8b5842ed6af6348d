// Folder names with their delimiter, full normalised paths, whole-file replacement and the
// program file with its date.
#include "shared/FilePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace shared {

namespace fs = std::filesystem;

namespace {

// A failure injected by a test for the next replacement (stage and error number).
TReplaceStage gFailStage = TReplaceStage::None;
int gFailError = 0;

bool Injected(TReplaceStage stage) {
  if (gFailStage != stage) return false;
  gFailStage = TReplaceStage::None;
  errno = gFailError;
  return true;
}

// What the user can act on, by the system's error number.
std::string Reason(int error, const char* doing) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "there is no space left on the disk.";
    case EACCES:
    case EPERM:
      return "there is no permission to write in the folder.";
    case EROFS:
      return "the disk is read-only.";
    case ENOENT:
    case ENOTDIR:
      return "the folder does not exist.";
    default:
      return std::string(doing) + " failed: " + std::strerror(error) + ".";
  }
}

// The file a name finally stands for: symbolic links are followed, each relative to the folder
// of the link, so that a save writes the linked document and keeps the link.
fs::path FinalTarget(const fs::path& name, const std::string& failurePrefix) {
  fs::path path = name;
  std::error_code error;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
    if (hops == 40) throw std::runtime_error(failurePrefix + "too many symbolic links.");
    const fs::path to = fs::read_symlink(path, error);
    if (error) throw std::runtime_error(failurePrefix + Reason(error.value(), "following the link"));
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  return path;
}

class TTemporaryFile {
 public:
  ~TTemporaryFile() {
    if (Fd >= 0) ::close(Fd);
    if (!Name.empty()) ::unlink(Name.c_str());
  }
  int Fd = -1;
  std::string Name;
};

bool WriteAll(int fd, const std::string& bytes) {
  if (Injected(TReplaceStage::Write)) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

mode_t NewFileMode() {
  // umask can only be read by setting it; the suite saves from one thread.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

std::string DirectoryWithDelimiter(const fs::path& folder) {
  std::string name = folder.string();
  if (name.empty() || name.back() != '/') name += '/';
  return name;
}

fs::path FullNormal(const fs::path& path) {
  std::error_code error;
  fs::path full = fs::absolute(path, error);
  if (error) full = path;
  std::string normal = full.lexically_normal().string();
  // Leading slashes beyond the first are left standing by the normalisation; here they all
  // are the root.
  const size_t slashes = std::min(normal.find_first_not_of('/'), normal.size());
  if (slashes > 1) normal.erase(0, slashes - 1);
  return normal;
}

void FailNextReplacement(TReplaceStage stage, int error) {
  gFailStage = stage;
  gFailError = error;
}

void WriteFileReplacing(const std::string& target, const std::string& bytes,
                        const std::string& temporarySuffix, const std::string& failurePrefix) {
  const fs::path final = FinalTarget(fs::path(target), failurePrefix);
  std::error_code error;
  const fs::path folder = FullNormal(final).parent_path();
  if (fs::is_directory(final, error)) throw std::runtime_error(failurePrefix + "a folder of that name exists.");
  if (!fs::is_directory(folder, error)) throw std::runtime_error(failurePrefix + "the folder does not exist.");

  // The rename would replace a write-protected file, since it needs only the folder's
  // permission; the user's right to write the file itself decides.
  struct stat existing {};
  const bool exists = ::stat(final.c_str(), &existing) == 0;
  if (exists && ::faccessat(AT_FDCWD, final.c_str(), W_OK, AT_EACCESS) != 0) {
    throw std::runtime_error(failurePrefix + (errno == EACCES || errno == EPERM || errno == EROFS
                                                  ? std::string("the file is write-protected.")
                                                  : Reason(errno, "checking the file")));
  }

  // A fresh name each time: a temporary file left by a crash blocks nothing.
  TTemporaryFile temporary;
  std::string pattern = (folder / final.filename()).string() + temporarySuffix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  temporary.Fd = Injected(TReplaceStage::Create) ? -1 : ::mkstemp(name.data());
  if (temporary.Fd < 0) throw std::runtime_error(failurePrefix + Reason(errno, "creating the file"));
  temporary.Name = name.data();

  // The replacement keeps the permission bits (and, where allowed, the owner) of the file it
  // replaces; a new file gets the usual ones.
  ::fchmod(temporary.Fd, exists ? (existing.st_mode & 07777) : NewFileMode());
  if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
    if (::fchown(temporary.Fd, existing.st_uid, existing.st_gid) != 0) {
      // Not the owner: the group and mode still follow where they can.
      if (::fchown(temporary.Fd, static_cast<uid_t>(-1), existing.st_gid) == 0)
        ::fchmod(temporary.Fd, existing.st_mode & 07777);
    } else {
      ::fchmod(temporary.Fd, existing.st_mode & 07777);
    }
  }

  if (!WriteAll(temporary.Fd, bytes)) throw std::runtime_error(failurePrefix + Reason(errno, "writing"));
  // On disk before it takes the document's name: a power loss then leaves the old or the new
  // document, never an empty one.
  if (Injected(TReplaceStage::Sync) || ::fsync(temporary.Fd) != 0)
    throw std::runtime_error(failurePrefix + Reason(errno, "writing"));
  const int fd = temporary.Fd;
  temporary.Fd = -1;
  if (::close(fd) != 0) throw std::runtime_error(failurePrefix + Reason(errno, "writing"));

  if (Injected(TReplaceStage::Rename) || ::rename(temporary.Name.c_str(), final.c_str()) != 0)
    throw std::runtime_error(failurePrefix + Reason(errno, "replacing the file"));
  temporary.Name.clear();

  // The folder's entry too; a file system that cannot sync a folder has nothing to lose here.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
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
