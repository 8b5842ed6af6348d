// Points and point lists: records, the list invariant, capacity, selection, near tests, drawing.
#include "synthesis/engine/ComplexPoint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::EFileReadError;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

// Counts its own destruction, to see that a list frees what it refuses or deletes.
struct TCountedPoint : TComplexPoint {
  explicit TCountedPoint(int* freed) : fFreed(freed) {}
  ~TCountedPoint() override { ++*fFreed; }
  int* fFreed;
};

std::unique_ptr<TComplexPoint> At(double x, double y) { return std::make_unique<TComplexPoint>(x, y); }

std::string Written(TComplexPointList& list) {
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

std::string Written(const TComplexPoint& p) {
  std::ostringstream out;
  p.WriteToText(out);
  return out.str();
}

// A list record of two points whose record lines for the item count and the indices are given.
std::string TwoPointList(const std::string& count = "2", const std::string& index1 = "1",
                         const std::string& index2 = "2") {
  return Lines({"[List]",
                "0",
                "Ground Pivot Areas",
                "1 SelectOnAdd",
                "1 Visible",
                "1 Connect",
                "1 ConnectEnds",
                "0 ShowPoints",
                "1 ShowLabels",
                "12 TextOffset",
                "5 MarkerType",
                "2 MarkerSize",
                "8421376 Color",
                count,
                "0",
                index1,
                "[Vector]",
                "2  1.50000000000000E+0000 -2.00000000000000E+0000",
                "0 Inf",
                "0",
                index2,
                "[Vector]",
                "2  0.00000000000000E+0000  1.00000000000000E+0010",
                "1 Inf"});
}
const std::string kTwoPointList = TwoPointList();

TEST(ComplexPointTest, RecordRoundTripsAndAFreePointTakesItsIndex) {
  TComplexPoint p;
  std::istringstream in(Lines({"0", "7", "[Vector]", "2 1.5 -2", "1 Inf"}));
  p.Modified = true;
  p.ReadFromText(in);
  EXPECT_EQ(p.Index(), 7);
  EXPECT_EQ(p.X, 1.5);
  EXPECT_EQ(p.Y, -2);
  EXPECT_TRUE(p.Inf);
  EXPECT_FALSE(p.Modified);
  const std::string text = Written(p);
  EXPECT_EQ(text,
            Lines({"0", "7", "[Vector]", "2  1.50000000000000E+0000 -2.00000000000000E+0000", "1 Inf"}));
  TComplexPoint q;
  std::istringstream again(text);
  q.ReadFromText(again);
  EXPECT_EQ(Written(q), text);
}

TEST(ComplexPointTest, DamagedPointRecordsAreRefused) {
  TComplexPoint p(0.5, 0.25);
  const std::string text = Written(p);
  vesktest::ExpectDamageRefused(text, [](std::istream& in) { TComplexPoint().ReadFromText(in); });
  // The vector record inside keeps its own text; the point's lines give the point's.
  EXPECT_EQ(ReadError(Lines({"0", "x"}), [](std::istream& in) { TComplexPoint().ReadFromText(in); }),
            "File read error in TComplexPoint!");
  EXPECT_EQ(ReadError(Lines({"0", "1", "[Vector]", "2 1 1", ""}),
                      [](std::istream& in) { TComplexPoint().ReadFromText(in); }),
            "File read error in TComplexPoint!");
  EXPECT_EQ(
      ReadError(Lines({"0", "1", "[Vektor]"}), [](std::istream& in) { TComplexPoint().ReadFromText(in); }),
      "File read error in TComplex!");
}

TEST(ComplexPointTest, AssignCloneClearAndZero) {
  TComplexPoint inf(3, 4);
  inf.Inf = true;
  TComplexPoint p;
  p.Assign(inf);
  EXPECT_TRUE(p.Inf);
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(p.X, 3);
  p.Assign(TComplex(1, 2));  // a plain vector is a position
  EXPECT_FALSE(p.Inf);
  EXPECT_EQ(p.Y, 2);

  TComplexPointList list(3);
  TComplexPoint* member = list.Add(At(5, 6));
  member->Inf = true;
  std::unique_ptr<TComplex> copy(static_cast<const TComplex*>(member)->Clone());
  auto* point = dynamic_cast<TComplexPoint*>(copy.get());
  ASSERT_NE(point, nullptr);  // the base's Clone keeps the class
  EXPECT_TRUE(point->Inf);
  EXPECT_EQ(point->X, 5);
  EXPECT_EQ(point->Owner(), nullptr);
  EXPECT_EQ(point->Index(), 0);
  EXPECT_FALSE(point->IsSelected());

  member->Modified = true;
  member->Clear();
  EXPECT_FALSE(member->Inf);
  EXPECT_FALSE(member->Modified);
  EXPECT_EQ(member->Abs(), 0);
  point->Zero();
  EXPECT_FALSE(point->Inf);
  EXPECT_TRUE(point->Modified);  // Zero only clears the values
}

TEST(ComplexPointTest, IsNearIncludesTheTolerance) {
  const TComplexPoint p(1, 1);
  EXPECT_TRUE(p.IsNear(TComplex(4, 5), 5));  // 3-4-5 triangle
  EXPECT_FALSE(p.IsNear(TComplex(4, 5), 4.999));
  EXPECT_TRUE(p.IsNear(TComplex(1, 1), 0));
  EXPECT_EQ(p.GetName(), "0");
}

TEST(ComplexPointListTest, RecordRoundTripsByteForByte) {
  TComplexPointList list(20);
  std::istringstream in(kTwoPointList);
  list.Read(in);
  EXPECT_EQ(list.Name, "Ground Pivot Areas");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Connect);
  EXPECT_TRUE(list.ConnectEnds);  // read after the Clear that resets it
  EXPECT_FALSE(list.ShowPoints);
  EXPECT_EQ(list.TextOffset, 12);
  EXPECT_EQ(list.MarkerType, 5);
  EXPECT_EQ(list.MarkerSize, 2);
  EXPECT_EQ(list.Color, 0x808000u);
  EXPECT_EQ(list.Selected(), nullptr);
  EXPECT_FALSE(list.IsModified());
  EXPECT_TRUE(list.Items(2)->Inf);
  EXPECT_EQ(list.Items(2)->Y, 1e10);
  EXPECT_EQ(Written(list), kTwoPointList);
}

