// TGeneralObject and TGeneralList: the named, numbered, drawable object that the DXF classes and
// several synthesis classes build on, and the owning list of such objects with its "[List]" files.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Complex.h"

namespace shared {

class TCanvas2D;
class TDXFTransForm;
class TGeneralList;

// The object's own pen. Mode and style stay the numbers of the record (4 is copy; styles 0 solid,
// 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 clear, 6 inside frame) so records round-trip.
struct TGeneralPen {
  int32_t Color = 0;  // red in the low byte
  int32_t Mode = 4;
  int32_t Style = 0;
  int32_t Width = 1;
  bool operator==(const TGeneralPen&) const = default;
};

inline constexpr int32_t kPenModeCopy = 4;
// Ids and counts read from a record stay below this, so giving the next id cannot overflow.
inline constexpr int32_t kMaxRecordId = 1000000000;
inline constexpr int32_t kMaxRecordCount = 100000;

// Line readers of the text records; each raises EFileReadError naming the key when the stream
// ends early or the line does not start with a number in range.
std::string ReadRecordLine(std::istream& in, const char* key);
int32_t ReadRecordInt(std::istream& in, const char* key, int32_t min = INT32_MIN, int32_t max = INT32_MAX);
double ReadRecordReal(std::istream& in, const char* key);
// One line with the CR LF line end of every writer.
void WriteRecordLine(std::ostream& out, const std::string& line);

class TGeneralObject {
 public:
  TGeneralObject() = default;
  TGeneralObject(const TGeneralObject&) = delete;
  TGeneralObject& operator=(const TGeneralObject&) = delete;
  virtual ~TGeneralObject() = default;

  bool Modified = false;
  int32_t Id = 0;
  std::string Name;
  // The list that holds this object; not owned.
  TGeneralList* Owner = nullptr;
  TGeneralPen Pen;

  virtual bool GetModified() const { return Modified; }
  virtual void SetModified(bool value) { Modified = value; }
  // Seven lines: version, id, name, colour, mode, style, width. Reading and writing clear Modified.
  virtual void ReadFromText(std::istream& in);
  virtual void WriteToText(std::ostream& out);
  // Copies Id, Name and the pen and sets Modified; a missing source is ignored.
  virtual void Assign(const TGeneralObject* source);
  virtual std::unique_ptr<TGeneralObject> Clone() const;
  // Name := (Name, or "Item " when empty) + " " + Id.
  virtual void MakeDefaultName();
  // The base prepares the canvas pen and draws nothing.
  virtual void Draw(TCanvas2D& canvas);
  virtual void DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform);
  virtual bool HitTest(const TComplex& point, double tolerance) const;
  // Widens Min and Max, which the caller seeds; the base adds nothing.
  virtual void UpdateExtent(TComplex& min, TComplex& max) const;

  // True when the owner's current item is this object.
  bool IsSelected() const;

 protected:
  // Colour, width and style of the pen on the canvas, lime when selected; a style outside 0..6
  // draws solid.
  void PreparePen(TCanvas2D& canvas) const;
  // The pen colour that PreparePen gives, for text and other non-pen drawing.
  uint32_t DrawColor() const;
};

class TGeneralList : public TGeneralObject {
 public:
  TGeneralList();
  ~TGeneralList() override;

  int32_t Count() const { return int32_t(FItems.size()); }
  // The last id given; 0 at creation and after Clear.
  int32_t IdCounter = 0;
  // 20 at creation and after Clear, 10 more each time a full list receives an item.
  int32_t Capacity() const { return FCapacity; }
  TGeneralObject* Current() const { return FCurrent; }
  bool SelectOnAdd = true;

  bool GetModified() const override;
  void SetModified(bool value) override;
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) override;
  void Assign(const TGeneralObject* source) override;
  std::unique_ptr<TGeneralObject> Clone() const override;
  void MakeDefaultName() override;
  void Draw(TCanvas2D& canvas) override;
  void DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) override;
  bool HitTest(const TComplex& point, double tolerance) const override;
  void UpdateExtent(TComplex& min, TComplex& max) const override;

  // Clear, then the "[List]" file when it exists; a missing file leaves the list empty. A first
  // line other than "[List]" raises "Wrong file format!".
  virtual void LoadFromFile(const std::string& path);
  // Adds n new items of the list's item class; subclasses make their own class.
  virtual void CreateItems(int32_t n);
  // "[List]", then the list's record; the file is replaced only once the new one is whole.
  virtual void SaveToFile(const std::string& path);
  virtual void Clear();
  // Takes the item, gives it the next id and its default name; returns it.
  virtual TGeneralObject* Add(std::unique_ptr<TGeneralObject> item);
  // Nothing for an invalid index.
  virtual void Delete(int32_t index);
  // The previous item (wrapping to the last) stays current.
  virtual void DeleteCurrent();
  virtual TGeneralObject* FindById(int32_t id) const;
  // Exact, case-sensitive.
  virtual TGeneralObject* FindByName(const std::string& name) const;
  // The current item when it is hit, else the topmost (last) hit item; -1 for none.
  virtual int32_t IndexAt(const TComplex& point, double tolerance) const;
  virtual void SelectAt(const TComplex& point, double tolerance);

  // Clear, then a "[List]" text from the stream, as LoadFromFile reads a file.
  void LoadFromStream(std::istream& in);
  // Raises std::out_of_range outside 0..Count-1.
  TGeneralObject* Items(int32_t i) const;
  int32_t IndexOf(const TGeneralObject* item) const;
  bool ValidIndex(int32_t i) const { return i >= 0 && i < Count(); }
  // An invalid index deselects.
  void Select(int32_t i);
  void Deselect() { FCurrent = nullptr; }
  void SelectPrevious();
  bool IsEmpty() const { return Count() < 1; }

 private:
  std::vector<std::unique_ptr<TGeneralObject>> FItems;
  int32_t FCapacity = 20;
  TGeneralObject* FCurrent = nullptr;
};

}  // namespace shared
