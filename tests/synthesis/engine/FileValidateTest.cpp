// Signing and verifying project files: the checksum values, the status codes and what the
// reader makes of damaged or foreign bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>

#include "synthesis/engine/FileValidate.h"
#include "tests/shared/FileSizeLimit.h"
#include "tests/shared/TestFiles.h"

namespace vesk {
namespace {

using shared::test::ReadBytes;
using shared::test::WriteBytes;

// CRC-16/XMODEM of "quintabole" alone and of "quintabole123456789".
constexpr uint32_t kKeyOnly = 47332;
constexpr uint32_t kKeyAndCheckText = 11480;

TFileValidate ProjectValidate() {
  TFileValidate validate;
  validate.Key = "quintabole";
  return validate;
}

struct TVerifyCase {
  const char* name;
  std::string bytes;
  int32_t code;
  std::string text;
};

class VerifyStream : public ::testing::TestWithParam<TVerifyCase> {};

TEST_P(VerifyStream, GivesCodeAndText) {
  const TVerifyCase& c = GetParam();
  TFileValidate validate = ProjectValidate();
  std::istringstream in(c.bytes);
  EXPECT_EQ(validate.Verify(in), c.code == 0);
  EXPECT_EQ(validate.StatusCode, c.code);
  EXPECT_EQ(validate.StatusText, c.text);
}

const std::string kBadNumber = " is not a valid integer value";

INSTANTIATE_TEST_SUITE_P(
    Cases, VerifyStream,
    ::testing::Values(
        TVerifyCase{"KeyOnly", "47332\r\n", 0, "Valid"},
        TVerifyCase{"CrLf", "123456789\r\n11480\r\n", 0, "Valid"},
        TVerifyCase{"Lf", "123456789\n11480\n", 0, "Valid"},
        TVerifyCase{"NoFinalLineEnd", "123456789\r\n11480", 0, "Valid"},
        // Line ends are not part of the checksum, so the same characters split otherwise verify.
        TVerifyCase{"SplitLine", "1234\r\n56789\r\n11480\r\n", 0, "Valid"},
        TVerifyCase{"EmptyLinesAddNothing", "\r\n123456789\r\n\r\n11480\r\n", 0, "Valid"},
        TVerifyCase{"WrongNumber", "123456789\r\n11481\r\n", 1, "Not a valid file"},
        TVerifyCase{"NegativeNumber", "123456789\r\n-11480\r\n", 1, "Not a valid file"},
        TVerifyCase{"ExplicitPlus", "123456789\r\n+11480\r\n", 0, "Valid"},
        // Nothing to read leaves the stored value 0, compared with the key's checksum.
        TVerifyCase{"Empty", "", 1, "Not a valid file"},
        // A file closed without its checksum line ends with the project's end marker.
        TVerifyCase{"EndMarkerLast", "[Vesk]\r\n2\r\n[end]\r\n", 3, "'[end]'" + kBadNumber},
        TVerifyCase{"BlankLastLine", "123456789\r\n11480\r\n\r\n", 3, "''" + kBadNumber},
        TVerifyCase{"NumberWithText", "123456789\r\n11480x\r\n", 3, "'11480x'" + kBadNumber},
        TVerifyCase{"BeyondInt32", "123456789\r\n99999999999\r\n", 3, "'99999999999'" + kBadNumber},
        TVerifyCase{"LoneSign", "123456789\r\n-\r\n", 3, "'-'" + kBadNumber}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileValidate, ChecksumIsKeyedCrcOfAllCharacters) {
  TFileValidate validate = ProjectValidate();
  std::istringstream keyOnly("0\r\n");
  validate.Verify(keyOnly);
  EXPECT_EQ(validate.Crc, kKeyOnly);
  std::istringstream withText("123456789\r\n0\r\n");
  validate.Verify(withText);
  EXPECT_EQ(validate.Crc, kKeyAndCheckText);

  // The creation key is another key: the same file does not verify with it.
  TFileValidate creation;
  EXPECT_EQ(creation.Key, "Lanterns");
  std::istringstream again("123456789\r\n11480\r\n");
  EXPECT_FALSE(creation.Verify(again));
  EXPECT_EQ(creation.StatusCode, 1);
}

TEST(FileValidate, ForeignBytesGiveAStatusNotACrash) {
  const std::string inputs[] = {
      std::string("\0\0\0", 3),
      std::string("\xFF\xFE\r\r\r\n\x80", 7),
      std::string("abc\rdef\r", 8),
      std::string(100000, '\n'),
      std::string("1\r\n") + std::string(5000, '9'),
  };
  for (const std::string& bytes : inputs) {
    TFileValidate validate = ProjectValidate();
    std::istringstream in(bytes);
    EXPECT_FALSE(validate.Verify(in));
    EXPECT_TRUE(validate.StatusCode == 1 || validate.StatusCode == 3) << validate.StatusCode;
    EXPECT_FALSE(validate.StatusText.empty());
  }
}

class FileValidateFiles : public shared::test::TTempFolderTest {
 protected:
  FileValidateFiles() : TTempFolderTest("filevalidate") {}

  // Writes the text, signs it and returns the file's name.
  std::string Signed(const std::string& text) {
    const std::string name = (dir / "project.vesk").string();
    WriteBytes(name, text);
    TFileValidate validate = ProjectValidate();
    validate.SignFile(name);
    EXPECT_EQ(validate.StatusCode, 0);
    EXPECT_EQ(validate.StatusText, "OK");
    return name;
  }

  static int32_t VerifyCode(const std::string& name) {
    TFileValidate validate = ProjectValidate();
    const bool valid = validate.VerifyFile(name);
    EXPECT_EQ(valid, validate.StatusCode == 0);
    return validate.StatusCode;
  }

  const std::string kProject = "[Vesk]\r\n2\r\n[Links]\r\n1\r\n 1.50000000000000E+0000 Length\r\n[end]\r\n";
};

TEST_F(FileValidateFiles, SignAppendsTheChecksumLineAndVerifies) {
  const std::string name = Signed("123456789\r\n");
  EXPECT_EQ(ReadBytes(name), "123456789\r\n" + std::to_string(kKeyAndCheckText) + "\r\n");

  TFileValidate validate = ProjectValidate();
  EXPECT_TRUE(validate.VerifyFile(name));
  EXPECT_EQ(validate.StatusCode, 0);
  EXPECT_EQ(validate.StatusText, "Valid");
}

TEST_F(FileValidateFiles, LastLineWithoutLineEndGetsOneBeforeTheChecksum) {
  const std::string name = Signed("123456789");
  EXPECT_EQ(ReadBytes(name), "123456789\r\n11480\r\n");
  EXPECT_EQ(VerifyCode(name), 0);
}

// Signing that the disk refuses (here a file size limit two bytes above the file) keeps the file
// as it was, rather than with half a checksum line, and leaves nothing beside it.
TEST_F(FileValidateFiles, AFailedSigningKeepsTheFileAsItWas) {
  const std::string name = (dir / "project.vesk").string();
  WriteBytes(name, kProject);
  TFileValidate validate = ProjectValidate();
  {
    const shared::test::TFileSizeLimit limit(kProject.size() + 2);
    validate.SignFile(name);
  }
  EXPECT_EQ(validate.StatusCode, TFileValidate::kFailed);
  EXPECT_NE(validate.StatusText.find(name), std::string::npos) << validate.StatusText;
  EXPECT_EQ(ReadBytes(name), kProject);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// Signing in memory, as the project save does, gives the bytes that signing the file gives.
TEST_F(FileValidateFiles, SigningInMemoryGivesTheSignedFilesBytes) {
  // A text that ends in a carriage return gets only the line feed: it verifies as signed.
  for (const std::string& text : {std::string(kProject), std::string("123456789"), std::string("a\nb\r\n"),
                                  std::string("a\r\nb\r"), std::string()}) {
    const std::string name = Signed(text);
    TFileValidate validate = ProjectValidate();
    std::string bytes = text;
    validate.Sign(bytes);
    EXPECT_EQ(validate.StatusCode, 0);
    EXPECT_EQ(validate.StatusText, "OK");
    EXPECT_EQ(bytes, ReadBytes(name)) << text;
    EXPECT_TRUE(validate.VerifyFile(name)) << text;
  }
}

TEST_F(FileValidateFiles, AnyChangedCharacterOrRemovedLineIsRefused) {
  const std::string name = Signed(kProject);
  const std::string good = ReadBytes(name);
  ASSERT_EQ(VerifyCode(name), 0);

  const size_t checksumLine = good.rfind("\r\n", good.size() - 3) + 2;
  for (size_t at = 0; at < checksumLine; ++at) {
    if (good[at] == '\r' || good[at] == '\n') continue;
    std::string changed = good;
    changed[at] = char(changed[at] ^ 0x01);
    WriteBytes(name, changed);
    EXPECT_EQ(VerifyCode(name), 1) << "character " << at;
  }

  std::string removed = good;
  removed.erase(removed.find("1\r\n"), 3);
  WriteBytes(name, removed);
  EXPECT_EQ(VerifyCode(name), 1);
}

TEST_F(FileValidateFiles, JoiningLinesOrChangingLineEndsKeepsTheChecksum) {
  const std::string name = Signed(kProject);
  std::string joined = ReadBytes(name);
  joined.erase(joined.find("[Links]\r\n") + 7, 2);  // "[Links]1"
  WriteBytes(name, joined);
  EXPECT_EQ(VerifyCode(name), 0);

  std::string unixEnds;
  for (char c : ReadBytes(name))
    if (c != '\r') unixEnds += c;
  WriteBytes(name, unixEnds);
  EXPECT_EQ(VerifyCode(name), 0);
}

TEST_F(FileValidateFiles, UnsignedProjectGivesTheConversionError) {
  const std::string name = (dir / "unsigned.vesk").string();
  WriteBytes(name, kProject);
  TFileValidate validate = ProjectValidate();
  EXPECT_FALSE(validate.VerifyFile(name));
  EXPECT_EQ(validate.StatusCode, 3);
  EXPECT_EQ(validate.StatusText, "'[end]' is not a valid integer value");
}

TEST_F(FileValidateFiles, MissingFileIsReportedAndNeverCreated) {
  const std::string name = (dir / "missing.vesk").string();
  TFileValidate validate = ProjectValidate();
  EXPECT_FALSE(validate.VerifyFile(name));
  EXPECT_EQ(validate.StatusCode, 2);
  EXPECT_EQ(validate.StatusText, "File does not exist");

  validate.SignFile(name);
  EXPECT_EQ(validate.StatusCode, 0);
  EXPECT_EQ(validate.StatusText, "");
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(FileValidateFiles, FolderGivesAReadError) {
  TFileValidate validate = ProjectValidate();
  EXPECT_FALSE(validate.VerifyFile(dir.string()));
  EXPECT_EQ(validate.StatusCode, 3);
  EXPECT_NE(validate.StatusText.find(dir.string()), std::string::npos);

  validate.SignFile(dir.string());
  EXPECT_EQ(validate.StatusCode, 3);
  EXPECT_NE(validate.StatusText.find(dir.string()), std::string::npos);
}

}  // namespace
}  // namespace vesk
