// The message log: prefixes, kinds, and dropping without a sink.
#include "animator/engine/StdOut.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using quillon::TMessageKind;

struct RecordingSink : quillon::TMessageSink {
  std::vector<std::pair<std::string, TMessageKind>> lines;
  void AppendLine(const std::string& line, TMessageKind kind) override { lines.emplace_back(line, kind); }
  void ClearLines() override { lines.clear(); }
};

TEST(StdOutTest, PrefixesAndKinds) {
  quillon::TStdOut log;
  log.Message("lost before the sink");
  RecordingSink sink;
  log.SetSink(&sink);
  log.Message("plain");
  log.Notify("note");
  log.Warning("x");
  log.Error("bad");
  ASSERT_EQ(sink.lines.size(), 4u);
  EXPECT_EQ(sink.lines[0], std::make_pair(std::string("plain"), TMessageKind::Message));
  EXPECT_EQ(sink.lines[1], std::make_pair(std::string("note"), TMessageKind::Notify));
  EXPECT_EQ(sink.lines[2], std::make_pair(std::string("[Warning] x"), TMessageKind::Warning));
  EXPECT_EQ(sink.lines[3], std::make_pair(std::string("[Error] bad"), TMessageKind::Error));
  log.Clear();
  EXPECT_TRUE(sink.lines.empty());
  EXPECT_STREQ(quillon::TStdOut::SoundFile(TMessageKind::Message), "");
  EXPECT_STREQ(quillon::TStdOut::SoundFile(TMessageKind::Warning), "warning.wav");
  EXPECT_EQ(quillon::TStdOut::Colour(TMessageKind::Error), 0x0000FFu);
  EXPECT_EQ(quillon::TStdOut::Colour(TMessageKind::Warning), 0x00FFFFu);
}

}  // namespace
