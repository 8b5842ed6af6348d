// The synthesis options record: defaults, the "[SynthOptions]" block byte for byte, version-0
// blocks, and damaged blocks that must change nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/synthesis/engine/RecordText.h"

using namespace vesk;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

std::string Written(const TSynthOptions& options) {
  std::ostringstream out;
  options.WriteToText(out);
  return out.str();
}

void Read(TSynthOptions& options, const std::string& text) {
  std::istringstream in(text);
  options.ReadFromText(in);
}

// Every field but the curve reference.
void ExpectSameOptions(const TSynthOptions& a, const TSynthOptions& b) {
  EXPECT_EQ(a.LinkLengthPenaltyOn, b.LinkLengthPenaltyOn);
  EXPECT_EQ(a.MaxLinkLengthOn, b.MaxLinkLengthOn);
  EXPECT_EQ(a.MaxLinkLength, b.MaxLinkLength);
  EXPECT_EQ(a.MinTransAngle, b.MinTransAngle);
  EXPECT_EQ(a.MaxPathDeviationAngle, b.MaxPathDeviationAngle);
  EXPECT_EQ(a.MaxDistToArea, b.MaxDistToArea);
  EXPECT_EQ(a.FullInRotation, b.FullInRotation);
}

const std::string kDefaultBlock = Lines({
    "[SynthOptions]",
    "1",
    "1 LinkLengthPenaltyOn",
    "0 MaxLinkLengthOn",
    " 1.00000000000000E+0000 MaxLinkLength",
    " 8.72664625997165E-0002 MinTransAngle",
    " 7.50000000000000E-0001 MaxPathDeviationAngle",
    " 1.00000000000000E+0000 MaxDistToArea",
    "0 FullInRotation",
});

TEST(SynthOptionsTest, DefaultsWriteTheKnownBlock) {
  TSynthOptions options;
  EXPECT_EQ(Written(options), kDefaultBlock);
  EXPECT_DOUBLE_EQ(options.MinTransAngle, 5 * std::acos(-1.0) / 180);
  // The process-wide record starts with the same defaults.
  EXPECT_EQ(Written(SynthOptions), kDefaultBlock);
}

TEST(SynthOptionsTest, ChangedOptionsRoundTripByteForByte) {
  TSynthOptions options;
  options.LinkLengthPenaltyOn = false;
  options.MaxLinkLengthOn = true;
  options.MaxLinkLength = 0.35;
  options.MinTransAngle = 0.6;
  options.MaxPathDeviationAngle = -0.125;
  options.MaxDistToArea = 1.25;
  options.FullInRotation = true;
  const std::string text = Written(options);

  TSynthOptions read;
  Read(read, text);
  ExpectSameOptions(read, options);
  EXPECT_EQ(Written(read), text);
}

TEST(SynthOptionsTest, KeysAreSkippedAndAnyNonZeroIsTrue) {
  TSynthOptions options;
  Read(options, Lines({"[SynthOptions]", "1", "0", "7 whatever", "2.5E-1", "0.5 x y", "0.9", "1.5", "-1"}));
  EXPECT_FALSE(options.LinkLengthPenaltyOn);
  EXPECT_TRUE(options.MaxLinkLengthOn);
  EXPECT_EQ(options.MaxLinkLength, 0.25);
  EXPECT_EQ(options.MinTransAngle, 0.5);
  EXPECT_EQ(options.MaxPathDeviationAngle, 0.9);
  EXPECT_EQ(options.MaxDistToArea, 1.5);
  EXPECT_TRUE(options.FullInRotation);
}

TEST(SynthOptionsTest, AVersionZeroBlockEndsBeforeFullInRotationAndKeepsIt) {
  for (bool current : {false, true}) {
    SCOPED_TRACE(current);
    TSynthOptions options;
    options.FullInRotation = current;
    // The line after the block belongs to the next record and must stay unread.
    std::istringstream in(
        Lines({"[SynthOptions]", "0", "0 LinkLengthPenaltyOn", "1 MaxLinkLengthOn",
               " 2.00000000000000E+0000 MaxLinkLength", " 1.00000000000000E-0001 MinTransAngle",
               " 5.00000000000000E-0001 MaxPathDeviationAngle", " 1.10000000000000E+0000 MaxDistToArea",
               "[MechanismList]"}));
    options.ReadFromText(in);
    EXPECT_FALSE(options.LinkLengthPenaltyOn);
    EXPECT_TRUE(options.MaxLinkLengthOn);
    EXPECT_EQ(options.MaxLinkLength, 2.0);
    EXPECT_EQ(options.MinTransAngle, 0.1);
    EXPECT_EQ(options.MaxPathDeviationAngle, 0.5);
    EXPECT_EQ(options.MaxDistToArea, 1.1);
    EXPECT_EQ(options.FullInRotation, current);
    std::string next;
    std::getline(in, next);
    EXPECT_EQ(next, "[MechanismList]\r");
  }
}

TEST(SynthOptionsTest, DamagedBlocksAreRefusedAndChangeNothing) {
  vesktest::ExpectDamageRefused(kDefaultBlock, [](std::istream& in) {
    TSynthOptions options;
    options.ReadFromText(in);
  });

  // Each damage below comes after values that read well: none of them may stay.
  TSynthOptions changed;
  changed.LinkLengthPenaltyOn = false;
  changed.MaxLinkLength = 3;
  const std::string good = Written(changed);
  auto lines = shared::SplitTextLines(good);
  struct Case {
    const char* what;
    size_t line;
    std::string text;
  };
  const Case cases[] = {
      {"section", 0, "[SynthOption]"},
      {"section with a blank", 0, "[SynthOptions] "},
      {"infinite length", 4, "inf MaxLinkLength"},
      {"NaN angle", 5, "nan MinTransAngle"},
      {"huge exponent", 7, "1E999 MaxDistToArea"},
      {"boolean not a number", 8, "yes FullInRotation"},
      {"empty value line", 6, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto damaged = lines;
    damaged[c.line] = c.text;
    TSynthOptions options;
    options.MaxDistToArea = 1.75;
    const TSynthOptions before = options;
    EXPECT_EQ(ReadError(Lines(damaged), [&options](std::istream& in) { options.ReadFromText(in); }),
              "File read error in TSynthOptions!");
    ExpectSameOptions(options, before);
  }
}

TEST(SynthOptionsTest, DefaultsAndReadingKeepTheCurve) {
  TSpline curve;
  TSynthOptions options;
  options.Spline = &curve;
  options.MaxLinkLengthOn = true;
  options.MaxDistToArea = 2;
  options.SetDefaults();
  EXPECT_EQ(options.Spline, &curve);
  EXPECT_EQ(Written(options), kDefaultBlock);
  Read(options, kDefaultBlock);
  EXPECT_EQ(options.Spline, &curve);
}

}  // namespace
