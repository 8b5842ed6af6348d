// The general object and list: ids and default names, the current item through adds and deletes,
// hit order, pen preparation, and "[List]" records read back byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

#include "shared/GeneralObject.h"
#include "tests/animator/engine/RecordingCanvas.h"
#include "tests/shared/FileSizeLimit.h"
#include "tests/shared/TestFiles.h"

namespace {

using namespace shared;

// A disc of radius 1 about (X, 0), with one extra record line, as subclasses extend records.
class TDisc : public TGeneralObject {
 public:
  double X = 0;
  bool HitTest(const TComplex& p, double tolerance) const override {
    return std::hypot(p.X - X, p.Y) <= 1 + tolerance;
  }
  void ReadFromText(std::istream& in) override {
    TGeneralObject::ReadFromText(in);
    X = ReadRecordReal(in, "X");
  }
  void WriteToText(std::ostream& out) override {
    TGeneralObject::WriteToText(out);
    WriteRecordLine(out, std::to_string(X) + " X");
  }
};

class TDiscList : public TGeneralList {
 public:
  void CreateItems(int32_t n) override {
    for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TDisc>());
  }
  TDisc* AddDisc(double x, const std::string& name = "") {
    auto disc = std::make_unique<TDisc>();
    disc->X = x;
    disc->Name = name;
    return static_cast<TDisc*>(Add(std::move(disc)));
  }
};

std::string Written(TGeneralObject& object) {
  std::ostringstream out;
  object.WriteToText(out);
  return out.str();
}

TEST(GeneralListTest, AddGivesIdsAndDefaultNames) {
  TGeneralList list;
  struct TCase {
    std::string given;
    std::string expected;
  };
  const TCase cases[] = {{"", "Item  1"}, {"Line", "Line 2"}, {"Line 2", "Line 2 3"}};
  for (const TCase& c : cases) {
    auto item = std::make_unique<TGeneralObject>();
    item->Name = c.given;
    const TGeneralObject* added = list.Add(std::move(item));
    EXPECT_EQ(added->Name, c.expected);
    EXPECT_EQ(added->Owner, &list);
    EXPECT_EQ(list.Current(), added) << "selected on add";
    EXPECT_TRUE(added->IsSelected());
  }
  EXPECT_EQ(list.IdCounter, 3);
  list.MakeDefaultName();
  EXPECT_EQ(list.Name, "List 0");
  EXPECT_EQ(list.Items(0)->Name, "Item  1 1") << "the id is appended again";
  list.SelectOnAdd = false;
  list.Add(std::make_unique<TGeneralObject>());
  EXPECT_EQ(list.Current(), nullptr) << "adding deselects";
}

TEST(GeneralListTest, CapacityGrowsByTenAndClearStartsAgain) {
  TGeneralList list;
  EXPECT_EQ(list.Capacity(), 20);
  for (int i = 0; i < 20; ++i) list.Add(std::make_unique<TGeneralObject>());
  EXPECT_EQ(list.Capacity(), 20);
  list.Add(std::make_unique<TGeneralObject>());
  EXPECT_EQ(list.Capacity(), 30);
  list.Delete(3);
  list.Add(std::make_unique<TGeneralObject>());
  EXPECT_EQ(list.Items(20)->Id, 22) << "a deleted id is not given again";
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 20);
  EXPECT_EQ(list.Add(std::make_unique<TGeneralObject>())->Id, 1);
}

TEST(GeneralListTest, DeleteCurrentKeepsThePreviousItemCurrent) {
  TGeneralList list;
  for (int i = 0; i < 3; ++i) list.Add(std::make_unique<TGeneralObject>());
  TGeneralObject* last = list.Items(2);
  list.Select(0);
  list.DeleteCurrent();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Current(), last) << "wraps to the last item";
  list.DeleteCurrent();
  EXPECT_EQ(list.Current(), list.Items(0));
  EXPECT_EQ(list.Items(0)->Id, 2);
  list.DeleteCurrent();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.Current(), nullptr);
  list.DeleteCurrent();  // nothing current: nothing happens
  list.Delete(0);
  list.Delete(-1);
  EXPECT_EQ(list.Count(), 0);
}

TEST(GeneralListTest, ItemsOutsideTheListRaise) {
  TGeneralList list;
  list.Add(std::make_unique<TGeneralObject>());
  EXPECT_NO_THROW(list.Items(0));
  EXPECT_THROW(list.Items(1), std::out_of_range);
  EXPECT_THROW(list.Items(-1), std::out_of_range);
  list.Select(5);
  EXPECT_EQ(list.Current(), nullptr) << "an invalid index deselects";
}

