// TSynthOptions: the synthesis constraints that generation and rating read, one record for the
// whole run, kept in each project file as the "[SynthOptions]" block.
#pragma once

#include <istream>
#include <ostream>

namespace vesk {

class TSpline;

class TSynthOptions {
 public:
  // The curve whose prescribed total input rotation the options dialog edits; not owned, set
  // by the main window before the dialog is shown.
  TSpline* Spline = nullptr;
  // Rate solutions by their longest link.
  bool LinkLengthPenaltyOn = true;
  // Refuse solutions with a link longer than MaxLinkLength (metres).
  bool MaxLinkLengthOn = false;
  double MaxLinkLength = 1.0;
  // Radians (5 degrees).
  double MinTransAngle = 0.08726646259971647;
  // A cosine bound on the path's direction at precision points 1, 5 and 9; no control edits it.
  double MaxPathDeviationAngle = 0.75;
  // 1 + the allowed area expansion / 100: how far outside a pivot area a pivot may lie.
  double MaxDistToArea = 1.0;
  // The input link must turn fully.
  bool FullInRotation = false;

  // The fields above back to their defaults; Spline stays.
  void SetDefaults();
  // "[SynthOptions]" (else "File read error in TSynthOptions!"), a version, six values and,
  // from version 1 on, FullInRotation. All or nothing: a damaged block, or one holding a number
  // that is not finite, changes no option.
  void ReadFromText(std::istream& in);
  // Version 1.
  void WriteToText(std::ostream& out) const;
};

// The program-wide record, holding the defaults from program start. A new project keeps it;
// each project file read sets it.
extern TSynthOptions SynthOptions;

}  // namespace vesk
