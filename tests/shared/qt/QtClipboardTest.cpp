// Clipboard text through the desktop clipboard: Windows-1252 on our side, Unicode on the other.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "shared/qt/QtClipboard.h"

namespace shared {
namespace {

TEST(QtClipboard, TextCrossesInBothDirections) {
  QClipboard* desktop = QGuiApplication::clipboard();
  TQtClipboard clipboard(desktop);
  clipboard.SetText("Caf\xe9\t\x80 5\r\n");
  EXPECT_EQ(desktop->text(), QString::fromUtf8("Café\t€ 5\r\n"));
  EXPECT_TRUE(clipboard.HasText());
  EXPECT_EQ(clipboard.GetText(), "Caf\xe9\t\x80 5\r\n");

  // What Windows-1252 cannot hold arrives as "?".
  desktop->setText(QString::fromUtf8("Ω-link"));
  EXPECT_EQ(clipboard.GetText(), "?-link");

  desktop->clear();
  EXPECT_FALSE(clipboard.HasText());
  EXPECT_EQ(clipboard.GetText(), "");
}

}  // namespace
}  // namespace shared