TEST(GeneralListTest, HitsPreferTheCurrentItemThenTheTopmost) {
  TDiscList list;
  list.AddDisc(0);
  list.AddDisc(1.5);
  list.AddDisc(10);
  const TComplex between(0.8, 0);  // inside the first two discs
  list.Select(0);
  EXPECT_EQ(list.IndexAt(between, 0), 0);
  list.Deselect();
  EXPECT_EQ(list.IndexAt(between, 0), 1);
  EXPECT_TRUE(list.HitTest(TComplex(10.5, 0), 0));
  list.SelectAt(TComplex(5, 0), 0.5);
  EXPECT_EQ(list.Current(), nullptr);
  list.SelectAt(TComplex(5, 0), 4);
  EXPECT_EQ(list.Current(), list.Items(2));
}

TEST(GeneralListTest, ModifiedFlagsReachTheItems) {
  TGeneralList list;
  list.Add(std::make_unique<TGeneralObject>());
  list.SetModified(false);
  EXPECT_FALSE(list.GetModified());
  list.Items(0)->Modified = true;
  EXPECT_TRUE(list.GetModified());
  list.SetModified(false);
  EXPECT_FALSE(list.Items(0)->Modified);
}

TEST(GeneralListTest, AssignCopiesItemsCurrentAndCounter) {
  TDiscList source;
  source.AddDisc(1, "A");
  source.AddDisc(2, "B")->Pen = {255, 9, 2, 3};
  source.Delete(0);
  source.AddDisc(3, "C");
  source.Select(0);
  source.SelectOnAdd = false;
  TDiscList copy;
  copy.Assign(&source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->Id, 2);
  EXPECT_EQ(copy.Items(0)->Name, "B 2");
  EXPECT_EQ(copy.Items(0)->Pen, (TGeneralPen{255, 9, 2, 3}));
  EXPECT_EQ(copy.Current(), copy.Items(0));
  EXPECT_EQ(copy.IdCounter, 3);
  EXPECT_FALSE(copy.SelectOnAdd);
  EXPECT_EQ(copy.Items(1)->Owner, &copy);
  auto clone = source.Clone();
  EXPECT_EQ(static_cast<TGeneralList&>(*clone).Count(), 2);
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Count(), 2);
}

TEST(GeneralListTest, EmptyListRecord) {
  TGeneralList list;
  EXPECT_EQ(Written(list),
            "0\r\n0\r\n\r\n0 Color\r\n4 Mode\r\n0 Style\r\n1 Width\r\n"
            "0\r\n0 Selected ID\r\n0 Count\r\n0 IDCount\r\n1\r\n\r\n");
}

TEST(GeneralListTest, RecordsReadBackByteForByte) {
  TDiscList list;
  list.Name = "Outline";
  list.AddDisc(0.25, "Edge")->Pen = {-16777216, 9, 8, 2};  // pen numbers outside the usual codes
  list.AddDisc(-1.5);
  list.Delete(1);
  list.AddDisc(7);
  list.Select(0);
  list.SelectOnAdd = false;
  list.Modified = true;
  const std::string record = Written(list);
  EXPECT_FALSE(list.GetModified());
  EXPECT_EQ(record.substr(record.find("0\r\n1 Selected ID")),
            "0\r\n1 Selected ID\r\n2 Count\r\n3 IDCount\r\n"
            "0\r\n1\r\nEdge 1\r\n-16777216 Color\r\n9 Mode\r\n8 Style\r\n2 Width\r\n0.250000 X\r\n"
            "0\r\n3\r\nItem  3\r\n0 Color\r\n4 Mode\r\n0 Style\r\n1 Width\r\n7.000000 X\r\n"
            "0\r\n\r\n");

  TDiscList read;
  read.SelectOnAdd = true;
  std::istringstream in(record);
  read.ReadFromText(in);
  EXPECT_EQ(Written(read), record);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.Name, "Outline");
  EXPECT_EQ(read.Current(), read.Items(0));
  EXPECT_EQ(read.IdCounter, 3);
  EXPECT_FALSE(read.SelectOnAdd);
  EXPECT_FALSE(read.GetModified());
  EXPECT_DOUBLE_EQ(static_cast<TDisc*>(read.Items(1))->X, 7);
  EXPECT_EQ(read.Add(std::make_unique<TDisc>())->Id, 4);
}

class GeneralListFileTest : public shared::test::TTempFolderTest {
 protected:
  GeneralListFileTest() : TTempFolderTest("general_list") {}
};

