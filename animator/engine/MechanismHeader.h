// The header record of a mechanism document: format version rules, the producer mark of the
// synthesis program, the read errors, and the header check used for clipboard documents.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace shared {
class TTabLines;
}

namespace quillon {

// The version this program writes; older documents go back to kOldestFormatVersion.
inline constexpr int32_t kFileFormatVersion = 0;
inline constexpr int32_t kOldestFormatVersion = -96;
// Second header field of documents written by the synthesis program.
inline constexpr const char* kSynthesisProducer = "Vesk";

inline constexpr const char* kErrorInvalidText = "Error: This is invalid Quillon mechanism data!";
inline constexpr const char* kErrorNewText = "Error: You need a new version of Quillon to read this data!";
inline constexpr const char* kHeaderOkayText = "Okay";

// Raised by the document reader; what() is one of the two texts above.
class EMechanismError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Answers of CheckMechanismHeader.
inline constexpr int32_t kHeaderMissing = -2;       // no header section
inline constexpr int32_t kHeaderOtherVersion = -3;  // older or newer than the current version
inline constexpr int32_t kHeaderEmpty = 0;          // section without a record
inline constexpr int32_t kHeaderCurrent = 1;        // current version, any other producer
inline constexpr int32_t kHeaderSynthesis = 2;      // current version written by the synthesis program

struct THeaderCheck {
  int32_t Result = kHeaderMissing;
  // kErrorInvalidText, kHeaderOkayText or kErrorNewText.
  std::string StatusText;
};

// Looks at the header of the lines held (moves the store's read position, nothing else); never
// throws, whatever the text holds.
THeaderCheck CheckMechanismHeader(shared::TTabLines& lines) noexcept;

// The version of a readable document, else EMechanismError: kErrorInvalidText without a header
// section, kErrorNewText for a version outside kOldestFormatVersion..kFileFormatVersion.
int32_t ReadFormatVersion(shared::TTabLines& lines);

}  // namespace quillon
