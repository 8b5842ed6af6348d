// Folder names with their delimiter, full normalised paths, whole-file replacement, the file size
// signal and the program file with its date.
#include "shared/FilePath.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
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
    case EFBIG:
      return "the file would pass the limit on file size.";
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

bool WriteAll(int fd, const char* data, size_t size) {
  if (Injected(TReplaceStage::Write)) return false;
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Six characters for a fresh name, from the clock and a counter; the exclusive creation decides.
std::string RandomCharacters() {
  static uint64_t counter = 0;
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  uint64_t bits = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  (uint64_t(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
  std::string text;
  for (int i = 0; i < 6; ++i, bits /= 62) text += kLetters[bits % 62];
  return text;
}

// Names a file given by descriptor under a fresh name; false with errno set when it cannot.
bool LinkUnder(int fd, const std::string& name) {
  if (Injected(TReplaceStage::Link)) return false;
  // Through the process's own view of its descriptors; AT_EMPTY_PATH needs a privilege most
  // users lack.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  const int error = errno;
  if (error == EEXIST) return false;
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  errno = errno == EEXIST ? EEXIST : error;
  return false;
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

TReplacingFile::TReplacingFile(const std::string& target, const std::string& temporarySuffix,
                               const std::string& failurePrefix)
    : fSuffix(temporarySuffix), fPrefix(failurePrefix) {
  fFinal = FinalTarget(fs::path(target), failurePrefix);
  std::error_code error;
  fFolder = FullNormal(fFinal).parent_path();
  if (fs::is_directory(fFinal, error)) throw std::runtime_error(fPrefix + "a folder of that name exists.");
  if (!fs::is_directory(fFolder, error)) throw std::runtime_error(fPrefix + "the folder does not exist.");

  // The rename would replace a write-protected file, since it needs only the folder's
  // permission; the user's right to write the file itself decides.
  struct stat existing {};
  fExists = ::stat(fFinal.c_str(), &existing) == 0;
  if (fExists && ::faccessat(AT_FDCWD, fFinal.c_str(), W_OK, AT_EACCESS) != 0) {
    throw std::runtime_error(fPrefix + (errno == EACCES || errno == EPERM || errno == EROFS
                                            ? std::string("the file is write-protected.")
                                            : Reason(errno, "checking the file")));
  }
  fMode = fExists ? (existing.st_mode & 07777) : NewFileMode();
  fUid = existing.st_uid;
  fGid = existing.st_gid;

  // Without a name nothing can be left behind, whenever the process ends.
  if (Injected(TReplaceStage::Unnamed))
    fFd = -1;
  else
    fFd = ::open(fFolder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fFd < 0) {
    // A file system without unnamed files; a full disk or a read-only folder fails the named
    // creation the same way and says so there.
    CreateNamed();
  } else if (Injected(TReplaceStage::Create)) {
    const int injected = errno;
    ::close(fFd);
    fFd = -1;
    throw std::runtime_error(fPrefix + Reason(injected, "creating the file"));
  }
}

TReplacingFile::~TReplacingFile() {
  if (fFd >= 0) ::close(fFd);
  if (!fName.empty()) ::unlink(fName.c_str());
}

void TReplacingFile::KeepOwnerAndMode() {
  // The replacement keeps the permission bits (and, where allowed, the owner) of the file it
  // replaces; a new file gets the usual ones.
  ::fchmod(fFd, fMode);
  if (fExists && (fUid != ::geteuid() || fGid != ::getegid())) {
    if (::fchown(fFd, fUid, fGid) != 0) {
      // Not the owner: the group and mode still follow where they can.
      if (::fchown(fFd, static_cast<uid_t>(-1), fGid) == 0) ::fchmod(fFd, fMode);
    } else {
      ::fchmod(fFd, fMode);
    }
  }
}

void TReplacingFile::CreateNamed() {
  // O_EXCL: a file or a link already at the name is never opened, followed or truncated; a
  // fresh name each time, so a file left by a crash blocks nothing.
  std::string pattern = (fFolder / fFinal.filename()).string() + fSuffix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = Injected(TReplaceStage::Create) ? -1 : ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw std::runtime_error(fPrefix + Reason(errno, "creating the file"));
  fFd = fd;
  fName = name.data();
}

std::string TReplacingFile::Failure(int error, const char* doing) const { return fPrefix + Reason(error, doing); }

bool TReplacingFile::Write(const char* data, size_t size) { return WriteAll(fFd, data, size); }

std::string TReplacingFile::WritableName() {
  if (!fName.empty()) return fName;
  const std::string self = "/proc/self/fd/" + std::to_string(fFd);
  if (::access(self.c_str(), W_OK) == 0) return self;
  // No view of the descriptors: the library gets a named file.
  ::close(fFd);
  fFd = -1;
  CreateNamed();
  return fName;
}

void TReplacingFile::NameTheUnnamed() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = (fFolder / fFinal.filename()).string() + fSuffix + RandomCharacters();
    if (LinkUnder(fFd, name)) {
      fName = name;
      return;
    }
    if (errno != EEXIST) break;
  }
  // The file cannot be named where it is: its bytes go to a named file made for them.
  const int unnamed = fFd;
  fFd = -1;
  struct TClose {
    int Fd;
    ~TClose() { ::close(Fd); }
  } closeUnnamed{unnamed};
  CreateNamed();
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(unnamed, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw std::runtime_error(fPrefix + Reason(errno, "writing"));
    if (n == 0) break;
    if (!WriteAll(fFd, buffer, size_t(n))) throw std::runtime_error(fPrefix + Reason(errno, "writing"));
    at += n;
  }
  if (::fsync(fFd) != 0) throw std::runtime_error(fPrefix + Reason(errno, "writing"));
}

void TReplacingFile::Commit() {
  // On disk before it takes the document's name: a power loss then leaves the old or the new
  // document, never an empty one.
  if (Injected(TReplaceStage::Sync) || ::fsync(fFd) != 0) throw std::runtime_error(fPrefix + Reason(errno, "writing"));
  if (fName.empty()) NameTheUnnamed();
  KeepOwnerAndMode();
  const int fd = fFd;
  fFd = -1;
  if (::close(fd) != 0) throw std::runtime_error(fPrefix + Reason(errno, "writing"));

  if (Injected(TReplaceStage::Rename) || ::rename(fName.c_str(), fFinal.c_str()) != 0)
    throw std::runtime_error(fPrefix + Reason(errno, "replacing the file"));
  fName.clear();

  // The folder's entry too; a file system that cannot sync a folder has nothing to lose here.
  const int dir = ::open(fFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void WriteFileReplacing(const std::string& target, const std::string& bytes,
                        const std::string& temporarySuffix, const std::string& failurePrefix) {
  TReplacingFile file(target, temporarySuffix, failurePrefix);
  if (!file.Write(bytes)) throw std::runtime_error(file.Failure(errno, "writing"));
  file.Commit();
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

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