TEST(ComplexPointListTest, DefaultsAndEmptyRecord) {
  TComplexPointList list(5);
  EXPECT_EQ(Written(list), Lines({"[List]", "0", "Items", "1 SelectOnAdd", "1 Visible", "0 Connect",
                                  "0 ConnectEnds", "1 ShowPoints", "0 ShowLabels", "8 TextOffset",
                                  "0 MarkerType", "3 MarkerSize", "0 Color", "0"}));
}

TEST(ComplexPointListTest, ItemsTakeTheirPlaceAsIndexWhateverTheRecordSays) {
  TComplexPointList list(20);
  std::istringstream in(TwoPointList("2", "9", "9"));
  list.Read(in);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(list.Items(i)->Index(), i);
    EXPECT_EQ(list.IndexOf(list.Items(i)), i);
  }
  EXPECT_EQ(Written(list), kTwoPointList);
}

TEST(ComplexPointListTest, CountsTheListCannotHoldAreRefused) {
  for (const char* count : {"-1", "3", "2147483647", "1.5", "many"}) {
    TComplexPointList list(2);
    list.Add(At(1, 1));
    EXPECT_EQ(ReadError(TwoPointList(count), [&](std::istream& in) { list.Read(in); }),
              "File read error in TComplexPointList !")
        << count;
    EXPECT_TRUE(list.IsEmpty());
  }
}

// The drawing adds both to screen positions: values no screen can show are refused, before the
// list takes them.
TEST(ComplexPointListTest, MarkerSizesAndTextOffsetsBeyondADrawingAreRefused) {
  struct Case {
    const char* textOffset;
    const char* markerSize;
    bool read;
  };
  const Case cases[] = {
      {"10000", "10000", true},       {"-10000", "0", true},           {"10001", "2", false},
      {"-10001", "2", false},         {"2147483647", "2", false},      {"-2147483648", "2", false},
      {"12", "10001", false},         {"12", "-1", false},             {"12", "2147483647", false},
      {"12", "-2147483648", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.textOffset) + " " + c.markerSize);
    std::string text = kTwoPointList;
    text.replace(text.find("12 TextOffset"), 2, c.textOffset);
    text.replace(text.find("2 MarkerSize"), 1, c.markerSize);
    TComplexPointList list(5);
    const std::string error = ReadError(text, [&](std::istream& in) { list.Read(in); });
    if (c.read) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(list.TextOffset, std::stoi(c.textOffset));
      EXPECT_EQ(list.MarkerSize, std::stoi(c.markerSize));
      EXPECT_EQ(Written(list), text);
    } else {
      EXPECT_EQ(error, "File read error in TComplexPointList !");
      EXPECT_LE(std::abs(list.TextOffset), 10000);
      EXPECT_GE(list.MarkerSize, 0);
      EXPECT_LE(list.MarkerSize, 10000);
    }
  }
}

TEST(ComplexPointListTest, WrongSectionLeavesTheListEmpty) {
  TComplexPointList list(5);
  list.Add(At(1, 1));
  list.ConnectEnds = true;
  std::string text = kTwoPointList;
  text.replace(0, 6, "[Lists]");
  EXPECT_EQ(ReadError(text, [&](std::istream& in) { list.Read(in); }),
            "File read error in TComplexPointList !");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.ConnectEnds);
}

