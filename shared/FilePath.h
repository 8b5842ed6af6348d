// File helpers of the suite: folder names written with their trailing delimiter, full
// normalised paths, files replaced only whole, and the program file with its date.
#pragma once

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

// Writes the bytes to target through a fresh temporary file (target + temporarySuffix + six
// random characters) beside it, synced to disk, and renames that into place only when it is
// complete, so a failure keeps what was there and leaves no temporary file. A symbolic link is
// followed and its target written; a replaced file keeps its permission bits; a file the user
// may not write is refused. Raises std::runtime_error: failurePrefix followed by the reason
// ("the folder does not exist.", "the file is write-protected.", "there is no space left on the
// disk.", ...).
void WriteFileReplacing(const std::string& target, const std::string& bytes,
                        const std::string& temporarySuffix, const std::string& failurePrefix);

// The running program's file; empty when it cannot be found.
std::filesystem::path ProgramFile();

// The file's modification date in the short form of the user's locale (LC_TIME), as the About
// box shows it; "" when the file has no date.
std::string ShortFileDate(const std::filesystem::path& file);

// For tests: the next replacement fails at the stage with the error number, as the system would
// report it (a full disk, no free inode), and takes the same way out as a real failure.
enum class TReplaceStage { None, Create, Write, Sync, Rename };
void FailNextReplacement(TReplaceStage stage, int error);

}  // namespace shared
