// Loading and drawing whole DXF drawings.
#include "shared/dxf/DXFDrawing.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <typeinfo>

#include "shared/Complex.h"
#include "shared/RealText.h"

namespace shared {

namespace {

constexpr const char* kDefaultName = "Untitled";

// The log shows the numbers as read, with "." whatever the locale.
std::string Number(double value) { return FormatGeneral(value, 15); }

}  // namespace

TDXFDrawing::TDXFDrawing(const TDXFProfile& profile)
    : FileName(kDefaultName),
      Group(profile),
      ShowDimensions(profile.ShowDimensionsAtCreation),
      ShowText(profile.ShowTextAtCreation),
      FProfile(&profile) {
  Name = "DRAWING";
}

void TDXFDrawing::AddLog(const std::string& line) {
  if (Log) Log->push_back(line);
}

void TDXFDrawing::Clear() {
  TGeneralList::Clear();
  Blocks.Clear();
  LineTypes.Clear();
  Transform.Reset();
  FileName = FProfile->ClearKeepsDefaultName ? kDefaultName : "";
}

void TDXFDrawing::LoadFromFile(const std::string& path) {
  Clear();
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return;
  // A device or a pipe would never end; a folder holds no drawing.
  if (!std::filesystem::is_regular_file(status)) throw EFileReadError("\"" + path + "\" is no file.");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileReadError("Cannot open \"" + path + "\".");
  FileName = path;
  AddLog("Open File : " + FileName);
  LoadDXF(in);
}

void TDXFDrawing::LoadFromString(const std::string& text) {
  std::istringstream in(text);
  LoadDXF(in);
}

void TDXFDrawing::LoadDXF(std::istream& in) {
  const std::string fileName = FileName;
  Clear();
  FileName = fileName;
  // Each drawing starts from millimetres and the default header.
  Header.ResetDefaults();
  Group.Clear();
  Group.Scale = kMillimetre;
  Group.LineNumber = 0;
  try {
    while (!Group.IsEof()) {
      if (!Group.ReadPair(in)) break;
      if (Group.IsSection())
        AddLog(Group.StringValue);
      else if (Group.IsHeader())
        Header.ReadSection(in, Group);
      else if (Group.IsTables())
        ReadTables(in);
      else if (Group.IsBlocks())
        Blocks.ReadSection(in, Group, Log);
      else if (Group.IsEntities())
        ReadEntities(in);
    }
  } catch (...) {
    // What was read stays, with its references bound, and nothing current.
    ResolveReferences();
    Deselect();
    throw;
  }
  AddLog("Nr of Blocks = " + std::to_string(Blocks.Count()));
  for (int32_t i = 0; i < Blocks.Count(); ++i) AddLog(Blocks.Items(i)->Name);
  AddLog("$ACADVER = " + Header.Version);
  AddLog("$ANGBASE = " + Number(Header.AngleBase));
  AddLog("$ANGDIR = " + std::to_string(Header.AngleDirection));
  AddLog("$AUNITS = " + std::to_string(Header.AngleUnits));
  AddLog("$DIMALT = " + std::to_string(Header.DimGlobals.DimAlt));
  AddLog("$DIMALTD = " + std::to_string(Header.DimGlobals.DimAltD));
  AddLog("$DIMALTF = " + Number(Header.DimGlobals.DimAltF));
  AddLog(Group.StringValue);
  AddLog("Nr of LineTypes " + std::to_string(LineTypes.Count()));
  ResolveReferences();
  Deselect();
}

void TDXFDrawing::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TDXFEntity>(*FProfile));
}

void TDXFDrawing::ReadTables(std::istream& in) {
  bool naming = true;
  while (!Group.IsEndSec()) {
    if (!Group.ReadPair(in)) break;
    if (Group.IsTable()) {
      naming = true;
    } else if (naming && Group.Code == 2) {
      naming = false;
      if (Group.StringValue == "LTYPE") LineTypes.ReadSection(in, Group);
    }
  }
}

void TDXFDrawing::ReadEntities(std::istream& in) {
  TDXFEntityReader reader(*this, true, Log);
  while (!Group.IsEndSec() && !Group.IsEof()) {
    if (!Group.ReadPair(in)) break;
    if (Group.IsEndSec() || Group.IsEof()) break;
    reader.Take(Group);
  }
  AddLog("Nr of Entities = " + std::to_string(Count()));
}