TEST(ComplexPointListTest, DamagedListRecordsAreRefused) {
  // Line 2 is the name, which may read anything.
  vesktest::ExpectDamageRefused(kTwoPointList, [](std::istream& in) { TComplexPointList(20).Read(in); }, {2});
}

TEST(ComplexPointListTest, FullListRefusesAndFreesTheOfferedItem) {
  int freed = 0;
  TComplexPointList list(2);
  TComplexPoint* first = list.Add(std::make_unique<TCountedPoint>(&freed));
  TComplexPoint* second = list.Add(std::make_unique<TCountedPoint>(&freed));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  list.Select(1);
  list.SetModified(false);
  EXPECT_EQ(list.Add(std::make_unique<TCountedPoint>(&freed)), nullptr);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Selected(), first);
  EXPECT_FALSE(list.IsModified());
  EXPECT_EQ(list.Add(nullptr), nullptr);
  list.AddNew(3);
  EXPECT_EQ(list.Count(), 2);
  list.Delete(1);
  EXPECT_EQ(freed, 2);
  list.Clear();
  EXPECT_EQ(freed, 3);
}

TEST(ComplexPointListTest, AddSelectsAndNumbers) {
  TComplexPointList list(5);
  for (int i = 1; i <= 3; ++i) {
    TComplexPoint* p = list.Add(At(i, 0));
    EXPECT_EQ(p->Index(), i);
    EXPECT_EQ(p->Owner(), &list);
    EXPECT_EQ(list.Selected(), p);
    EXPECT_TRUE(p->IsSelected());
  }
  EXPECT_TRUE(list.IsModified());
  list.SelectOnAdd = false;
  list.Add(At(4, 0));
  EXPECT_EQ(list.Selected(), nullptr);  // Add deselects before it appends
  EXPECT_EQ(list.Items(0), nullptr);
  EXPECT_EQ(list.Items(5), nullptr);
  EXPECT_FALSE(list.IsValidIndex(0));
  EXPECT_TRUE(list.IsValidIndex(4));
  EXPECT_EQ(list.IndexOf(nullptr), 0);
  TComplexPoint stranger;
  EXPECT_EQ(list.IndexOf(&stranger), 0);
}

TEST(ComplexPointListTest, DeleteRenumbersAndClearsTheSelection) {
  TComplexPointList list(5);
  for (int i = 1; i <= 4; ++i) list.Add(At(i, 0));
  list.Select(2);
  list.Delete(2);
  EXPECT_EQ(list.Selected(), nullptr);
  ASSERT_EQ(list.Count(), 3);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(list.Items(i)->Index(), i);
  EXPECT_EQ(list.Items(2)->X, 3);
  list.Select(3);
  list.Delete(1);
  EXPECT_EQ(list.Selected(), list.Items(2));
  list.Delete(0);
  list.Delete(3);
  EXPECT_EQ(list.Count(), 2);
}

TEST(ComplexPointListTest, DeleteSelectedKeepsASelectionWhileItemsRemain) {
  struct Case {
    int count, selected, remainingSelectedX;  // 0: none selected afterwards
  };
  for (const Case c : {Case{2, 1, 2}, Case{2, 2, 1}, Case{3, 2, 1}, Case{3, 1, 3}, Case{1, 1, 0}}) {
    TComplexPointList list(5);
    for (int i = 1; i <= c.count; ++i) list.Add(At(i, 0));
    list.Select(c.selected);
    list.DeleteSelected();
    EXPECT_EQ(list.Count(), c.count - 1);
    if (c.remainingSelectedX == 0) {
      EXPECT_EQ(list.Selected(), nullptr);
    } else {
      ASSERT_NE(list.Selected(), nullptr) << c.count << " " << c.selected;
      EXPECT_EQ(list.Selected()->X, c.remainingSelectedX);
    }
  }
  TComplexPointList list(5);
  list.Add(At(1, 0));
  list.Deselect();
  list.DeleteSelected();
  EXPECT_EQ(list.Count(), 1);
}

TEST(ComplexPointListTest, SelectNextAndPreviousWrapAround) {
  TComplexPointList list(5);
  for (int i = 1; i <= 3; ++i) list.Add(At(i, 0));
  list.Select(3);
  list.SelectNext();
  EXPECT_EQ(list.Selected(), list.Items(1));
  list.SelectPrevious();
  EXPECT_EQ(list.Selected(), list.Items(3));
  list.SelectPrevious();
  EXPECT_EQ(list.Selected(), list.Items(2));
  list.Select(7);
  EXPECT_EQ(list.Selected(), nullptr);
  list.SelectNext();
  list.SelectPrevious();
  EXPECT_EQ(list.Selected(), nullptr);
}