// A save that the disk refuses half way (here a file size limit) keeps the file it would have
// replaced, and leaves nothing beside it.
TEST_F(GeneralListFileTest, AFailedSaveKeepsTheOldFile) {
  const auto path = (dir / "list.txt").string();
  TDiscList small;
  small.AddDisc(1);
  small.SaveToFile(path);
  const std::string before = shared::test::ReadBytes(path);
  TDiscList large;
  for (int i = 0; i < 50; ++i) large.AddDisc(i);
  {
    const shared::test::TFileSizeLimit limit(before.size() + 10);
    try {
      large.SaveToFile(path);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(shared::test::ReadBytes(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(GeneralListFileTest, FilesRoundTripAndRefuseOtherFormats) {
  for (int items : {0, 3}) {
    TDiscList list;
    for (int i = 0; i < items; ++i) list.AddDisc(i);
    const auto path = (dir / "list.txt").string();
    list.SaveToFile(path);
    const std::string bytes = shared::test::ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, 8), "[List]\r\n");
    TDiscList read;
    read.LoadFromFile(path);
    EXPECT_EQ(read.Count(), items);
    read.SaveToFile(path);
    EXPECT_EQ(shared::test::ReadBytes(path), bytes) << items << " items";
  }
  TDiscList list;
  list.AddDisc(1);
  list.LoadFromFile((dir / "missing.txt").string());
  EXPECT_TRUE(list.IsEmpty()) << "a missing file leaves the list empty";
  shared::test::WriteBytes(dir / "other.txt", "[list]\r\n0\r\n");
  list.AddDisc(1);
  try {
    list.LoadFromFile((dir / "other.txt").string());
    ADD_FAILURE() << "no error";
  } catch (const EFileReadError& e) {
    EXPECT_STREQ(e.what(), "Wrong file format!");
  }
  EXPECT_TRUE(list.IsEmpty());
}

// A list record whose own seven lines are fine, then the given rest.
std::string ListRecord(const std::string& rest) { return "[List]\n0\n0\nL\n0 Color\n4 Mode\n0 Style\n1 Width\n" + rest; }

TEST(GeneralListTest, BadRecordsFailWithAReadError) {
  const char* item = "0\n5\nX\n0\n4\n0\n1\n";
  const std::string cases[] = {
      ListRecord(""),                                   // ends after its own lines
      ListRecord("0\n0\nmany Count\n"),                 // not a number
      ListRecord("0\n0\n-1 Count\n0\n1\n"),             // negative count
      ListRecord("0\n0\n2000000000 Count\n0\n1\n"),     // huge count
      ListRecord("0\n0\n99999999999 Count\n0\n1\n"),    // beyond 32 bits
      ListRecord("0\n0\n1 Count\n2147483647\n") + item + "1\n",  // an id counter that would overflow
      ListRecord("0\n0\n1\n0\n0\n2147483647\nX\n0\n4\n0\n1\n1\n"),  // an id that would overflow
      ListRecord("0\n0\n2\n0\n") + item,                // second item missing
      "[List]\n0\nnan\n",
  };
  for (const std::string& text : cases) {
    TGeneralList list;
    std::istringstream in(text);
    EXPECT_THROW(list.LoadFromStream(in), EFileReadError) << text;
  }
}

TEST(GeneralListTest, AnIdCounterBelowAReadIdBecomesTheHighestId) {
  TGeneralList list;
  std::istringstream in(ListRecord("0\n5 Selected ID\n1 Count\n2 IDCount\n0\n5\nX\n0\n4\n0\n1\n1\n"));
  list.LoadFromStream(in);
  EXPECT_EQ(list.IdCounter, 5);
  EXPECT_EQ(list.Current(), list.Items(0));
  EXPECT_EQ(list.Add(std::make_unique<TGeneralObject>())->Id, 6);
  EXPECT_EQ(list.FindById(5), list.Items(0));
  EXPECT_EQ(list.FindByName("X"), list.Items(0));
  EXPECT_EQ(list.FindByName("x"), nullptr);
}

TEST(GeneralObjectTest, PenPreparationShowsSelectionAndKnownStyles) {
  struct TCase {
    TGeneralPen pen;
    bool selected;
    std::string expected;
  };
  const TCase cases[] = {
      {{255, 4, 1, 2}, false, "Pen FF 2 1"},
      {{255, 4, 1, 2}, true, "Pen FF00 2 1"},  // lime, own width and style
      {{16711680, 4, 7, 1}, false, "Pen FF0000 1 0"},  // an unknown style draws solid
      {{0, 4, -2, 1}, false, "Pen 0 1 0"},
  };
  for (const TCase& c : cases) {
    enginetest::TRecordingView view;
    TGeneralList list;
    TGeneralObject* item = list.Add(std::make_unique<TGeneralObject>());
    item->Pen = c.pen;
    if (!c.selected) list.Deselect();
    view.log.clear();
    item->Draw(view.canvas);
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0], c.expected);
  }
}

}  // namespace
