// What the tests of the animator's dialogs and editor frames share: the process-wide services,
// a message log and a sound that count what they are given, and a way to act inside a modal
// dialog once it is shown.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "animator/app/AppDialogs.h"
#include "animator/app/InformationBox.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Sound.h"
#include "shared/TabLine.h"
#include "tests/support/DialogSupport.h"

namespace quillon {

using test_support::TCountingSound;

class TLogLines : public TMessageSink {
 public:
  std::vector<std::pair<std::string, TMessageKind>> Lines;
  void AppendLine(const std::string& line, TMessageKind kind) override { Lines.emplace_back(line, kind); }
  void ClearLines() override { Lines.clear(); }
  int Errors() const {
    return static_cast<int>(std::count_if(Lines.begin(), Lines.end(),
                                          [](const auto& l) { return l.second == TMessageKind::Error; }));
  }
};

class TDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    StdOut().SetSink(&Log);
    shared::SetSound(&Sound);
    SetInformationHandler([this](const QString& text) { Informations.push_back(text); });
    AppDialogs() = {};
  }

  void TearDown() override {
    AppDialogs() = {};
    SetInformationHandler(nullptr);
    shared::SetSound(nullptr);
    StdOut().SetSink(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  // Runs act inside the next modal dialog once its loop runs; act closes it.
  static void WhenModal(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }

  TLogLines Log;
  TCountingSound Sound;
  // What the information boxes would have said.
  std::vector<QString> Informations;
};

}  // namespace quillon
