// The file progress dialog driven headless: size from the font, caption, bar and Cancel.
#include "synthesis/app/FileProgressDlg.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vesk {
namespace {

// Builds the dialog under an application font of the given pixel size.
class FileProgressDlgFont : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    saved = QApplication::font();
    QFont font = saved;
    font.setPixelSize(GetParam());
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved); }
  QFont saved;
};

TEST_P(FileProgressDlgFont, EverythingFitsAndGrowsWithTheFont) {
  TFileProgressDlg dlg;
  dlg.show();
  QApplication::processEvents();
  const double scale = std::max(1.0, dlg.fontMetrics().height() / 13.0);

  EXPECT_EQ(dlg.windowTitle(), "Dialog");
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());  // a dialog border: no resizing
  EXPECT_GE(dlg.width(), 384 * scale - 1);
  EXPECT_GE(dlg.height(), 45 * scale - 1);
  EXPECT_NEAR(dlg.ProgressBar->width(), 281 * scale, 1);

  const QRect client = dlg.rect();
  const QRect bar = dlg.ProgressBar->geometry();
  const QRect button = dlg.CancelBtn->geometry();
  EXPECT_TRUE(client.contains(bar)) << bar.x() << "," << bar.y() << " " << bar.width() << "x" << bar.height();
  EXPECT_TRUE(client.contains(button));
  EXPECT_FALSE(bar.intersects(button));
  EXPECT_EQ(dlg.CancelBtn->text(), "Cancel");
  EXPECT_GE(button.width(), dlg.CancelBtn->fontMetrics().horizontalAdvance("Cancel"));
  EXPECT_GE(button.height(), dlg.CancelBtn->fontMetrics().height());
}

INSTANTIATE_TEST_SUITE_P(Fonts, FileProgressDlgFont, ::testing::Values(11, 13, 20, 32));

TEST(FileProgressDlg, CallersStepTheBarThroughItsRange) {
  TFileProgressDlg dlg;
  dlg.SetRange(10, 3);
  dlg.ShowCaption("Reading project...");
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.windowTitle(), "Reading project...");
  EXPECT_EQ(dlg.ProgressBar->minimum(), 0);
  EXPECT_EQ(dlg.ProgressBar->maximum(), 10);
  EXPECT_EQ(dlg.ProgressBar->value(), 0);
  for (int expected : {3, 6, 9, 10, 10}) {
    dlg.StepIt();
    EXPECT_EQ(dlg.ProgressBar->value(), expected);
  }

  // Cancel closes it; showing it again starts the bar at 0.
  dlg.CancelBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  dlg.ShowCaption("Writing project...");
  EXPECT_EQ(dlg.ProgressBar->value(), 0);
  dlg.close();
}

TEST(FileProgressDlg, CaptionTakesWindows1252Text) {
  TFileProgressDlg dlg;
  dlg.ShowCaption("Reading \xABPlan\xBB");
  EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Reading \u00ABPlan\u00BB"));
  dlg.close();
}

}  // namespace
}  // namespace vesk
