// What dialog tests of both programs share: a sound that counts its beeps, and the widget that
// Tab moves to.
#pragma once

#include <QWidget>
#include <string>

#include "shared/Sound.h"

namespace test_support {

class TCountingSound : public shared::TSound {
 public:
  int Beeps = 0;
  void Beep() override { ++Beeps; }

 protected:
  bool IsPlaying() const override { return false; }
  void Start(const std::string&) override {}
};

// The next widget in the focus chain that takes focus by Tab.
inline QWidget* NextTabStop(QWidget* w) {
  for (QWidget* next = w->nextInFocusChain(); next != w; next = next->nextInFocusChain())
    if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisible()) return next;
  return nullptr;
}

}  // namespace test_support
