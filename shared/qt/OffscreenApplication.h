// TOffscreenApplication: the application object of the host programs that draw without a
// display: Qt's offscreen platform, which still has the fonts.
#pragma once

#include <QGuiApplication>
#include <memory>
#include <string>

namespace shared {

class TOffscreenApplication {
 public:
  // Qt's notes about the missing desktop session are no concern of a tool's user: only its
  // critical messages reach stderr. The name is the application's.
  explicit TOffscreenApplication(std::string name);
  ~TOffscreenApplication();
  TOffscreenApplication(const TOffscreenApplication&) = delete;
  TOffscreenApplication& operator=(const TOffscreenApplication&) = delete;

 private:
  // Qt keeps the arguments for the application's life.
  std::string FName;
  int FArgc = 1;
  char* FArgv[2] = {nullptr, nullptr};
  std::unique_ptr<QGuiApplication> FApplication;
};

}  // namespace shared
