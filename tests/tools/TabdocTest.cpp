// tabdoc run as a user runs it: the listing of documents, the save round trip with a fresh
// checksum line, and its refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = SUITE_FIXTURES;

using shared::test::ReadBytes;
using shared::test::WriteBytes;

struct TRun {
  int status;
  std::string out;
  std::string err;
};

class TabdocTest : public shared::test::TTempFolderTest {
 protected:
  TabdocTest() : TTempFolderTest("tabdoc") {}

  // args is passed to the shell as it stands; paths in it are single-quoted by Quote.
  TRun Run(const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    const std::string command = Quote(TABDOC_PATH) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
  }
  static std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }
};

TEST_F(TabdocTest, ShowsSectionsRecordsAndChecksum) {
  const TRun run = Run("show " + Quote(kFixtures / "crank.mech"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Quillon\n"
            "0\n"
            "Info\n"
            "Crank rocker | Orvane | Ann | 10-12-2026\n"
            "Caf\xC3\xA9 demo\n"
            "\n"
            "Joints\n"
            "A |  0.00000000000000E+0000 |  0.00000000000000E+0000 |  | 1\n"
            "B |  1.50000000000000E+0000 | -2.50000000000000E-0001\n"
            "checksum: 59952 (stored 59952)\n");
}

TEST_F(TabdocTest, ShowsAHandMadeDocument) {
  // LF line ends, a line outside sections, an end line in small letters, an open last section
  // and a stale checksum. 43185 is CRC-16/XMODEM of the key and the first six lines, from an
  // independent implementation (Python's binascii.crc_hqx).
  const TRun run = Run("show " + Quote(kFixtures / "handmade.mech"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Links\n"
            "AB | 2\n"
            "Curve\n"
            "1 | 2\n"
            "checksum: 43185 (stored 77)\n");

  WriteBytes(dir / "empty.mech", "");
  EXPECT_EQ(Run("show " + Quote(dir / "empty.mech")).out, "checksum: none (empty document)\n");
}

TEST_F(TabdocTest, SaveWritesCrLfAndAFreshChecksumLine) {
  // A correct document saves back byte for byte.
  const fs::path crank = dir / "crank.mech";
  TRun run = Run("save " + Quote(kFixtures / "crank.mech") + " " + Quote(crank));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadBytes(crank), ReadBytes(kFixtures / "crank.mech"));

  // The stale checksum is replaced, LF becomes CR LF, and the result checks out.
  const fs::path handmade = dir / "handmade.mech";
  WriteBytes(handmade, "previous\r\n");
  run = Run("save " + Quote(kFixtures / "handmade.mech") + " " + Quote(handmade));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadBytes(handmade),
            "written by hand\r\n[Links>\r\nAB\t2\r\n<links]\r\n[Curve>\r\n1\t2\r\n43185\r\n");
  EXPECT_NE(Run("show " + Quote(handmade)).out.find("checksum: 43185 (stored 43185)"), std::string::npos);

  // A last line that is no number is kept and closed by a checksum.
  const fs::path open = dir / "open.mech";
  WriteBytes(open, "[Info>\n<Info]");
  EXPECT_EQ(Run("save " + Quote(open) + " " + Quote(open)).status, 0);
  EXPECT_EQ(ReadBytes(open), "[Info>\r\n<Info]\r\n9419\r\n");
}

TEST_F(TabdocTest, RefusesWithAReasonAndWritesNothing) {
  const fs::path target = dir / "target.mech";
  WriteBytes(target, "keep\r\n");
  const fs::path missing = dir / "missing.mech";
  const struct {
    std::string args;
    std::string named;  // what the message on stderr must name
  } cases[] = {
      {"show " + Quote(missing), missing.string()},
      {"save " + Quote(missing) + " " + Quote(target), missing.string()},
      {"show " + Quote(dir), dir.string()},
      {"save " + Quote(kFixtures / "crank.mech") + " " + Quote(dir / "nowhere" / "x.mech"),
       (dir / "nowhere" / "x.mech").string()},
      {"", "usage"},
      {"show", "usage"},
      {"save " + Quote(kFixtures / "crank.mech"), "usage"},
      {"print " + Quote(kFixtures / "crank.mech"), "usage"},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_NE(run.status, 0) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << c.args << "\n" << run.err;
  }
  EXPECT_EQ(ReadBytes(target), "keep\r\n");
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

}  // namespace
