// The solution list: ranking, the views kept in step, the graph writers and the record.
#include "synthesis/engine/MechanismList.h"

#include <algorithm>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/ProjectText.h"

namespace vesk {

using shared::TComplex;

const std::array<const char*, TMechanismList::kGraphKinds> kGraphCaptions = {
    "Path Error", "Path",  "Velocity",       "Acceleration",       "Output",       "Output Velocity",
    "Output Acceleration", "Input", "Input Velocity", "Input Acceleration", "Ratio Out:In", "Transmission Angle"};

TMechanismList::TMechanismList() = default;

TMechanismList::~TMechanismList() {
  fDestroying = true;
  Current = nullptr;
  for (auto& item : fItems) item.reset();
}

void TMechanismList::BeginUpdate() {
  if (ListView) ListView->BeginUpdate();
}

void TMechanismList::EndUpdate() {
  if (ListView) ListView->EndUpdate();
}

void TMechanismList::Clear() {
  BeginUpdate();
  SetCurrent(nullptr);
  for (int32_t i = 0; i < fCount; ++i) fItems[size_t(i)].reset();
  fCount = 0;
  if (ListView) ListView->Clear();
  EndUpdate();
  Generated = 0;
  Modified = false;
}

void TMechanismList::Draw(shared::TCanvas2D& canvas) {
  if (Current) Current->Draw(canvas);
}

int32_t TMechanismList::IndexOf(const TMechanism* mechanism) const {
  if (!mechanism) return 0;
  for (int32_t i = 0; i < fCount; ++i)
    if (fItems[size_t(i)].get() == mechanism) return i + 1;
  return 0;
}

void TMechanismList::SetCurrent(TMechanism* mechanism) {
  if (Current == mechanism) return;
  Current = mechanism;
  if (fDestroying) return;
  UpdateViews();
  if (OnCurrentChange) OnCurrentChange();
}

void TMechanismList::Select(int32_t i) {
  if (IsValidIndex(i)) SetCurrent(Items(i));
}

void TMechanismList::Unselect() { SetCurrent(nullptr); }

void TMechanismList::Append(std::unique_ptr<TMechanism> mechanism) {
  if (!mechanism || fCount >= kCapacity) return;
  fItems[size_t(fCount++)] = std::move(mechanism);
  Modified = true;
}

void TMechanismList::Delete(int32_t i) {
  if (!IsValidIndex(i)) return;
  TMechanism* item = Items(i);
  if (Current == item) SetCurrent(nullptr);
  item->ListItem = nullptr;
  fItems[size_t(i - 1)].reset();
  std::rotate(fItems.begin() + (i - 1), fItems.begin() + i, fItems.begin() + fCount);
  --fCount;
  Modified = true;
}

bool TMechanismList::IsModified() const {
  if (Modified) return true;
  for (int32_t i = 1; i <= fCount; ++i)
    if (Items(i)->IsModified()) return true;
  return false;
}

std::unique_ptr<TMechanism> TMechanismList::CreateMechanism() const { return NewMechanism(NewType); }

int32_t TMechanismList::FindInsertPosition(double total) const {
  for (int32_t i = 1; i <= fCount; ++i)
    if (Items(i)->Error.Total > total) return i;
  return fCount < kCapacity ? fCount + 1 : -1;
}

void TMechanismList::RebindRows(int32_t first, int32_t last) {
  if (!ListView) return;
  for (int32_t k = std::max(first, 1); k <= std::min(last, fCount); ++k) {
    TMechanism* item = Items(k);
    item->ListItem = k - 1 < ListView->RowCount() ? ListView->Row(k - 1) : nullptr;
    item->UpdateListItem();
  }
}

void TMechanismList::InsertAt(int32_t position, std::unique_ptr<TMechanism> mechanism) {
  if (!mechanism) return;
  if (fCount == kCapacity) {
    Delete(kCapacity);  // the view keeps its 50 rows
  } else if (ListView) {
    ListView->AddRow();
  }
  position = std::clamp(position, 1, fCount + 1);
  fItems[size_t(fCount)] = std::move(mechanism);
  ++fCount;
  std::rotate(fItems.begin() + (position - 1), fItems.begin() + (fCount - 1), fItems.begin() + fCount);
  Modified = true;
  BeginUpdate();
  RebindRows(position, fCount);
  EndUpdate();
}

void TMechanismList::AddCandidate(std::unique_ptr<TMechanism> mechanism) {
  if (!mechanism || !mechanism->Error.Valid) return;
  ++Generated;
  const int32_t position = FindInsertPosition(mechanism->Error.Total);
  if (position < 0) return;
  if (mechanism->ID == 0) mechanism->ID = Generated;
  InsertAt(position, std::move(mechanism));
  SyncListView();
}

void TMechanismList::Resort() {
  if (!Current) return;
  BeginUpdate();
  const int32_t i = FindInsertPosition(Current->Error.Total);
  const int32_t j = IndexOf(Current);
  auto at = [this](int32_t k) { return fItems.begin() + (k - 1); };
  if (!IsValidIndex(i)) {
    std::rotate(at(j), at(j + 1), at(fCount + 1));
    RebindRows(j, fCount);
  } else if (j < i) {
    std::rotate(at(j), at(j + 1), at(i));
    RebindRows(j, i - 1);
  } else if (i == j) {
    RebindRows(j, j);
  } else {
    std::rotate(at(i), at(j), at(j + 1));
    RebindRows(i, j);
  }
  SyncListView();
  EndUpdate();
  Modified = true;
}

void TMechanismList::DeleteSelected() {
  if (!ListView) return;
  const int32_t r = ListView->SelectedRow();
  if (r < 0) return;
  BeginUpdate();
  ListView->DeleteRow(r);
  Delete(r + 1);
  EndUpdate();
  if (fCount > 0) {
    Select(std::min(r + 1, fCount));
    SyncListView();
  }
}

void TMechanismList::SelectFromListView() {
  if (!ListView) return;
  const int32_t r = ListView->SelectedRow();
  if (r >= 0) Select(r + 1);
}

void TMechanismList::SyncListView() {
  if (!ListView) return;
  ListView->BeginUpdate();
  ListView->SetSelectedRow(Current ? IndexOf(Current) - 1 : -1);
  ListView->EndUpdate();
}

void TMechanismList::RebuildListView() {
  if (!ListView) return;
  ListView->BeginUpdate();
  ListView->Clear();
  for (int32_t k = 1; k <= fCount; ++k) {
    Items(k)->ListItem = ListView->AddRow();
    Items(k)->UpdateListItem();
  }
  SyncListView();
  ListView->EndUpdate();
}

std::pair<int32_t, int32_t> TMechanismList::HitTest(const TComplex& point, double tolerance) const {
  if (!Current) return {0, 0};
  if (const int32_t i = Current->Joints.FindNear(point, tolerance)) return {1, i};
  if (const int32_t i = Current->PathPoints.FindNear(point, tolerance)) return {4, i};
  if (const int32_t i = Current->PrecisionPoints.FindNear(point, tolerance)) return {2, i};
  if (const int32_t i = Current->Links.FindNear(point, tolerance / 2)) return {3, i};
  return {0, 0};
}

void TMechanismList::ApplyInputFunctionToAll() {
  for (int32_t i = 1; i <= fCount; ++i) Items(i)->ApplyDefaultInputFunction();
}

TUndoOptimize TMechanismList::UndoOptimize(const TSpline* curve, TAreaList* groundAreas,
                                           TAreaList* couplerAreas) {
  if (!Current) return TUndoOptimize::NothingToUndo;
  const TUndoOptimize undone = Current->UndoOptimize(curve, groundAreas, couplerAreas);
  Resort();
  UpdateViews();
  return undone;
}

TDrop TMechanismList::DropJoint(const shared::TComplex& point, const TSpline* curve,
                                const TAreaList* groundAreas, const TAreaList* couplerAreas) {
  if (!Current) return TDrop::Unchanged;
  const TDrop drop = Current->DropJoint(point, curve, groundAreas, couplerAreas);
  if (drop != TDrop::Taken) return drop;
  // Every total in the list describes the linkage it names.
  Resort();
  UpdateViews();
  return drop;
}

void TMechanismList::UpdateViews() {
  if (Current)
    FillPropertiesGrid();
  else
    ClearGrid();
  DrawGraph();
}

void TMechanismList::ClearGrid() {
  if (!Grid) return;
  for (int32_t row = 0; row < Grid->RowCount(); ++row)
    for (int32_t col = 0; col < Grid->ColCount(); ++col) Grid->SetCell(col, row, "");
}

void TMechanismList::SelectGridRow() {
  if (!Grid) return;
  int32_t row = -1;
  if (Current) {
    if (const TJoint* joint = Current->Joints.GetSelectedJoint()) {
      row = FirstJointRow + Current->Joints.IndexOf(joint) - 1;
    } else if (const TLink* link = Current->Links.Selected()) {
      row = FirstLinkRow;
      for (int32_t k = 1; k < Current->Links.IndexOf(link); ++k) {
        const int32_t n = Current->Links.GetLink(k)->JointCount();
        row += n * (n - 1) / 2;
      }
    }
  }
  Grid->SelectRow(row);
}

void TMechanismList::FillPropertiesGrid() {
  if (!Grid) return;
  ClearGrid();
  if (!Current) return;
  const shared::TConvert& units = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  const std::string length = units.UnitLabel(shared::cuLength);
  const std::string angle = units.UnitLabel(shared::cuAngle);
  auto cell = [this](int32_t col, int32_t row, const std::string& text) {
    if (row < Grid->RowCount() && col < Grid->ColCount()) Grid->SetCell(col, row, text);
  };
  auto point = [&](int32_t row, const TComplex& p) {
    if (polar) {
      cell(1, row, units.FormatSI(shared::cuLength, p.Abs()));
      cell(2, row, units.FormatSI(shared::cuAngle, p.Arg()));
    } else {
      cell(1, row, units.FormatSI(shared::cuLength, p.X));
      cell(2, row, units.FormatSI(shared::cuLength, p.Y));
    }
  };

  cell(0, 0, Current->Name);
  cell(1, 0, polar ? "R " + length : "x " + length);
  cell(2, 0, polar ? "Angle " + angle : "y " + length);
  FirstJointRow = 1;
  int32_t row = FirstJointRow;
  for (int32_t i = 1; i <= Current->Joints.Count(); ++i, ++row) {
    const TJoint& joint = *Current->Joints.GetJoint(i);
    cell(0, row, "Joint " + joint.GetName());
    if (!joint.Inf) point(row, joint);
  }
  ++row;
  cell(0, row, "Links");
  cell(1, row, "Joints");
  cell(2, row, "Length " + length);
  FirstLinkRow = ++row;
  for (int32_t k = 1; k <= Current->Links.Count(); ++k) {
    const TLink& link = *Current->Links.GetLink(k);
    if (link.JointCount() >= 2) cell(0, row, "Link " + std::to_string(k));
    for (int32_t a = 1; a <= link.JointCount(); ++a)
      for (int32_t b = a + 1; b <= link.JointCount(); ++b, ++row) {
        cell(1, row, link.Joint(a)->GetName() + link.Joint(b)->GetName());
        cell(2, row, units.FormatSI(shared::cuLength, link.JointDistance(a, b, false)));
      }
  }
  ++row;
  cell(0, row, "Time " + units.UnitLabel(shared::cuTime));
  cell(1, row++, units.FormatSI(shared::cuTime, Current->InputFunction.Tmax()));
  cell(0, row, "Input " + angle);
  cell(1, row++, units.FormatSI(shared::cuAngle, Current->InputFunction.Xmax()));
  if (Current->MechanismType == kFiveBarType) {
    cell(0, row, "Gear Ratio");
    cell(1, row++, units.FormatSI(shared::cuNone, Current->Links.Ratio));
  }
  if (Current->MechanismType == kSliderType) {
    const TLink* slider = Current->Links.GetLink(4);
    if (const TComplexLine* guide = slider ? slider->GuideLine() : nullptr) {
      cell(0, row, "Slider P1");
      point(row++, guide->Point1);
      cell(0, row, "Slider P2");
      point(row++, guide->Point2);
    }
  }
}

void TMechanismList::DrawGraph() {
  if (fDestroying || !Graph) return;
  TGraphPaintBox& graph = *Graph;
  graph.Clear();
  const bool xIsTime = AppOptions.XIsTime;
  graph.XTitle = xIsTime ? "Time" : "Input Rotation";
  graph.XUnit = xIsTime ? shared::cuTime : shared::cuAngle;
  struct TWriter {
    const char* Title;
    int32_t Unit;
  };
  static constexpr std::array<TWriter, kGraphKinds> kWriters = {{
      {"Error", shared::cuLength},
      {"Path", shared::cuLength},
      {"Path Velocity", shared::cuVel},
      {"Path Acceleration", shared::cuAcc},
      {"Output Link Rotation", shared::cuAngle},
      {"Output Link Velocity", shared::cuAngVel},
      {"Output Link Acceleration", shared::cuAngAcc},
      {"Input Link Rotation", shared::cuAngle},
      {"Input Link Velocity", shared::cuAngVel},
      {"Input Link Acceleration", shared::cuAngAcc},
      {"Ratio Out:In", shared::cuNone},
      {"Transmission Angle", shared::cuAngle},
  }};
  const int32_t kind = std::clamp(GraphKind, 0, kGraphKinds - 1);
  graph.YTitle = kWriters[size_t(kind)].Title;
  graph.YUnit = kWriters[size_t(kind)].Unit;
  if (!Current) return;
  const TInputFunction& input = Current->InputFunction;
  if (kind >= 7 && kind <= 9) {
    for (int32_t i = 0; i <= input.Steps(); ++i) {
      const double x = xIsTime ? input.TimeOfStep(i) : input.PositionOfStep(i);
      const double y = kind == 7 ? input.PositionOfStep(i)
                       : kind == 8 ? input.VelocityOfStep(i)
                                   : input.AccelerationOfStep(i);
      graph.AddPoint(x, y);
    }
  } else {
    Current->RecalcPathTimes();
    const TPathPointList& points = Current->PathPoints;
    const double dt = input.TimeStep();
    for (int32_t i = 1; i <= points.Count(); ++i) {
      const TPathPoint& p = *points.GetPathPoint(i);
      const double omega = input.Velocity(p.Time);
      double y = 0;
      switch (kind) {
        case 0: y = p.Deviation; break;
        case 1: y = p.PathLength; break;
        case 2: y = p.PathVelocity(omega); break;
        case 3: y = points.PathAcceleration(i, dt, omega); break;
        case 4: y = p.Out; break;
        case 5: y = p.OutputInputRatio() * omega; break;
        case 6: y = points.OutputAcceleration(i, dt, omega); break;
        case 10: y = p.OutputInputRatio(); break;
        default: y = p.TransAngle; break;
      }
      graph.AddPoint(xIsTime ? p.Time : p.In, y);
    }
  }
  graph.SetCursor(xIsTime ? input.CurrentTime() : input.CurrentPosition());
}

void TMechanismList::Write(std::ostream& out) {
  if (Progress) Progress->SetRange(fCount, 1);
  TProjectWriter w(out);
  w.Line("[MechanismList]");
  w.Version();
  w.Int(fCount);
  for (int32_t i = 1; i <= fCount; ++i) {
    TMechanism& item = *Items(i);
    item.RestoreJoints();
    w.Int(item.MechanismType);
    item.Write(out);
    if (Progress) Progress->StepIt();
  }
  Modified = false;
}

void TMechanismList::ReadItems(std::istream& in) {
  TProjectReader r(in, "TMechanismList");
  r.Section("[MechanismList]");
  r.Version();
  // The list holds 50; a longer record is not one this program wrote.
  const int32_t n = r.Int(0, kCapacity);
  if (Progress) Progress->SetRange(n, 1);
  for (int32_t k = 0; k < n; ++k) {
    TProjectReader t(in, "TMechanism");
    const int32_t type = t.Int(0, 255);
    if (!IsStoredMechanismType(uint8_t(type))) t.Fail();
    NewType = uint8_t(type);
    std::unique_ptr<TMechanism> mechanism = CreateMechanism();
    mechanism->Read(in);
    // The type's operations index the joints and links of its own layout.
    if (!IsSameMechanismClass(mechanism->MechanismType, uint8_t(type)) || !HasTypeLayout(*mechanism)) t.Fail();
    Generated = std::max(Generated, mechanism->ID);
    Append(std::move(mechanism));
    if (Progress) Progress->StepIt();
  }
}

void TMechanismList::Read(std::istream& in) {
  Clear();
  try {
    ReadItems(in);
  } catch (...) {
    NewType = kFourbarType;
    Clear();
    throw;
  }
  SetCurrent(fCount > 0 ? Items(1) : nullptr);
  NewType = kFourbarType;
  RebuildListView();
  Modified = false;
}

}  // namespace vesk
