// The language-file reader and the shipped "English.ini".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "animator/app/LanguageFile.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

TLanguageFile Parse(const std::string& text) {
  std::istringstream in(text);
  TLanguageFile file;
  file.LoadFromStream(in);
  return file;
}

TEST(LanguageFile, ReadsValuesAsWritten) {
  const TLanguageFile file = Parse(
      "; a comment\r\n"
      "[Animation]\r\n"
      "  MRRHint =  Move, Rotate and/or resize  \r\n"
      "Quoted=\"  kept inside  \"\r\n"
      "Single='it'\r\n"
      "Half=\"open\r\n"
      "Empty=\r\n"
      "Stop=Stop and Reset|Stop and Reset <Esc>\r\n"
      "Equals=a=b\r\n"
      "no equals sign\r\n"
      "Move=first\r\n"
      "move=second\r\n"
      "[ animation ]\r\n"
      "Late=from a repeated section\n"
      "[Graph]\n"
      "Pos=Pos.\n");
  struct TCase {
    const char* Section;
    const char* Key;
    const char* Expected;
  };
  const TCase cases[] = {
      {"Animation", "MRRHint", "Move, Rotate and/or resize"},  // commas do not split the value
      {"ANIMATION", "mrrhint", "Move, Rotate and/or resize"},
      {"Animation", "Quoted", "  kept inside  "},
      {"Animation", "Single", "it"},
      {"Animation", "Half", "\"open"},
      {"Animation", "Empty", ""},
      {"Animation", "Stop", "Stop and Reset|Stop and Reset <Esc>"},
      {"Animation", "Equals", "a=b"},
      {"Animation", "Move", "first"},
      {"Animation", "Late", "default"},
      {"Animation", "Missing", "default"},
      {"Graph", "Pos", "Pos."},
      {"ToExcel", "Caption", "default"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(file.ReadString(c.Section, c.Key, "default"), c.Expected) << c.Section << "/" << c.Key;
  }
  EXPECT_TRUE(file.ValueExists("animation", "empty"));
  EXPECT_FALSE(file.ValueExists("Animation", "no equals sign"));
}

TEST(LanguageFile, LinesBeforeAnySectionAreSkipped) {
  const TLanguageFile file = Parse("Key=loose\n[S]\nKey=inside\n");
  EXPECT_EQ(file.ReadString("S", "Key", ""), "inside");
  EXPECT_EQ(file.ReadString("", "Key", "none"), "none");
}

class LanguageFileLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    Previous = fs::current_path();
    Root = fs::temp_directory_path() / ("quillon-language-" + std::to_string(::getpid()));
    fs::create_directories(Root / "work");
    fs::create_directories(Root / "program");
    fs::current_path(Root / "work");
  }
  void TearDown() override {
    fs::current_path(Previous);
    fs::remove_all(Root);
  }
  static void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string ProgramDir() const { return (Root / "program").string() + "/"; }

  fs::path Previous;
  fs::path Root;
};

TEST_F(LanguageFileLookup, WorkingFolderFirstThenBesideTheProgram) {
  TLanguageFile file;
  EXPECT_EQ(OpenLanguageFile(file, ProgramDir()), "");
  EXPECT_EQ(file.ReadString("Animation", "Pos", "Pos"), "Pos");

  Write(Root / "program" / "English.ini", "[Animation]\nPos=beside\n");
  EXPECT_EQ(OpenLanguageFile(file, ProgramDir()), ProgramDir() + "English.ini");
  EXPECT_EQ(file.ReadString("Animation", "Pos", ""), "beside");

  Write(Root / "work" / "English.ini", "[Animation]\nPos=here\n");
  EXPECT_EQ(OpenLanguageFile(file, ProgramDir()), "English.ini");
  EXPECT_EQ(file.ReadString("Animation", "Pos", ""), "here");
}

// The file the build puts beside the program carries every text of the view.
TEST(LanguageFile, ShippedFileHoldsTheViewTexts) {
  TLanguageFile file;
  ASSERT_TRUE(file.LoadFromFile(std::string(SUITE_BINARY_DIR) + "/animator/app/English.ini"));
  const char* keys[] = {"Select",       "Move",
                        "ZoomAll",      "ZoomIn",
                        "ZoomOut",      "Zoom",
                        "AddInput",     "AddDyad",
                        "AddSlider",    "AddJoint",
                        "Delete",       "AddCurve",
                        "AddArea",      "Optimize",
                        "Stop",         "Start",
                        "Pause",        "Record",
                        "ShowPath",     "HidePath",
                        "PathHint",     "ShowGraph",
                        "HideGraph",    "GraphHint",
                        "ShowVectors",  "HideVectors",
                        "VectorsHint",  "Lock",
                        "Unlock",       "LockHint",
                        "IC",           "ICHint",
                        "DXF",          "DXFHint",
                        "SendToFront",  "SendToFrontHint",
                        "BringToFront", "BringToFrontHint",
                        "Output",       "OutputHint",
                        "Input",        "InputHint",
                        "MRR",          "MRRHint",
                        "Options",      "OptionsHint",
                        "FileNotExist", "Low",
                        "Medium",       "High",
                        "ErrorNew",     "ErrorInvalid",
                        "ErrorIC",      "Empty",
                        "SelectInput",  "Properties",
                        "Pos"};
  EXPECT_EQ(std::size(keys), 57u);
  for (const char* key : keys) EXPECT_TRUE(file.ValueExists("Animation", key)) << key;
  EXPECT_EQ(file.ReadString("Animation", "MRRHint", ""),
            "Move, Rotate and/or resize the mechanism using the selected joint as reference");
  EXPECT_EQ(file.ReadString("Animation", "FileNotExist", ""), "%s does not exist!");
  EXPECT_EQ(file.ReadString("Graph", "Pos", ""), "Pos.");
  EXPECT_EQ(file.ReadString("AnimOptions", "Caption", ""), "Animation Options");
  EXPECT_EQ(file.ReadString("ToExcel", "Caption2", ""), "Include in Excel Workbook:");
}

}  // namespace
}  // namespace quillon
