// Main window placement in the settings: state and normal bounds read and written in one
// section, a minimised window coming back where it was, and the start folder of file dialogs.
#include "shared/qt/WindowPlacement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <map>
#include <string>

#include "shared/Settings.h"
#include "shared/qt/PathName.h"

namespace shared {
namespace {

const QRect kFallback(5, 6, 300, 200);

std::map<std::string, std::string> Section(const TMemorySettings& settings) {
  const auto found = settings.Values.find("Main");
  return found == settings.Values.end() ? std::map<std::string, std::string>{} : found->second;
}

TEST(WindowPlacementTest, StateAndBoundsComeBackAsStored) {
  struct TCase {
    const char* Name;
    std::map<std::string, std::string> Stored;
    TWindowState Fallback;
    Qt::WindowStates State;
    QRect Bounds;
  };
  const std::map<std::string, std::string> bounds = {{"Left", "40"}, {"Top", "30"}, {"Width", "700"}, {"Height", "500"}};
  const auto with = [&bounds](const char* state) {
    auto values = bounds;
    values["WindowState"] = state;
    return values;
  };
  const TCase cases[] = {
      {"normal", with("0"), TWindowState::Maximised, Qt::WindowNoState, QRect(40, 30, 700, 500)},
      // Its normal bounds are there for the restore.
      {"minimised", with("1"), TWindowState::Normal, Qt::WindowMinimized, QRect(40, 30, 700, 500)},
      // The bounds stay where they were, for a later restore.
      {"maximised", with("2"), TWindowState::Normal, Qt::WindowMaximized, QRect(0, 0, 640, 480)},
      {"a number that names no state", with("7"), TWindowState::Maximised, Qt::WindowNoState,
       QRect(40, 30, 700, 500)},
      {"nothing stored, normal", {}, TWindowState::Normal, Qt::WindowNoState, kFallback},
      {"nothing stored, maximised", {}, TWindowState::Maximised, Qt::WindowMaximized, QRect(0, 0, 640, 480)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMemorySettings settings;
    if (!c.Stored.empty()) settings.Values["Main"] = c.Stored;
    QWidget window;
    window.setGeometry(0, 0, 640, 480);
    EXPECT_EQ(RestoreWindowPlacement(window, settings, "Main", c.Fallback, kFallback), c.Bounds);
    EXPECT_EQ(window.windowState(), c.State);
    if (c.State != Qt::WindowMaximized) {
      EXPECT_EQ(QRect(window.pos(), window.size()), c.Bounds);
    }

    // Written back unchanged, bounds and all; a maximised window leaves the stored bounds alone.
    settings.Values.clear();
    StoreWindowPlacement(window, settings, "Main");
    std::map<std::string, std::string> expected;
    if (c.State != Qt::WindowMaximized) {
      expected = {{"Left", std::to_string(c.Bounds.x())},
                  {"Top", std::to_string(c.Bounds.y())},
                  {"Width", std::to_string(c.Bounds.width())},
                  {"Height", std::to_string(c.Bounds.height())}};
    }
    expected["WindowState"] = c.State == Qt::WindowMaximized ? "2" : c.State == Qt::WindowMinimized ? "1" : "0";
    EXPECT_EQ(Section(settings), expected);
  }
}

// A window minimised after the user placed it stores where it was, and comes back there.
TEST(WindowPlacementTest, AMinimisedWindowKeepsItsNormalBounds) {
  TMemorySettings settings;
  {
    QWidget window;
    window.show();
    window.move(50, 60);
    window.resize(420, 310);
    window.setWindowState(Qt::WindowMinimized);
    StoreWindowPlacement(window, settings, "Main");
  }
  EXPECT_EQ(Section(settings), (std::map<std::string, std::string>{
                                   {"WindowState", "1"}, {"Left", "50"}, {"Top", "60"}, {"Width", "420"}, {"Height", "310"}}));
  QWidget window;
  RestoreWindowPlacement(window, settings, "Main", TWindowState::Normal, kFallback);
  EXPECT_TRUE(window.isMinimized());
  window.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(window.size(), QSize(420, 310));
  EXPECT_EQ(window.pos(), QPoint(50, 60));
}

TEST(WindowPlacementTest, FileDialogsStartInAFolderOfTheUsers) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const std::string folder = ToPath(root.path()) + "/";
  ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("program")));
  ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("work/sub")));
  EXPECT_EQ(StartFolder(folder + "work/", folder + "program/"), folder + "work/");
  EXPECT_EQ(StartFolder(folder + "program/", folder + "program/"), DocumentsFolder());
  EXPECT_EQ(StartFolder(folder + "program/../program", folder + "program/"), DocumentsFolder());
  EXPECT_EQ(StartFolder(folder + "gone/", folder + "program/"), DocumentsFolder());
  EXPECT_EQ(StartFolder("", folder + "program/"), DocumentsFolder());
  EXPECT_EQ(StartFolder(folder + "work/", ""), folder + "work/");

  // The folder of a picked file, full and normalised, is where the next dialog starts.
  EXPECT_EQ(FolderOfFile(folder + "work/sub/../four.mech"), folder + "work/");
  EXPECT_EQ(FolderOfFile(folder + "work/./sub/four.mech"), folder + "work/sub/");
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(root.path() + QStringLiteral("/work")));
  EXPECT_EQ(FolderOfFile("sub/four.mech"), ToPath(QDir::currentPath()) + "/sub/");
  EXPECT_EQ(FolderOfFile("four.mech"), ToPath(QDir::currentPath()) + "/");
  QDir::setCurrent(saved);
}

}  // namespace
}  // namespace shared
