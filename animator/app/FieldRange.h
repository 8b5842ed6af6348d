// The ranges that the animator's numeric fields take. No linkage an engineer builds comes near
// their ends; beyond them the solver, the drawing and the files lose their numbers.
#pragma once

#include <QString>
#include <numbers>
#include <string>

#include "shared/Convert.h"

namespace quillon {

// SI bounds of one kind of typed value, both taken.
struct TFieldRange {
  int Category;
  double Low;
  double High;
};

inline constexpr double kTurn = 2 * std::numbers::pi;

// A coordinate, a move, a distance, a link length, a grid size or a slider's travel.
inline constexpr TFieldRange kLengthRange{shared::cuLength, -shared::kMaxLength, shared::kMaxLength};
// A direction, or a turn of the whole mechanism or drawing: one turn either way.
inline constexpr TFieldRange kDirectionRange{shared::cuAngle, -shared::kMaxRotation, shared::kMaxRotation};
// How far a link turns over a motion: a thousand turns either way.
inline constexpr TFieldRange kRotationRange{shared::cuAngle, -1000 * kTurn, 1000 * kTurn};
// The duration of one section of a motion law: a microsecond to about eleven days.
inline constexpr TFieldRange kDurationRange{shared::cuTime, shared::kMinTime, shared::kMaxTime};
// A resize factor, either sign; it must not shrink below kMinFactorSize either.
inline constexpr TFieldRange kFactorRange{shared::cuNone, -1e6, 1e6};
inline constexpr double kMinFactorSize = 1e-6;

// The travel of a driven joint: a rotation for a crank, a length for a slider.
const TFieldRange& TravelRange(int category);

// The text in SI units when it is a number within the range; raises shared::EConvertError with
// the conversion's message or the range's otherwise.
double TextToSIWithin(const TFieldRange& range, const std::string& text);
// The same for the text of an edit, blanks around it ignored.
double EditToSIWithin(const TFieldRange& range, const QString& text);

}  // namespace quillon
