// TProjectFile: the synthesis program's project file, the framing around every record of a
// project (header, versions, records in order, ground drawing name, end line, checksum line).
#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <string>

namespace shared {
class TProjectInfo;
class TSynthCanvas2D;
class TDXFDrawing;
}  // namespace shared

namespace vesk {

class TSynthOptions;
class TMechanismList;
class TAreaList;
class TSpline;
class TDrawing;

// Refusals of the framing, raised as EFileReadError.
inline constexpr const char* kNotVeskFile = "This is not a valid Vesk file !";
inline constexpr const char* kNewerFormat = "You need the latest version of VESK to read this file";
inline constexpr const char* kBetaFormat = "Vesk is not upward compatible with this BETA release file format!";
// The checksum key of project files.
inline constexpr const char* kProjectKey = "quintabole";

// The parts of a project, owned elsewhere (the main window, or a tool); every pointer is set
// before Read or Write.
class TFileValidate;

class TProjectFile {
 public:
  shared::TProjectInfo* Info = nullptr;
  TSynthOptions* Options = nullptr;
  TMechanismList* List = nullptr;
  TAreaList* GroundAreas = nullptr;
  TAreaList* CouplerAreas = nullptr;
  TSpline* Curve = nullptr;
  TDrawing* OutputDrawing = nullptr;
  // Mechanism view, output-link view, ground-link view.
  std::array<shared::TSynthCanvas2D*, 3> Views{};
  shared::TDXFDrawing* GroundDrawing = nullptr;
  // The ground-link DXF drawing's full path, "" for none. Kept when the drawing cannot be read,
  // so that the next save does not drop it.
  std::string GroundDrawingName;

  // Lines 1 to 16 (no checksum line) with the ground drawing's name relative to projectDirectory.
  void WriteText(std::ostream& out, const std::string& projectDirectory);
  // The same framing from a stream: refuses a foreign header or format version, then reads the
  // records; the ground drawing is loaded from projectDirectory. Raises EFileReadError with the
  // text of the framing or of the record that failed.
  void ReadText(std::istream& in, const std::string& projectDirectory);

  // Signs the text in memory and writes it in place of path only when complete (see
  // shared::TReplacingFile): a failed save keeps the old file and the parts' unsaved state and
  // leaves nothing beside it. Raises std::runtime_error with the reason.
  void Save(const std::string& path);
  // Verifies the checksum (a wrong one or a missing file is refused with kNotVeskFile, a last
  // line that is no number is read anyway), then reads the file.
  void Open(const std::string& path);

  // The checksum status of the last Open (0 valid, 1 wrong, 2 missing, 3 no number / failed).
  int StatusCode = 0;
  // Signs and verifies the file; the process-wide one (FileValidate()) when not set.
  TFileValidate* Validate = nullptr;

 private:
  TFileValidate& Checksum() const;
  void Write(const std::string& path);
};

}  // namespace vesk
