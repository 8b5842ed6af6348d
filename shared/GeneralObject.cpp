// The general object and its owning list: ids, names, the current item, drawing and the plain
// text records of "[List]" files.
#include "shared/GeneralObject.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "shared/Canvas2D.h"
#include "shared/FilePath.h"
#include "shared/TextLine.h"

namespace shared {

namespace {

constexpr const char* kListHeader = "[List]";

// The number at the start of the line (leading blanks skipped); what follows it is a key.
template <typename T>
bool LeadingNumber(const std::string& line, T& value) {
  const char* p = line.data();
  const char* end = p + line.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  if (p < end && *p == '+') ++p;
  const auto [rest, error] = std::from_chars(p, end, value);
  return error == std::errc() && rest != p;
}

[[noreturn]] void RecordError(const char* key, const std::string& what) {
  throw EFileReadError(std::string("List record: ") + what + " (" + key + ")");
}

}  // namespace

std::string ReadRecordLine(std::istream& in, const char* key) {
  std::string line;
  if (!ReadTextLine(in, line)) RecordError(key, "the record ends early");
  return line;
}

int32_t ReadRecordInt(std::istream& in, const char* key, int32_t min, int32_t max) {
  const std::string line = ReadRecordLine(in, key);
  int64_t value = 0;
  if (!LeadingNumber(line, value)) RecordError(key, "\"" + line + "\" is not an integer");
  if (value < min || value > max) RecordError(key, "\"" + line + "\" is out of range");
  return int32_t(value);
}

double ReadRecordReal(std::istream& in, const char* key) {
  const std::string line = ReadRecordLine(in, key);
  double value = 0;
  if (!LeadingNumber(line, value) || !std::isfinite(value)) RecordError(key, "\"" + line + "\" is not a number");
  return value;
}

void WriteRecordLine(std::ostream& out, const std::string& line) { out << line << kLineEnd; }

// ---- TGeneralObject

void TGeneralObject::ReadFromText(std::istream& in) {
  ReadRecordLine(in, "Version");
  Id = ReadRecordInt(in, "ID", 0, kMaxRecordId);
  Name = ReadRecordLine(in, "Name");
  Pen.Color = ReadRecordInt(in, "Color");
  Pen.Mode = ReadRecordInt(in, "Mode");
  Pen.Style = ReadRecordInt(in, "Style");
  Pen.Width = ReadRecordInt(in, "Width");
  Modified = false;
}

void TGeneralObject::WriteToText(std::ostream& out) {
  WriteRecordLine(out, "0");
  WriteRecordLine(out, std::to_string(Id));
  WriteRecordLine(out, Name);
  WriteRecordLine(out, std::to_string(Pen.Color) + " Color");
  WriteRecordLine(out, std::to_string(Pen.Mode) + " Mode");
  WriteRecordLine(out, std::to_string(Pen.Style) + " Style");
  WriteRecordLine(out, std::to_string(Pen.Width) + " Width");
  Modified = false;
}

void TGeneralObject::Assign(const TGeneralObject* source) {
  if (source == nullptr) return;
  Id = source->Id;
  Name = source->Name;
  Pen = source->Pen;
  Modified = true;
}

std::unique_ptr<TGeneralObject> TGeneralObject::Clone() const {
  auto copy = std::make_unique<TGeneralObject>();
  copy->Assign(this);
  return copy;
}

void TGeneralObject::MakeDefaultName() { Name = (Name.empty() ? "Item " : Name) + " " + std::to_string(Id); }

void TGeneralObject::Draw(TCanvas2D& canvas) { PreparePen(canvas); }

void TGeneralObject::DrawTransformed(TCanvas2D& canvas, const TDXFTransForm&) { PreparePen(canvas); }

bool TGeneralObject::HitTest(const TComplex&, double) const { return false; }

void TGeneralObject::UpdateExtent(TComplex&, TComplex&) const {}

bool TGeneralObject::IsSelected() const { return Owner != nullptr && Owner->Current() == this; }

uint32_t TGeneralObject::DrawColor() const { return IsSelected() ? kLime : uint32_t(Pen.Color); }

void TGeneralObject::PreparePen(TCanvas2D& canvas) const {
  const TPenStyle style = Pen.Style >= 0 && Pen.Style <= 6 ? TPenStyle(Pen.Style) : TPenStyle::Solid;
  // A width read from a file must not make the painter fill the screen line by line.
  canvas.SetPen(DrawColor(), std::clamp(Pen.Width, 0, 1000), style);
}

// ---- TGeneralList

TGeneralList::TGeneralList() = default;

TGeneralList::~TGeneralList() {
  FCurrent = nullptr;
  FItems.clear();
}

bool TGeneralList::GetModified() const {
  if (Modified) return true;
  return std::any_of(FItems.begin(), FItems.end(), [](const auto& item) { return item->GetModified(); });
}

void TGeneralList::SetModified(bool value) {
  Modified = value;
  for (auto& item : FItems) item->SetModified(value);
}

void TGeneralList::ReadFromText(std::istream& in) {
  TGeneralObject::ReadFromText(in);
  Clear();
  ReadRecordLine(in, "Version");
  const int32_t selected = ReadRecordInt(in, "Selected ID");
  const int32_t n = ReadRecordInt(in, "Count", 0, kMaxRecordCount);
  CreateItems(n);
  int32_t counter = ReadRecordInt(in, "IDCount", 0, kMaxRecordId);
  for (auto& item : FItems) {
    item->ReadFromText(in);
    item->Owner = this;
    counter = std::max(counter, item->Id);
  }
  // Ids given later must not repeat one that was read.
  IdCounter = counter;
  Select(IndexOf(FindById(selected)));
  SelectOnAdd = ReadRecordInt(in, "SelectOnAdd") != 0;
  std::string empty;
  ReadTextLine(in, empty);
  Modified = false;
}

void TGeneralList::WriteToText(std::ostream& out) {
  TGeneralObject::WriteToText(out);
  WriteRecordLine(out, "0");
  WriteRecordLine(out, std::to_string(FCurrent ? FCurrent->Id : 0) + " Selected ID");
  WriteRecordLine(out, std::to_string(Count()) + " Count");
  WriteRecordLine(out, std::to_string(IdCounter) + " IDCount");
  for (auto& item : FItems) item->WriteToText(out);
  WriteRecordLine(out, SelectOnAdd ? "1" : "0");
  WriteRecordLine(out, "");
  Modified = false;
}

void TGeneralList::Assign(const TGeneralObject* source) {
  TGeneralObject::Assign(source);
  const auto* list = dynamic_cast<const TGeneralList*>(source);
  if (list == nullptr || list == this) return;
  Clear();
  CreateItems(list->Count());
  for (int32_t i = 0; i < Count(); ++i) FItems[size_t(i)]->Assign(list->FItems[size_t(i)].get());
  Select(IndexOf(FindById(list->FCurrent ? list->FCurrent->Id : 0)));
  IdCounter = list->IdCounter;
  SelectOnAdd = list->SelectOnAdd;
}

std::unique_ptr<TGeneralObject> TGeneralList::Clone() const {
  auto copy = std::make_unique<TGeneralList>();
  copy->Assign(this);
  return copy;
}

void TGeneralList::MakeDefaultName() {
  Name = "List " + std::to_string(Id);
  for (auto& item : FItems) item->MakeDefaultName();
}

void TGeneralList::Draw(TCanvas2D& canvas) {
  PreparePen(canvas);
  for (auto& item : FItems) item->Draw(canvas);
}

void TGeneralList::DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) {
  PreparePen(canvas);
  for (auto& item : FItems) item->DrawTransformed(canvas, transform);
}

