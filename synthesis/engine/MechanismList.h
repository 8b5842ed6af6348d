// TMechanismList: the ranked list of at most 50 generated solutions with one current mechanism,
// and the views it keeps in step (list view, properties grid, graph), all behind small
// interfaces that the main window's widgets implement.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "synthesis/engine/Mechanism.h"

namespace vesk {

class TGraphPaintBox;
class TSpline;
class TAreaList;

// The main window's list of solutions; rows are 0-based.
class TListView {
 public:
  virtual ~TListView() = default;
  // Calls nest; the view repaints once at the outermost EndUpdate.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void Clear() = 0;
  virtual int32_t RowCount() const = 0;
  // Appends an empty row and returns it.
  virtual TListRow* AddRow() = 0;
  virtual TListRow* Row(int32_t row) = 0;
  virtual void DeleteRow(int32_t row) = 0;
  // -1 for none.
  virtual int32_t SelectedRow() const = 0;
  // The selected and the focused row; -1 clears both.
  virtual void SetSelectedRow(int32_t row) = 0;
};

// The main window's properties grid.
class TPropertiesGrid {
 public:
  virtual ~TPropertiesGrid() = default;
  virtual int32_t ColCount() const = 0;
  virtual int32_t RowCount() const = 0;
  virtual void SetCell(int32_t col, int32_t row, const std::string& text) = 0;
  // Columns 0..ColCount of the row; -1 for no selection.
  virtual void SelectRow(int32_t row) = 0;
};

// The file-progress dialog while a record is written or read.
class TFileProgress {
 public:
  virtual ~TFileProgress() = default;
  virtual void SetRange(int32_t maximum, int32_t step) = 0;
  virtual void StepIt() = 0;
};

class TMechanismList {
 public:
  static constexpr int32_t kCapacity = 50;
  static constexpr int32_t kGraphKinds = 12;
  static constexpr int32_t kGridCols = 4, kGridRows = 35;

  TMechanismList();
  virtual ~TMechanismList();
  TMechanismList(const TMechanismList&) = delete;
  TMechanismList& operator=(const TMechanismList&) = delete;

  // "[MechanismList]", version, count, then per mechanism its type on a line of its own and its
  // record. A wrong first line, a count outside 0..50 or a mechanism of another type, layout or
  // type line refuses the file and leaves the list empty.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out);
  virtual void Clear();
  virtual void Draw(shared::TCanvas2D& canvas);
  virtual int32_t IndexOf(const TMechanism* mechanism) const;
  virtual bool IsValidIndex(int32_t i) const { return i >= 1 && i <= fCount; }
  virtual void Select(int32_t i);
  virtual void Unselect();
  virtual void Append(std::unique_ptr<TMechanism> mechanism);
  virtual void Delete(int32_t i);

  int32_t Count() const { return fCount; }
  // Item i (1-based); nullptr outside 1..Count.
  TMechanism* Items(int32_t i) const { return IsValidIndex(i) ? fItems[size_t(i - 1)].get() : nullptr; }
  bool IsModified() const;
  std::unique_ptr<TMechanism> CreateMechanism() const;
  // The first position whose total is strictly greater; Count + 1 with room, else -1.
  int32_t FindInsertPosition(double total) const;
  void InsertAt(int32_t position, std::unique_ptr<TMechanism> mechanism);
  // Takes the candidate in every case.
  void AddCandidate(std::unique_ptr<TMechanism> mechanism);
  void Resort();
  void DeleteSelected();
  void SelectFromListView();
  void SyncListView();
  void RebuildListView();
  // (kind, index): 1 joint, 4 path point, 2 precision point, 3 link; (0, 0) for nothing.
  std::pair<int32_t, int32_t> HitTest(const shared::TComplex& point, double tolerance) const;
  void ApplyInputFunctionToAll();
  // The current solution's Undo Optimize, then Resort and UpdateViews.
  TUndoOptimize UndoOptimize(const TSpline* curve, TAreaList* groundAreas, TAreaList* couplerAreas);
  // The current solution's DropJoint; a drop taken is sorted to its new total's place and the
  // views follow.
  TDrop DropJoint(const shared::TComplex& point, const TSpline* curve, const TAreaList* groundAreas,
                  const TAreaList* couplerAreas);
  void UpdateViews();
  void ClearGrid();
  void SelectGridRow();
  void FillPropertiesGrid();
  void DrawGraph();

  TMechanism* Current = nullptr;
  uint8_t NewType = kFourbarType;
  std::string Name = "Mechanisms";
  int32_t Generated = 0;
  int32_t GraphKind = 0;
  bool Modified = false;
  int32_t FirstJointRow = 1;
  int32_t FirstLinkRow = 0;
  // Not owned; the main window sets them.
  TListView* ListView = nullptr;
  TPropertiesGrid* Grid = nullptr;
  TGraphPaintBox* Graph = nullptr;
  TFileProgress* Progress = nullptr;
  // Called when Current has changed or left the list (pushed out, deleted, cleared, read), after
  // the grid and the graph show the new one or nothing; the main window repaints its views.
  std::function<void()> OnCurrentChange;

 private:
  // Every change of Current goes through here, so the grid and the graph never show a solution
  // that the list no longer holds.
  void SetCurrent(TMechanism* mechanism);
  void BeginUpdate();
  void EndUpdate();
  // Binds item k to row k - 1 and refills that row, for k in first..last.
  void RebindRows(int32_t first, int32_t last);
  void ReadItems(std::istream& in);

  std::array<std::unique_ptr<TMechanism>, kCapacity> fItems;
  int32_t fCount = 0;
  bool fDestroying = false;
};

// The graph tab captions by kind.
extern const std::array<const char*, TMechanismList::kGraphKinds> kGraphCaptions;

}  // namespace vesk
