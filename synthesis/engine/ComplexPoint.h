// TComplexPoint and TComplexPointList: the point that knows its place in a list, and the owning,
// capacity-bounded list from which every point collection of the synthesis engine derives.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/PaintSurface.h"

namespace vesk {

class TComplexPointList;

class TComplexPoint : public shared::TComplex {
 public:
  TComplexPoint() = default;
  TComplexPoint(double x, double y) : TComplex(x, y) {}
  // A copy would claim a place in a list that does not hold it; Clone and Assign copy values.
  TComplexPoint(const TComplexPoint&) = delete;
  TComplexPoint& operator=(const TComplexPoint&) = delete;

  // The point record: version line, Index, the "[Vector]" record, Inf. A point inside a list
  // keeps its place as Index whatever the record says.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) const override;
  // X, Y, and Inf from a point (false from a plain vector); sets Modified.
  TComplex& Assign(const TComplex& source) override;
  void Clear() override;
  TComplexPoint* Clone() const override;
  void Zero() override;

  virtual bool IsNear(const TComplex& point, double tolerance) const;
  virtual void Draw(shared::TCanvas2D& canvas) const;
  virtual std::string GetName() const;

  int32_t Index() const { return fIndex; }
  TComplexPointList* Owner() const { return fOwner; }
  bool IsSelected() const;

  // X and Y are then a direction, not a position.
  bool Inf = false;
  // Writing saves the state the flag stands for, so a const write clears it.
  mutable bool Modified = false;

 protected:
  // The class named in this record's read error.
  virtual const char* ClassName() const { return "TComplexPoint"; }

 private:
  friend class TComplexPointList;
  int32_t fIndex = 0;
  TComplexPointList* fOwner = nullptr;
};

// Bounds, in pixels, within which a list's marker half-size and label offset are read: a
// screen shows nothing beyond them, and the drawing adds them to screen positions.
constexpr int32_t kMaxMarkerSize = 10000;
constexpr int32_t kMaxLabelOffset = 10000;

class TComplexPointList {
 public:
  explicit TComplexPointList(int32_t capacity);
  TComplexPointList(const TComplexPointList&) = delete;
  TComplexPointList& operator=(const TComplexPointList&) = delete;
  virtual ~TComplexPointList() = default;

  // Clears first; a wrong section line or an item count outside 0..Capacity raises
  // "File read error in TComplexPointList !".
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out);
  // Items beyond this list's capacity are not copied.
  virtual void Assign(const TComplexPointList& source);
  // n new items of the list's item class.
  virtual void AddNew(int32_t n);
  // Takes the item and answers it as a member of the list; on a full list the item is freed and
  // the answer is nullptr (also for no item).
  virtual TComplexPoint* Add(std::unique_ptr<TComplexPoint> item);
  virtual void Delete(int32_t i);
  virtual void DeleteSelected();
  // Resets ConnectEnds as well. With KeepSpare the items are kept for TakeSpare.
  virtual void Clear();
  // An item of the list's class for Add: one that a Clear took off (old values left in it) or a
  // new one. A list refilled over and over, such as a candidate's path, allocates only once.
  std::unique_ptr<TComplexPoint> TakeSpare();
  virtual int32_t IndexOf(const TComplexPoint* item) const;
  virtual bool IsValidIndex(int32_t i) const;
  // The highest index whose item is near the point; 0 when none.
  virtual int32_t FindNear(const shared::TComplex& point, double tolerance) const;
  virtual bool SelectNear(const shared::TComplex& point, double tolerance);
  virtual void Select(int32_t i);
  virtual void Deselect();
  virtual void SelectNext();
  virtual void SelectPrevious();
  virtual void Draw(shared::TCanvas2D& canvas) const;

  // Item i (1-based); nullptr outside 1..Count.
  TComplexPoint* Items(int32_t i) const;
  int32_t Count() const { return int32_t(fItems.size()); }
  int32_t Capacity() const { return fCapacity; }
  TComplexPoint* Selected() const { return fSelected; }
  bool IsModified() const;
  void SetModified(bool value);
  bool IsEmpty() const { return Count() < 1; }

  std::string Name = "Items";
  bool SelectOnAdd = true;
  bool KeepSpare = false;
  bool Visible = true;
  bool Connect = false;
  bool ConnectEnds = false;
  bool ShowPoints = true;
  bool ShowLabels = false;
  int32_t TextOffset = 8;
  uint8_t MarkerType = 0;
  int32_t MarkerSize = 3;
  shared::TColor Color = shared::kBlack;

 protected:
  // The item class of AddNew; subclasses give theirs.
  virtual std::unique_ptr<TComplexPoint> NewItem() const;

  bool fModified = false;

 private:
  // The ten display values, listed once for Read and Write.
  template <class Io>
  void DisplayFields(Io& io);

  int32_t fCapacity;
  std::vector<std::unique_ptr<TComplexPoint>> fItems;
  std::vector<std::unique_ptr<TComplexPoint>> fSpare;
  TComplexPoint* fSelected = nullptr;
};

// Twice the area that the polyline through items first..last (1-based) sweeps about the origin:
// for a closed polyline, twice the area it encloses, positive counter-clockwise.
double TwiceSweptArea(const TComplexPointList& list, int32_t first, int32_t last);

}  // namespace vesk
