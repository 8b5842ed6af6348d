// Damaged documents open as far as they go, with one warning per kind of damage naming the file,
// and the reader says the document was not whole; whole documents open without a word.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DamagedDocuments.h"
#include "LogCapture.h"
#include "tests/shared/TestFiles.h"

namespace {

class DamagedDocumentTest : public shared::test::TTempFolderTest {
 protected:
  DamagedDocumentTest() : TTempFolderTest("damaged-document") {}
};

// The test's own checksum agrees with the standard check value and with what a save writes.
TEST_F(DamagedDocumentTest, TheTestsChecksumIsTheStoresChecksum) {
  shared::TTabLines store;
  store.Key.clear();
  store.Lines = {"123456789"};
  store.AppendCrc();
  EXPECT_EQ(store.Lines.back(), "12739");
  const std::vector<std::string> lines = damaged::FourBarLines();
  shared::TTabLines saved;
  saved.Lines = lines;
  saved.AppendCrc();
  EXPECT_EQ(saved.Lines.back(), std::to_string(damaged::KeyedCrc(lines)));
}

TEST_F(DamagedDocumentTest, EachDamageGivesOneWarningNamingTheFile) {
  const std::vector<std::string> clean = damaged::FourBarLines();
  for (const damaged::TCase& c : damaged::Cases()) {
    SCOPED_TRACE(c.Name);
    const std::string path = (dir / "doc.mech").string();
    shared::test::WriteBytes(path, c.Text(clean));
    shared::TTabLines lines;
    lines.LoadFromFile(path);
    quillon::TAniMechanism mechanism;
    enginetest::TLogCapture log;
    bool whole = true;
    ASSERT_NO_THROW(whole = mechanism.LoadFromTabLines(lines));
    EXPECT_EQ(log.sink.lines, damaged::Expected(c, path));
    EXPECT_EQ(whole, c.Warnings.empty());
    // Read as far as it goes: the joints before the damage are there.
    ASSERT_GE(mechanism.JointCount(), 3);
    EXPECT_EQ(mechanism.Joint(0).Letter, 'A');
  }
}

// Text that comes from no file (the clipboard) is "the document" in the warnings.
TEST_F(DamagedDocumentTest, TextWithoutAFileIsTheDocument) {
  std::vector<std::string> lines = damaged::FourBarLines();
  lines.push_back("1");
  if (damaged::KeyedCrc(damaged::FourBarLines()) == 1) lines.back() = "2";
  shared::TTabLines store;
  std::istringstream in(damaged::WithoutChecksum(lines));
  store.LoadFromStream(in);
  quillon::TAniMechanism mechanism;
  enginetest::TLogCapture log;
  EXPECT_FALSE(mechanism.LoadFromTabLines(store));
  EXPECT_EQ(log.sink.lines,
            std::vector<std::string>{"[Warning] The checksum line of the document does not match its content."});
}

}  // namespace
