// The message memo: lines of the log, the tint of their kind for 900 ms, the kind's sound.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "animator/app/MessageMemo.h"
#include "shared/Sound.h"

namespace quillon {
namespace {

// Finds only the warning and error sounds, as if "notify.wav" were not installed.
class TFakeSound : public shared::TSound {
 public:
  std::vector<std::string> Played;
  int Beeps = 0;
  void Beep() override { ++Beeps; }

 protected:
  std::string Locate(const std::string& fileName) const override {
    return fileName == "notify.wav" ? std::string() : fileName;
  }
  bool IsPlaying() const override { return false; }
  void Start(const std::string& path) override { Played.push_back(path); }
};

TEST(MessageMemo, LogLinesTintAndSound) {
  TFakeSound sound;
  shared::SetSound(&sound);
  TMessageMemo memo;
  TStdOut log;
  log.SetSink(&memo);
  const QColor face = QApplication::palette().color(QPalette::Button);
  EXPECT_EQ(memo.BackgroundColour(), face);

  struct TCase {
    void (TStdOut::*Write)(const std::string&);
    QColor Tint;
    std::vector<std::string> Played;
    int Beeps;
  };
  const TCase cases[] = {
      {&TStdOut::Message, Qt::white, {}, 0},
      {&TStdOut::Notify, Qt::white, {}, 0},  // a missing notice sound stays silent
      {&TStdOut::Warning, Qt::yellow, {"warning.wav"}, 0},
      {&TStdOut::Error, Qt::red, {"error.wav"}, 0},
  };
  for (const TCase& c : cases) {
    sound.Played.clear();
    (log.*c.Write)(
        "Stra\xdf"
        "e");
    EXPECT_EQ(memo.BackgroundColour(), c.Tint);
    EXPECT_TRUE(memo.IsTinted());
    EXPECT_EQ(sound.Played, c.Played);
    EXPECT_EQ(sound.Beeps, c.Beeps);
  }
  EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("Straße\nStraße\n[Warning] Straße\n[Error] Straße"));

  // The tint lasts one single-shot interval; the test runs it out at once instead of timing it,
  // which a loaded machine would make flaky.
  auto* timer = memo.findChild<QTimer*>(QStringLiteral("TintTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_TRUE(timer->isSingleShot());
  EXPECT_EQ(timer->interval(), TMessageMemo::kTintMilliseconds);
  timer->start(0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !memo.IsTinted(); }, 60000));
  EXPECT_EQ(memo.BackgroundColour(), face);

  log.Clear();
  EXPECT_TRUE(memo.toPlainText().isEmpty());
  shared::SetSound(nullptr);
}

}  // namespace
}  // namespace quillon
