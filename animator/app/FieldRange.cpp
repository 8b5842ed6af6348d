// The ranges of the animator's numeric fields, read through the unit service.
#include "animator/app/FieldRange.h"

#include "shared/qt/DialogStatus.h"

namespace quillon {

const TFieldRange& TravelRange(int category) {
  return category == shared::cuLength ? kLengthRange : kRotationRange;
}

double TextToSIWithin(const TFieldRange& range, const std::string& text) {
  return shared::Convert().TextToSIWithin(range.Category, text, range.Low, range.High);
}

double EditToSIWithin(const TFieldRange& range, const QString& text) {
  return shared::EditToSIWithin(range.Category, text, range.Low, range.High);
}

}  // namespace quillon
