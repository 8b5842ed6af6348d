// Vesk's pictures: image numbers of the list rows and type buttons, the pictures of each type and
// state, and the tool-bar picture set.
#include "synthesis/app/MechPictures.h"

#include <gtest/gtest.h>

#include <QColor>
#include <vector>

#include "synthesis/engine/Mechanism.h"

namespace vesk {
namespace {

TEST(MechPicturesTest, ImageNumbersNameATypeAndAState) {
  struct TCase {
    int Index;
    int Type;
    int State;
  };
  // Base images 16, 19, 22, 25, 60, 54, 57, 63 for the types 0, 1, 2, 3, 5, 6, 7, 8.
  const TCase cases[] = {{16, kFourbarType, 0},     {17, kFourbarType, 1},   {18, kFourbarType, 2},
                         {19, kWatt1Type, 0},       {24, kWatt2Type, 2},     {25, kStephenson1Type, 0},
                         {27, kStephenson1Type, 2}, {54, kEightbarType, 0},  {55, kEightbarType, 1},
                         {57, kSliderType, 0},      {59, kSliderType, 2},    {60, kStephenson3Type, 0},
                         {62, kStephenson3Type, 2}, {63, kFiveBarType, 0},   {65, kFiveBarType, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Index);
    int type = -1;
    int state = -1;
    ASSERT_TRUE(ImageOfIndex(c.Index, type, state));
    EXPECT_EQ(type, c.Type);
    EXPECT_EQ(state, c.State);
    EXPECT_FALSE(MechImage(c.Index, 16).isNull());
  }
  // Numbers that are no type's picture; type 4 is not used and shows the four-bar's.
  for (int index : {-1, 0, 15, 28, 40, 53, 66, 100}) {
    SCOPED_TRACE(index);
    int type = -1;
    int state = -1;
    EXPECT_FALSE(ImageOfIndex(index, type, state));
    EXPECT_TRUE(MechImage(index, 16).isNull());
  }
  EXPECT_EQ(TypeImageIndex(4), 16);
}

TEST(MechPicturesTest, EveryTypeAndStateHasItsOwnPicture) {
  const int types[] = {kFourbarType, kWatt1Type, kWatt2Type, kStephenson1Type,
                       kStephenson3Type, kEightbarType, kSliderType, kFiveBarType};
  std::vector<QImage> seen;
  for (int type : types)
    for (int state = 0; state <= 2; ++state) {
      SCOPED_TRACE(testing::Message() << type << "/" << state);
      const QImage picture = MechPicture(type, state, 24);
      ASSERT_EQ(picture.size(), QSize(24, 24));
      for (const QImage& other : seen) EXPECT_NE(picture, other);
      seen.push_back(picture);
      // A marked picture (a type button down) sits on a highlight; the others leave the corner
      // to the background.
      EXPECT_EQ(qAlpha(picture.pixel(1, 1)) > 0, state == 2);
    }
  // Drawn at the size asked, not scaled from a fixed strip.
  EXPECT_EQ(MechPicture(kFiveBarType, 0, 40).size(), QSize(40, 40));
}

TEST(MechPicturesTest, ToolPicturesComeFromTheProgramsSet) {
  for (const char* name : {"new", "start", "stepback", "stepforward", "generate", "undo", "zoomselect", "xy"})
    EXPECT_FALSE(ToolPicture(QString::fromLatin1(name)).isNull()) << name;
  EXPECT_TRUE(ToolPicture(QStringLiteral("nothing")).isNull());
  EXPECT_GE(PictureSide(QFontMetrics(QFont())), 16);
}

}  // namespace
}  // namespace vesk