void TDXFDrawing::ResolveReferences() {
  AddLog("Entity Insert refs");
  for (int32_t i = 0; i < Count(); ++i) {
    auto* entity = static_cast<TDXFEntity*>(Items(i));
    if (auto* insert = dynamic_cast<TDXFInsert*>(entity)) {
      insert->Block = Blocks.FindBlock(insert->Name);
      AddLog(insert->Name);
    }
    entity->LineType = LineTypes.FindLineType(entity->LineTypeName);
  }
  AddLog("Blocks Insert refs");
  Blocks.ResolveInserts();
}

std::vector<std::pair<std::string, int32_t>> TDXFDrawing::UndrawnKinds() const {
  std::vector<std::pair<std::string, int32_t>> kinds;
  auto count = [&kinds](const TGeneralList& list) {
    for (int32_t i = 0; i < list.Count(); ++i) {
      const auto* entity = dynamic_cast<const TDXFEntity*>(list.Items(i));
      // Every keyword the reader knows has a class of its own; the plain entity draws nothing,
      // nor does one refused for a number that is not finite.
      if (entity == nullptr || (typeid(*entity) != typeid(TDXFEntity) && entity->Usable())) continue;
      auto found =
          std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k.first == entity->Keyword; });
      if (found == kinds.end())
        kinds.emplace_back(entity->Keyword, 1);
      else
        ++found->second;
    }
  };
  count(*this);
  for (int32_t i = 0; i < Blocks.Count(); ++i)
    if (const auto* block = dynamic_cast<const TGeneralList*>(Blocks.Items(i))) count(*block);
  return kinds;
}

std::string TDXFDrawing::UndrawnWarning() const {
  // A made-up file may hold thousands of made-up keywords of any length: the message stays short.
  constexpr size_t kShownKinds = 10;
  constexpr size_t kKeywordLength = 40;
  const auto kinds = UndrawnKinds();
  if (kinds.empty()) return "";
  std::string text = FileName + " holds entities that are not drawn: ";
  for (size_t i = 0; i < kinds.size() && i < kShownKinds; ++i) {
    if (i > 0) text += ", ";
    // Keywords are ASCII; anything else is shown as "?", so the text stays one line of the
    // same encoding as the file name whatever the file holds.
    std::string keyword = kinds[i].first.substr(0, kKeywordLength);
    for (char& c : keyword)
      if (c < ' ' || c > '~') c = '?';
    text += std::to_string(kinds[i].second) + " " + (keyword.empty() ? std::string("\"\"") : keyword);
  }
  if (kinds.size() > kShownKinds)
    text += " and " + std::to_string(kinds.size() - kShownKinds) + " kinds more";
  return text + ".";
}

void TDXFDrawing::SaveToFile(const std::string&) { throw std::logic_error("DXF drawings are not written."); }

bool TDXFDrawing::Shown(const TGeneralObject& entity) const {
  if (dynamic_cast<const TDXFDimension*>(&entity)) return ShowDimensions;
  if (dynamic_cast<const TDXFText*>(&entity) || dynamic_cast<const TDXFMText*>(&entity)) return ShowText;
  return true;
}

void TDXFDrawing::Draw(TCanvas2D& canvas) {
  PreparePen(canvas);
  for (int32_t i = 0; i < Count(); ++i) {
    TGeneralObject& entity = *Items(i);
    if (FProfile->FilterInDraw ? !Shown(entity) : InsertsOnly && !dynamic_cast<TDXFInsert*>(&entity))
      continue;
    entity.Draw(canvas);
  }
}

void TDXFDrawing::DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) {
  PreparePen(canvas);
  for (int32_t i = 0; i < Count(); ++i) {
    TGeneralObject& entity = *Items(i);
    if (Shown(entity)) entity.DrawTransformed(canvas, transform);
  }
}

void TDXFDrawing::DrawPlaced(TCanvas2D& canvas) {
  TDXFTransForm placement;
  if (FProfile->OwnPlacement) placement = Transform;
  DrawTransformed(canvas, placement);
}

void TDXFDrawing::DrawAt(TCanvas2D& canvas, double x, double y, double angle) {
  TDXFTransForm pose;
  pose.SetAll(x, y, angle, 1, 1);
  if (FProfile->OwnPlacement) pose.Compose(Transform);
  DrawTransformed(canvas, pose);
}

}  // namespace shared
