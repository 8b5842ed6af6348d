// The project file's framing: header, program and format version, the records in their order,
// the ground drawing's name, "[end]" and the checksum line.
#include "synthesis/engine/ProjectFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "shared/SynthCanvas2D.h"
#include "shared/Complex.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"
#include "shared/dxf/DXFDrawing.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

namespace fs = std::filesystem;

namespace {

// The program information's header, version and format version; that object reads and saves
// settings, so a tool cannot make one just for these.
struct TFraming {
  std::string Header = "[Vesk]";
  std::string Version = "1.6.4";
  int32_t FileFormatVersion = 2;
};
const TFraming& Defaults() {
  static const TFraming framing;
  return framing;
}

std::string NextLine(std::istream& in) {
  std::string line;
  if (!shared::ReadTextLine(in, line)) throw EFileReadError(kNotVeskFile);
  return line;
}

// A name relative to the folder when it lies below or beside it; the path itself otherwise.
std::string RelativeName(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return path;
  const fs::path relative = shared::FullNormal(path).lexically_relative(shared::FullNormal(folder));
  return relative.empty() ? path : relative.generic_string();
}

std::string PathOf(const std::string& stored, const std::string& folder) {
  if (stored.empty()) return "";
  std::string name = stored;
  // Files written on Windows separate folders with "\".
  std::replace(name.begin(), name.end(), '\\', '/');
  const fs::path path(name);
  if (path.is_absolute() || folder.empty()) return name;
  return (fs::path(folder) / path).lexically_normal().string();
}

std::string FolderOf(const std::string& path) {
  const fs::path parent = shared::FullNormal(path).parent_path();
  return parent.string();
}

}  // namespace

void TProjectFile::WriteText(std::ostream& out, const std::string& projectDirectory) {
  const TFraming& info = Defaults();
  const char* end = shared::kLineEnd;
  out << info.Header << end << info.Version << end << info.FileFormatVersion << end << "0" << end;
  Info->WriteToText(out);
  Options->WriteToText(out);
  List->Write(out);
  GroundAreas->Write(out);
  CouplerAreas->Write(out);
  Curve->Write(out);
  OutputDrawing->ProjectDirectory = projectDirectory;
  OutputDrawing->WriteToText(out);
  for (shared::TSynthCanvas2D* view : Views) view->Write(out);
  std::string name = RelativeName(GroundDrawingName, projectDirectory);
  std::replace(name.begin(), name.end(), '\r', ' ');
  std::replace(name.begin(), name.end(), '\n', ' ');
  out << name << end << "[end]" << end;
}

void TProjectFile::ReadText(std::istream& in, const std::string& projectDirectory) {
  const TFraming& info = Defaults();
  if (NextLine(in) != info.Header) throw EFileReadError(kNotVeskFile);
  NextLine(in);
  int32_t format = 0;
  if (!shared::ParseInt(NextLine(in), format)) throw EFileReadError(kNotVeskFile);
  if (format > info.FileFormatVersion) throw EFileReadError(kNewerFormat);
  if (format <= 1) throw EFileReadError(kBetaFormat);
  NextLine(in);
  Info->ReadFromText(in);
  Options->ReadFromText(in);
  // The area lists draw their enlarged outline at the project's option.
  GroundAreas->MaxDistToArea = Options->MaxDistToArea;
  CouplerAreas->MaxDistToArea = Options->MaxDistToArea;
  List->Read(in);
  GroundAreas->Read(in);
  CouplerAreas->Read(in);
  Curve->Read(in);
  OutputDrawing->ProjectDirectory = projectDirectory;
  OutputDrawing->ReadFromText(in);
  for (shared::TSynthCanvas2D* view : Views) view->Read(in);
  // An empty line is no drawing, not the project's folder.
  GroundDrawingName = PathOf(NextLine(in), projectDirectory);
  GroundDrawing->Clear();
  std::error_code error;
  // Only a file: a name such as a device would never end or never stop reading.
  if (!GroundDrawingName.empty() && fs::is_regular_file(GroundDrawingName, error)) {
    try {
      GroundDrawing->LoadFromFile(GroundDrawingName);
    } catch (const std::exception&) {
      // An unreadable drawing leaves the project read and the drawing empty; its name stays.
      GroundDrawing->Clear();
    }
  }
  AppOptions.ShowGroundDrawing = GroundDrawing->Count() > 0;
}

void TProjectFile::Save(const std::string& path) {
  // The record writers mark what they write as saved; a save that fails gives the parts back
  // their unsaved state, so the project still asks to be saved.
  const bool list = List->IsModified(), ground = GroundAreas->IsModified(), coupler = CouplerAreas->IsModified(),
             curve = Curve->IsModified(), drawing = OutputDrawing->GetModified();
  try {
    Write(path);
  } catch (...) {
    if (list) List->Modified = true;
    if (ground) GroundAreas->SetModified(true);
    if (coupler) CouplerAreas->SetModified(true);
    if (curve) Curve->SetModified(true);
    if (drawing) OutputDrawing->SetModified(true);
    throw;
  }
}

void TProjectFile::Write(const std::string& path) {
  std::ostringstream text;
  WriteText(text, FolderOf(path));
  // Signed in memory and then written whole in place of the target: no file of its own beside
  // it, and a failure at any step leaves the old file as it was.
  std::string bytes = text.str();
  TFileValidate& validate = Checksum();
  validate.Key = kProjectKey;
  validate.Sign(bytes);
  if (validate.StatusCode != TFileValidate::kValid) throw std::runtime_error(validate.StatusText);
  shared::WriteFileReplacing(path, bytes, ".vesk", "Cannot write \"" + path + "\": ");
}

TFileValidate& TProjectFile::Checksum() const { return Validate ? *Validate : FileValidate(); }

void TProjectFile::Open(const std::string& path) {
  TFileValidate& validate = Checksum();
  validate.Key = kProjectKey;
  validate.VerifyFile(path);
  StatusCode = validate.StatusCode;
  if (StatusCode == TFileValidate::kNotValid || StatusCode == TFileValidate::kMissing)
    throw EFileReadError(kNotVeskFile);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileReadError(kNotVeskFile);
  ReadText(in, FolderOf(path));
}

}  // namespace vesk