TEST(ComplexPointListTest, FindNearAnswersTheHighestIndex) {
  TComplexPointList list(5);
  list.Add(At(0, 0));
  list.Add(At(0.1, 0));
  list.Add(At(5, 5));
  EXPECT_EQ(list.FindNear(TComplex(0.05, 0), 0.06), 2);
  EXPECT_EQ(list.FindNear(TComplex(-0.05, 0), 0.06), 1);
  EXPECT_TRUE(list.SelectNear(TComplex(0.05, 0), 0.06));
  EXPECT_EQ(list.Selected(), list.Items(2));
  EXPECT_FALSE(list.SelectNear(TComplex(2, 2), 0.5));
  EXPECT_EQ(list.Selected(), nullptr);
}

TEST(ComplexPointListTest, ClearResetsConnectEndsAndModified) {
  TComplexPointList list(5);
  list.Add(At(1, 1));
  list.Connect = list.ConnectEnds = true;
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_FALSE(list.ConnectEnds);
  EXPECT_TRUE(list.Connect);
  EXPECT_FALSE(list.IsModified());
  EXPECT_EQ(list.Selected(), nullptr);
}

TEST(ComplexPointListTest, ModifiedFollowsListAndItems) {
  TComplexPointList list(5);
  list.Add(At(1, 1));
  list.Add(At(2, 2));
  list.SetModified(false);
  EXPECT_FALSE(list.IsModified());
  list.Items(2)->Assign(TComplex(3, 3));
  EXPECT_TRUE(list.IsModified());
  list.SetModified(true);
  EXPECT_TRUE(list.Items(1)->Modified);
  Written(list);
  EXPECT_FALSE(list.IsModified());
}

TEST(ComplexPointListTest, AssignCopiesItemsSelectionAndSettings) {
  TComplexPointList source(5), copy(5);
  for (int i = 1; i <= 3; ++i) source.Add(At(i, -i));
  source.Items(3)->Inf = true;
  source.Select(2);
  source.Name = "Points";
  source.ShowLabels = source.Connect = source.ConnectEnds = true;
  source.MarkerType = 6;
  source.Color = 0xFF;
  copy.Add(At(9, 9));
  copy.Assign(source);
  EXPECT_TRUE(copy.IsModified());
  EXPECT_EQ(copy.IndexOf(copy.Selected()), 2);
  EXPECT_EQ(Written(copy), Written(source));

  // A smaller list takes what it can hold.
  TComplexPointList small(2);
  small.Assign(source);
  EXPECT_EQ(small.Count(), 2);
  EXPECT_EQ(small.Items(2)->X, 2);
  EXPECT_EQ(small.IndexOf(small.Selected()), 2);
  source.Select(3);
  small.Assign(source);
  EXPECT_EQ(small.Selected(), nullptr);
}

TEST(ComplexPointListTest, DrawsPolylineThenMarkersFromLastToFirst) {
  vesktest::TSynthView view;
  TComplexPointList list(5);
  list.Add(At(1, 1));
  list.Add(At(-1, 0));
  list.Select(1);
  list.Connect = list.ConnectEnds = true;
  list.Color = 0x808000;
  list.MarkerType = shared::kMarkerPlus;
  list.TextOffset = 8;
  list.Draw(view.canvas);
  const std::vector<std::string> expected = {
      "Pen 808000 1 0", "M 300,100", "L 100,200", "L 300,100",
      // item 2: list colour, plus of half-size 3, no label
      "Pen 808000 1 0", "M 97,200", "L 103,200", "M 100,197", "L 100,203",
      // item 1: selected, green, labelled with its number
      "Pen FF00 1 0", "M 297,100", "L 303,100", "M 300,97", "L 300,103", "Text 308,108 1"};
  EXPECT_EQ(view.log, expected);

  view.log.clear();
  list.ShowPoints = false;
  list.Connect = false;
  list.ShowLabels = true;
  list.Select(2);
  list.Draw(view.canvas);
  EXPECT_EQ(view.box.Screen.CountOf("Pen"), 1);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen FF00 1 0", "Text 108,208 2"}));

  view.log.clear();
  list.Visible = false;
  list.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty());
}

TEST(ComplexPointListTest, FreePointDrawsABlackCircleWithoutLabel) {
  vesktest::TSynthView view;
  TComplexPoint(0, 0).Draw(view.canvas);
  EXPECT_TRUE(view.box.Screen.Logged({"Pen 0 1 0", "Ellipse 197,197 203,203"}));
  EXPECT_EQ(view.box.Screen.CountOf("Text"), 0);
}

}  // namespace
