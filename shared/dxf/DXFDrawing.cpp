// Loading and drawing whole DXF drawings.
#include "shared/dxf/DXFDrawing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "shared/Complex.h"

namespace shared {

namespace {

constexpr const char* kDefaultName = "Untitled";

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

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
