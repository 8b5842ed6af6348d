// File helpers of the suite: folder names written with their trailing delimiter, full
// normalised paths, files replaced only whole, and the program file with its date.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace shared {

// A regular file of that name is there (not a folder or device); an empty name or a name that
// cannot be looked at gives false.
bool IsFile(const std::string& path);

// The folder's name ending in one "/"; the root and an empty name give "/".
std::string DirectoryWithDelimiter(const std::filesystem::path& folder);

// The path made absolute against the working folder, "." and ".." resolved; the path itself,
// normalised, when no working folder can be had.
std::filesystem::path FullNormal(const std::filesystem::path& path);

// A file that takes the place of target only when it is whole. It is written without a name in
// the target's folder where the file system allows (else under a fresh name made there
// exclusively, target + temporarySuffix + six random characters, never through a link or over a
// file already there), synced to disk, and renamed onto target by Commit. Whatever fails, and
// also when the process dies on the way, target stays as it was and no file is left beside it
// (short of a death in the instant between naming the whole file and the rename). A symbolic
// link at target is followed and its target written; a replaced file keeps its permission bits;
// a file the user may not write is refused. Failures raise std::runtime_error: failurePrefix
// followed by the reason ("the folder does not exist.", "the file is write-protected.", "there is
// no space left on the disk.", ...).
class TReplacingFile {
 public:
  TReplacingFile(const std::string& target, const std::string& temporarySuffix, const std::string& failurePrefix);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  // False with errno set when the bytes could not all be written.
  bool Write(const char* data, size_t size);
  bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
  // A name under which a library that writes by name can open the file, truncating it.
  std::string WritableName();
  // Syncs the file and renames it onto the target; raises as above.
  void Commit();
  // failurePrefix followed by the reason for the error number.
  std::string Failure(int error, const char* doing) const;

 private:
  void CreateNamed();
  void NameTheUnnamed();
  void KeepOwnerAndMode();
  std::filesystem::path fFinal, fFolder;
  std::string fSuffix, fPrefix;
  int fFd = -1;
  // Empty while the file has no name.
  std::string fName;
  bool fExists = false;
  unsigned fMode = 0, fUid = 0, fGid = 0;
};

// Writes the bytes to target through a TReplacingFile.
void WriteFileReplacing(const std::string& target, const std::string& bytes,
                        const std::string& temporarySuffix, const std::string& failurePrefix);

// A write beyond the process's limit on file size then fails with EFBIG, which every save
// reports, instead of ending the process with SIGXFSZ in the middle of a save. Both programs and
// the host tools call it first thing.
void IgnoreFileSizeSignal();

// The running program's file; empty when it cannot be found.
std::filesystem::path ProgramFile();

// The file's modification date in the short form of the user's locale (LC_TIME), as the About
// box shows it; "" when the file has no date.
std::string ShortFileDate(const std::filesystem::path& file);

// For tests: the next replacement fails at the stage with the error number, as the system would
// report it (a full disk, no free inode), and takes the same way out as a real failure. Unnamed
// and Link fail only the unnamed file's creation or naming, which the replacement then works
// around (a named file, a copy under a fresh name).
enum class TReplaceStage { None, Unnamed, Create, Write, Sync, Link, Rename };
void FailNextReplacement(TReplaceStage stage, int error);

}  // namespace shared
