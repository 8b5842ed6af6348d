// Whole-file replacement: what a save keeps of the file it replaces (permission bits, symbolic
// links, write protection), what it says when the disk, the folder or a file size limit refuses,
// and that nothing stays beside the target when it fails or the process dies in it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>
#include <algorithm>

#include "shared/FilePath.h"
#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

class FilePathTest : public shared::test::TTempFolderTest {
 protected:
  FilePathTest() : TTempFolderTest("filepath") {}

  // Raises with the prefix, or returns "".
  std::string Replace(const fs::path& target, const std::string& bytes) {
    try {
      shared::WriteFileReplacing(target.string(), bytes, ".~saving", "Cannot save: ");
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }

  int EntriesIn(const fs::path& folder) const {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Whether the folder's file system makes files without a name.
  bool HasUnnamedFiles() const {
    const int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
  }

  static mode_t Mode(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
  }
};

TEST_F(FilePathTest, OnlyARegularFileIsAFile) {
  const fs::path file = dir / "a.txt";
  WriteBytes(file, "x");
  fs::create_symlink(file, dir / "link");
  const struct {
    std::string Path;
    bool File;
  } cases[] = {{file.string(), true},   {(dir / "link").string(), true}, {dir.string(), false},
               {"/dev/null", false},     {(dir / "none").string(), false}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(shared::IsFile(c.Path), c.File) << c.Path;
}

TEST_F(FilePathTest, ReplacementKeepsThePermissionBits) {
  for (const mode_t mode : {0600, 0640, 0604, 0755}) {
    const fs::path file = dir / "doc.mech";
    WriteBytes(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    EXPECT_EQ(Replace(file, "new"), "");
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(Mode(file), mode) << std::oct << mode;
    EXPECT_EQ(EntriesIn(dir), 1);
  }
  // A new file gets what the process's mask leaves of rw for everyone, not the 0600 of a
  // temporary file.
  const mode_t mask = ::umask(022);
  const fs::path fresh = dir / "fresh.mech";
  EXPECT_EQ(Replace(fresh, "x"), "");
  ::umask(mask);
  EXPECT_EQ(Mode(fresh), 0644u);
}

TEST_F(FilePathTest, SymbolicLinksAreFollowedAndKept) {
  fs::create_directories(dir / "real");
  const fs::path document = dir / "real" / "doc.mech";
  WriteBytes(document, "old");
  // A relative link, a link to that link, and a link to a document not yet written.
  fs::create_symlink("real/doc.mech", dir / "link.mech");
  fs::create_symlink(dir / "link.mech", dir / "link2.mech");
  fs::create_symlink("real/new.mech", dir / "dangling.mech");
  const struct {
    fs::path through;
    fs::path written;
  } cases[] = {{dir / "link.mech", document}, {dir / "link2.mech", document}, {dir / "dangling.mech", dir / "real" / "new.mech"}};
  for (const auto& c : cases) {
    const std::string bytes = "via " + c.through.filename().string();
    EXPECT_EQ(Replace(c.through, bytes), "");
    EXPECT_TRUE(fs::is_symlink(c.through)) << c.through;
    EXPECT_EQ(ReadBytes(c.written), bytes);
    EXPECT_EQ(EntriesIn(dir / "real"), c.written == document ? 1 : 2);
  }
  // A loop of links is refused, not followed forever.
  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  EXPECT_EQ(Replace(dir / "loop1", "x"), "Cannot save: too many symbolic links.");
}

TEST_F(FilePathTest, StaleTemporaryFilesBlockNothing) {
  const fs::path file = dir / "doc.mech";
  WriteBytes(file, "old");
  WriteBytes(dir / "doc.mech.~saving", "left by a crash");
  fs::create_directory(dir / "doc.mech.~savingXXXXXX");
  EXPECT_EQ(Replace(file, "new"), "");
  EXPECT_EQ(ReadBytes(file), "new");
  EXPECT_EQ(ReadBytes(dir / "doc.mech.~saving"), "left by a crash");
  EXPECT_EQ(EntriesIn(dir), 3);
}

// The failures the system reports, injected where they happen: the old document stays, no
// temporary file stays, and the message says what went wrong.
TEST_F(FilePathTest, FailuresSayWhatFailedAndKeepTheOldDocument) {
  using shared::TReplaceStage;
  const struct {
    TReplaceStage stage;
    int error;
    const char* message;
  } cases[] = {
      {TReplaceStage::Create, ENOSPC, "Cannot save: there is no space left on the disk."},  // no free inode
      {TReplaceStage::Write, ENOSPC, "Cannot save: there is no space left on the disk."},
      {TReplaceStage::Write, EDQUOT, "Cannot save: there is no space left on the disk."},
      {TReplaceStage::Sync, EIO, "Cannot save: writing failed: Input/output error."},
      {TReplaceStage::Create, EACCES, "Cannot save: there is no permission to write in the folder."},
      {TReplaceStage::Create, EROFS, "Cannot save: the disk is read-only."},
      {TReplaceStage::Rename, EBUSY, "Cannot save: replacing the file failed: Device or resource busy."},
  };
  const fs::path file = dir / "doc.mech";
  for (const auto& c : cases) {
    WriteBytes(file, "old");
    shared::FailNextReplacement(c.stage, c.error);
    EXPECT_EQ(Replace(file, "new"), c.message);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(EntriesIn(dir), 1);
  }
  // The injection is used up: the next save goes through.
  EXPECT_EQ(Replace(file, "new"), "");
  EXPECT_EQ(ReadBytes(file), "new");
  EXPECT_EQ(Replace(dir / "no folder" / "doc.mech", "x"), "Cannot save: the folder does not exist.");
  EXPECT_EQ(Replace(dir, "x"), "Cannot save: a folder of that name exists.");
}

// A file the user may not write is not replaced, though the folder would allow the rename. The
// save runs in a child process as a user without rights on the file (the suite's tests may run
// as root, who may write anything).
TEST_F(FilePathTest, WriteProtectedFileIsRefusedForAUserWithoutWritePermission) {
  const fs::path file = dir / "doc.mech";
  WriteBytes(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setegid(65534) != 0 || ::seteuid(65534) != 0)) ::_exit(3);
    const std::string message = Replace(file, "new");
    ::_exit(message == "Cannot save: the file is write-protected." ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(EntriesIn(dir), 1);
}

// Until it is whole the new file has no name: the folder shows only the old document, which stays
// as it was however the save ends. A library that writes by name reaches it too.
TEST_F(FilePathTest, TheNewFileHasNoNameUntilItIsWhole) {
  if (!HasUnnamedFiles()) GTEST_SKIP() << "the file system of " << dir << " makes no unnamed files";
  const fs::path file = dir / "doc.mech";
  WriteBytes(file, "old");
  {
    shared::TReplacingFile replacing(file.string(), ".~saving", "Cannot save: ");
    ASSERT_TRUE(replacing.Write("half"));
    EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
    EXPECT_EQ(ReadBytes(file), "old");
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
  EXPECT_EQ(ReadBytes(file), "old");

  shared::TReplacingFile replacing(file.string(), ".~saving", "Cannot save: ");
  const std::string name = replacing.WritableName();
  EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
  std::FILE* library = std::fopen(name.c_str(), "wb");
  ASSERT_NE(library, nullptr) << name;
  std::fputs("by name", library);
  std::fclose(library);
  replacing.Commit();
  EXPECT_EQ(ReadBytes(file), "by name");
  EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
}

// A file system without unnamed files, or one where the unnamed file cannot be named: a fresh
// name made exclusively beside the target, never a file or link already there, gone on failure.
TEST_F(FilePathTest, WithoutUnnamedFilesAFreshNameIsMadeBesideTheTarget) {
  using shared::TReplaceStage;
  const fs::path file = dir / "doc.mech";
  WriteBytes(dir / "other.txt", "someone else's");
  WriteBytes(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  fs::create_symlink(dir / "other.txt", dir / "doc.mech.~saving");

  shared::FailNextReplacement(TReplaceStage::Unnamed, EOPNOTSUPP);
  {
    shared::TReplacingFile replacing(file.string(), ".~saving", "Cannot save: ");
    ASSERT_TRUE(replacing.Write("new"));
    const std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[2].rfind("doc.mech.~saving", 0), 0u);
    EXPECT_EQ(names[2].size(), std::string("doc.mech.~saving").size() + 6);
    EXPECT_EQ(replacing.WritableName(), (dir / names[2]).string());
    // Not committed: gone again.
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"doc.mech", "doc.mech.~saving", "other.txt"}));
  EXPECT_EQ(ReadBytes(file), "old");

  for (const TReplaceStage stage : {TReplaceStage::Unnamed, TReplaceStage::Link}) {
    shared::FailNextReplacement(stage, stage == TReplaceStage::Link ? ENOENT : EOPNOTSUPP);
    EXPECT_EQ(Replace(file, stage == TReplaceStage::Link ? "copied" : "named"), "");
    EXPECT_EQ(ReadBytes(file), stage == TReplaceStage::Link ? "copied" : "named");
    EXPECT_EQ(Mode(file), 0640u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"doc.mech", "doc.mech.~saving", "other.txt"}));
  }
  EXPECT_EQ(ReadBytes(dir / "other.txt"), "someone else's");
  EXPECT_TRUE(fs::is_symlink(dir / "doc.mech.~saving"));
}

// A file size limit ends a process that writes beyond it with SIGXFSZ unless the signal is
// ignored: then the write fails with EFBIG and the save says so. Either way the old document
// stays whole and nothing stays beside it. Each case runs in a child process.
TEST_F(FilePathTest, AFileSizeLimitFailsTheSaveAndLeavesNothing) {
  const fs::path file = dir / "doc.mech";
  const std::string bytes(100000, 'x');
  const auto save = [&](bool ignore) {
    if (ignore) shared::IgnoreFileSizeSignal();
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = Replace(file, bytes);
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(message.empty() ? 0 : 3);
  };
  WriteBytes(file, "old");
  EXPECT_EXIT(save(true), ::testing::ExitedWithCode(3), "Cannot save: the file would pass the limit on file size\\.");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
  EXPECT_EXIT(save(false), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"doc.mech"});
}

}  // namespace
