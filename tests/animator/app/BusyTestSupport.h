// The commands that must wait while the animation view's fit or film loop runs, tried one after
// the other as a user would: the window tests of both loops share them.
#pragma once

#include <QPoint>
#include <QTest>

#include "animator/app/AnimationFrm.h"
#include "animator/engine/AniMechanism.h"

namespace quillon {

// Record, the pop-up's Lock and Set As Output on joint `joint`, Bring to Front and Send to Back on
// link `link`, and a drag of joint C in the drawing; each is refused with the busy notice.
inline void TryWhatMustWait(TAnimationFrm& view, TAniMechanism& m, char joint, int link) {
  view.RecordButton->click();
  m.DeselectAll();
  m.Joint(m.FindJoint(joint)).Selected = 1;
  view.PopToggleLock->trigger();
  view.PopSetAsOutput->trigger();
  m.DeselectAll();
  m.Link(link).Selected = 1;
  view.PopBringToFront->trigger();
  view.PopSendToBack->trigger();
  m.DeselectAll();
  const TPositionRecord& c = m.Joint(m.FindJoint('C')).Positions[0];
  const shared::TPoint at = view.Canvas().WorldToScreen(c.X, c.Y);
  QTest::mousePress(view.PaintBox1, Qt::LeftButton, {}, QPoint(at.X, at.Y));
  QTest::mouseMove(view.PaintBox1, QPoint(at.X + 30, at.Y + 10));
  QTest::mouseRelease(view.PaintBox1, Qt::LeftButton, {}, QPoint(at.X + 30, at.Y + 10));
}

}  // namespace quillon
