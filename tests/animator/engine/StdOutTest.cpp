// The message log: prefixes, kinds with their sounds and tints, and dropping without a sink.
#include "animator/engine/StdOut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogCapture.h"

namespace {

using quillon::TMessageKind;

TEST(StdOutTest, PrefixesAndKinds) {
  quillon::TStdOut log;
  log.Message("lost before the sink");
  enginetest::TRecordingSink sink;
  log.SetSink(&sink);
  log.Message("plain");
  log.Notify("note");
  log.Warning("x");
  log.Error("bad");
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"plain", "note", "[Warning] x", "[Error] bad"}));
  EXPECT_EQ(sink.kinds, (std::vector<TMessageKind>{TMessageKind::Message, TMessageKind::Notify,
                                                   TMessageKind::Warning, TMessageKind::Error}));
  log.Clear();
  EXPECT_TRUE(sink.lines.empty());
}

TEST(StdOutTest, SoundAndTintOfEachKind) {
  const struct {
    TMessageKind kind;
    const char* sound;
    unsigned colour;
  } cases[] = {
      {TMessageKind::Message, "", 0xFFFFFF},
      {TMessageKind::Notify, "notify.wav", 0xFFFFFF},
      {TMessageKind::Warning, "warning.wav", 0x00FFFF},
      {TMessageKind::Error, "error.wav", 0x0000FF},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(quillon::TStdOut::SoundFile(c.kind), c.sound);
    EXPECT_EQ(quillon::TStdOut::Colour(c.kind), c.colour) << c.sound;
  }
}

}  // namespace
