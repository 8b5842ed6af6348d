// mechtool run as a user runs it: preset documents that survive a round trip byte for byte, the
// header check's answers, and refusals that leave nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MechtoolRun.h"
#include "tests/animator/engine/DamagedDocuments.h"

namespace {

using namespace mechtool_test;

class MechtoolTest : public TMechtoolFixture {
 protected:
  MechtoolTest() : TMechtoolFixture("mechtool") {}

  // The files the tool left in dir.
  int FileCount() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
};

std::string Header(const std::string& record) { return "[Quillon>\r\n" + record + "\r\n<Quillon]\r\n"; }

TEST_F(MechtoolTest, EveryPresetSurvivesRoundTripByteForByte) {
  for (const int type : {0, 1, 2, 3, 5, 6, 7, 9, 10, 11, 12, 13, 4}) {
    SCOPED_TRACE(type);
    const fs::path first = dir / "first.mech";
    const fs::path second = dir / "second.mech";
    TRun run = Run("new " + std::to_string(type) + " " + Quote(first));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    run = Run("roundtrip " + Quote(first) + " " + Quote(second));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
    run = Run("header " + Quote(second));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1\n");
  }
}

// The animator writes the mechanism content first and its project information after it.
TEST_F(MechtoolTest, NewDocumentEndsWithEmptyProjectInformation) {
  const fs::path path = dir / "four.mech";
  ASSERT_EQ(Run("new 0 " + Quote(path)).status, 0);
  const std::string text = ReadBytes(path);
  EXPECT_EQ(text.rfind("[Quillon>\r\n0\r\n<Quillon]\r\n[Joints>\r\nA\t", 0), 0u) << text;
  const size_t info = text.find("\r\n<DXF]\r\n[Info>\r\n\t\t\t\r\n<Info]\r\n");
  ASSERT_NE(info, std::string::npos) << text;
  EXPECT_EQ(text.find_first_not_of("0123456789\r\n",
                                   info + std::string("\r\n<DXF]\r\n[Info>\r\n\t\t\t\r\n<Info]\r\n").size()),
            std::string::npos)
      << "only the checksum follows the project information";
  EXPECT_NE(text.find("\r\n[Links>\r\nAD\tPP\t0\t1\r\n"), std::string::npos);
  EXPECT_NE(
      text.find("\r\n[Input A>\r\n0\t 1.00000000000000E+0000\t 6.28318530717959E+0000\r\n<Input A]\r\n"),
      std::string::npos);
  // The last line is the keyed checksum.
  const size_t last = text.rfind("\r\n", text.size() - 3);
  EXPECT_EQ(text.substr(last + 2).find_first_not_of("0123456789\r\n"), std::string::npos);
  // No ".~saving" file is left behind.
  EXPECT_EQ(FileCount(), 1);
}

TEST_F(MechtoolTest, RoundTripKeepsProjectInformationAndReadsOldDocuments) {
  const fs::path in = dir / "old.mech";
  WriteBytes(in, "[Info>\r\nCrank\tOrvane\tme\t1.2.2003\r\nfirst note\r\n\r\n<Info]\r\n" + Header("-96") +
                     "[Joints>\r\nA\t0\t0\r\nB\t0\t1\r\n<Joints]\r\n[Links>\r\nAB\t1\t0\t1\r\n<Links]\r\n");
  const fs::path out = dir / "new.mech";
  const TRun run = Run("roundtrip " + Quote(in) + " " + Quote(out));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadBytes(out);
  EXPECT_EQ(text.rfind("[Quillon>\r\n0\r\n<Quillon]\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n<DXF]\r\n[Info>\r\nCrank\tOrvane\tme\t1.2.2003\r\nfirst note\r\n\r\n<Info]\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\nAB\tPS\t1\t0\r\n"), std::string::npos) << text;
}

TEST_F(MechtoolTest, HeaderAnswers) {
  struct TCase {
    std::string text;
    const char* answer;
  };
  const TCase cases[] = {
      {"no header\r\n", "-2\n"}, {"[Quillon>\r\n<Quillon]\r\n", "0\n"},
      {Header("0"), "1\n"},      {Header("0\tvesk"), "2\n"},
      {Header("-96"), "-3\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    WriteBytes(dir / "doc.mech", c.text);
    const TRun run = Run("header " + Quote(dir / "doc.mech"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.answer);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(MechtoolTest, UnreadableDocumentsWriteNothing) {
  struct TCase {
    std::string text;
    std::string error;
  };
  const TCase cases[] = {
      {Header("1"), "Error: You need a new version of Quillon to read this data!\n"},
      {Header("-97"), "Error: You need a new version of Quillon to read this data!\n"},
      {"[Joints>\r\n<Joints]\r\n", "Error: This is invalid Quillon mechanism data!\n"},
  };
  const fs::path in = dir / "in.mech";
  const fs::path out = dir / "out.mech";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    WriteBytes(in, c.text);
    const TRun run = Run("roundtrip " + Quote(in) + " " + Quote(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, c.error);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(out));
  }
  const TRun missing = Run("roundtrip " + Quote(dir / "gone.mech") + " " + Quote(out));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, (dir / "gone.mech").string() + " does not exist!\n");
  const TRun header = Run("header " + Quote(dir / "gone.mech"));
  EXPECT_EQ(header.status, 1);
  EXPECT_EQ(header.out, "");
  EXPECT_FALSE(fs::exists(out));
}

// The log goes to stderr: a damaged document gives its warnings, each naming the file, and is
// still written; a whole one gives none.
TEST_F(MechtoolTest, RoundTripOfDamagedDocumentsWarns) {
  const std::vector<std::string> clean = damaged::FourBarLines();
  const fs::path in = dir / "in.mech";
  const fs::path out = dir / "out.mech";
  for (const damaged::TCase& c : damaged::Cases()) {
    SCOPED_TRACE(c.Name);
    WriteBytes(in, c.Text(clean));
    const TRun run = Run("roundtrip " + Quote(in) + " " + Quote(out));
    EXPECT_EQ(run.status, 0);
    std::string expected;
    for (const std::string& line : damaged::Expected(c, in.string())) expected += line + "\n";
    EXPECT_EQ(run.err, expected);
    EXPECT_TRUE(fs::exists(out));
    fs::remove(out);
  }
}

TEST_F(MechtoolTest, MissingDrawingWarnsAndKeepsItsName) {
  const fs::path in = dir / "in.mech";
  WriteBytes(in, Header("0") +
                     "[Joints>\r\nA\t0\t0\r\n<Joints]\r\n[Links>\r\nA\tP\t0\t0\r\n<Links]\r\n"
                     "[DXF>\r\nparts/frame.dxf\tA\t0\t0\t0\r\n<DXF]\r\n");
  const fs::path out = dir / "out.mech";
  const TRun run = Run("roundtrip " + Quote(in) + " " + Quote(out));
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "[Warning] " + (dir / "parts" / "frame.dxf").string() + " does not exist!\n");
  EXPECT_NE(ReadBytes(out).find("\r\n[DXF>\r\nparts/frame.dxf\tA\t"), std::string::npos);
}

TEST_F(MechtoolTest, WrongArgumentsAndUnwritableTargets) {
  const std::string usage =
      "usage: mechtool new TYPE OUT\n"
      "       mechtool header FILE\n"
      "       mechtool roundtrip IN OUT\n"
      "       mechtool solve FILE [--steps N]\n"
      "       mechtool solve --preset TYPE [--steps N]\n"
      "       mechtool fit DOC OUT [--passes N] [--mode M] [--steps S]\n"
      "       mechtool export xlsx|avi|html DOC OUT [--steps N]\n"
      "       mechtool export avi DOC OUT [--steps N] [--wav FILE.wav]\n"
      "       mechtool export bmp|jpeg DOC OUT [--steps N] [--step K]\n";
  for (const std::string& args : {std::string(""), std::string("new"), std::string("new 0"),
                                  std::string("new x ") + Quote(dir / "x.mech"), std::string("show a"),
                                  std::string("header a b"), std::string("roundtrip a")}) {
    SCOPED_TRACE(args);
    const TRun run = Run(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, usage);
    EXPECT_EQ(FileCount(), 0);
  }
  const TRun run = Run("new 0 " + Quote(dir / "no" / "such" / "folder.mech"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("folder.mech"), std::string::npos) << run.err;
  EXPECT_EQ(FileCount(), 0);
}

}  // namespace