bool TGeneralList::HitTest(const TComplex& point, double tolerance) const {
  return IndexAt(point, tolerance) >= 0;
}

void TGeneralList::UpdateExtent(TComplex& min, TComplex& max) const {
  for (const auto& item : FItems) item->UpdateExtent(min, max);
}

void TGeneralList::LoadFromFile(const std::string& path) {
  Clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileReadError("Cannot open \"" + path + "\".");
  LoadFromStream(in);
}

void TGeneralList::LoadFromStream(std::istream& in) {
  Clear();
  std::string line;
  if (!ReadTextLine(in, line) || line != kListHeader) throw EFileReadError("Wrong file format!");
  ReadFromText(in);
}

void TGeneralList::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TGeneralObject>());
}

void TGeneralList::SaveToFile(const std::string& path) {
  // Written whole beside the file and then put in its place: a failed save keeps the old file.
  std::ostringstream out;
  WriteRecordLine(out, kListHeader);
  WriteToText(out);
  WriteFileReplacing(path, out.str(), ".~saving", "Cannot write \"" + path + "\": ");
}

void TGeneralList::Clear() {
  Deselect();
  FItems.clear();
  IdCounter = 0;
  Modified = true;
  FCapacity = 20;
}

TGeneralObject* TGeneralList::Add(std::unique_ptr<TGeneralObject> item) {
  if (!item) return nullptr;
  if (Count() == FCapacity) FCapacity += 10;
  Deselect();
  TGeneralObject* added = item.get();
  FItems.push_back(std::move(item));
  added->Owner = this;
  added->Id = ++IdCounter;
  added->MakeDefaultName();
  Modified = true;
  if (SelectOnAdd) Select(Count() - 1);
  return added;
}

void TGeneralList::Delete(int32_t index) {
  if (!ValidIndex(index)) return;
  if (FItems[size_t(index)].get() == FCurrent) FCurrent = nullptr;
  FItems.erase(FItems.begin() + index);
  Modified = true;
}

void TGeneralList::DeleteCurrent() {
  if (FCurrent == nullptr) return;
  const int32_t index = IndexOf(FCurrent);
  if (Count() < 2)
    Deselect();
  else
    SelectPrevious();
  Delete(index);
}

TGeneralObject* TGeneralList::FindById(int32_t id) const {
  for (const auto& item : FItems)
    if (item->Id == id) return item.get();
  return nullptr;
}

TGeneralObject* TGeneralList::FindByName(const std::string& name) const {
  for (const auto& item : FItems)
    if (item->Name == name) return item.get();
  return nullptr;
}

int32_t TGeneralList::IndexAt(const TComplex& point, double tolerance) const {
  if (FCurrent != nullptr && FCurrent->HitTest(point, tolerance)) return IndexOf(FCurrent);
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (FItems[size_t(i)]->HitTest(point, tolerance)) return i;
  return -1;
}

void TGeneralList::SelectAt(const TComplex& point, double tolerance) { Select(IndexAt(point, tolerance)); }

TGeneralObject* TGeneralList::Items(int32_t i) const {
  if (!ValidIndex(i)) throw std::out_of_range("List index " + std::to_string(i) + " out of bounds");
  return FItems[size_t(i)].get();
}

int32_t TGeneralList::IndexOf(const TGeneralObject* item) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (FItems[size_t(i)].get() == item) return i;
  return -1;
}

void TGeneralList::Select(int32_t i) { FCurrent = ValidIndex(i) ? FItems[size_t(i)].get() : nullptr; }

void TGeneralList::SelectPrevious() {
  if (FCurrent == nullptr) return;
  const int32_t i = IndexOf(FCurrent);
  Select(i > 0 ? i - 1 : Count() - 1);
}

}  // namespace shared
