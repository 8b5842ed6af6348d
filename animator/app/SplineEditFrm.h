// TSplineEditFrm: the left panel's editor of the target curve's selected control point, the
// curve's three fitting weights, its visibility and the program-wide fitting mode.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "shared/PrePoint.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillon {

class TSpline;
class TTrackBar;

class TSplineEditFrm : public QWidget {
  Q_OBJECT

 public:
  // Enabled flag, weight, totals flag and total of one of the curve's channels.
  struct TChannel {
    bool Enabled = false;
    double Weight = 0;
    bool Total = false;
    double TotalValue = 0;
  };

  explicit TSplineEditFrm(QWidget* parent = nullptr);

  // The curve, not owned; none detaches.
  void SetCurve(TSpline* curve);
  void SetRegistryKey(const std::string& key) { RegistryKey = key; }

  // Fetch, enable, captions and values: after a change of the selection or of the units.
  void Refresh();
  bool Fetch();
  void SetEnabled(bool on);
  void Captions();
  // The edits into WorkPoint and the channels; a bad number goes to the log and focuses its edit.
  bool ReadEdits();
  void Store();
  void ApplyButtonClick();
  void NrComboBoxChange(int index);
  void VisibleCheckBoxClick();
  void OptimizeTypeRadioClick(int index);
  void HelpButtonClick();

  // The mechanism changed: recalculate and repaint.
  std::function<void()> OnChange;
  // Apply is about to write the curve (the undo entry is taken here).
  std::function<void()> OnBeforeApply;
  // Asked before an edit reaches the curve; false refuses it (the view is busy, and says so) and
  // the frame shows the curve as it is.
  std::function<bool()> MayEdit;

  bool Enabled() const { return FEnabled; }
  int Current() const { return FCurrent; }
  const shared::TPrePoint& WorkPoint() const { return FWorkPoint; }

  QComboBox* NrComboBox;
  QGroupBox* PathGroupBox;
  QLabel* xLabel;
  QLabel* yLabel;
  QLineEdit* xEdit;
  QLineEdit* yEdit;
  TTrackBar* PathTrackBar;
  QGroupBox* InRotGroupBox;
  QLineEdit* InRotEdit;
  TTrackBar* InTrackBar;
  QGroupBox* OutRotGroupBox;
  QLineEdit* OutRotEdit;
  TTrackBar* OutTrackBar;
  QPushButton* ApplyButton;
  QPushButton* HelpButton;
  QCheckBox* VisibleCheckBox;
  QGroupBox* OptimizeTypeRadio;
  QButtonGroup* OptimizeTypeGroup;

 private:
  void RefreshSelections();
  // Current still names the point that was fetched: the curve may have changed under the frame.
  bool CurrentStillThere() const;

  TSpline* Curve = nullptr;
  std::string RegistryKey;
  bool FEnabled = false;
  int FCurrent = -1;
  // The point as fetched and the curve's change stamp then.
  shared::TPrePoint Fetched;
  int32_t FetchedStamp = -1;
  shared::TPrePoint FWorkPoint;
  TChannel Pos, In, Out;
};

}  // namespace quillon
