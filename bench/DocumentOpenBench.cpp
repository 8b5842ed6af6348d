// Cost of opening and solving a document of about 100 KB that declares as much as the reader
// lets it: one made of blank records of one kind each (links, curve points, areas, joints with
// inputs), read up to the bounds, then solved over 90 steps; and of the ready-made linkages'
// documents.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/Presets.h"
#include "shared/TabLine.h"

namespace {

constexpr size_t kDocumentBytes = 100 * 1024;

std::string Section(const std::string& name, const std::string& records) {
  return "[" + name + ">\r\n" + records + "<" + name + "]\r\n";
}

// The header, four joints of a four-bar, and the section filled with the record up to 100 KB.
std::string Document(const std::string& name, const std::string& first, const std::string& record) {
  std::string text = Section("Quillon", "0\r\n");
  if (name != "Joints")
    text += Section("Joints", "A\t0\t0\t1\t1\t1\t0\t1\t0\r\nB\t0.1\t0.2\t1\t1\t1\t0\t0\t0\r\n"
                              "C\t0.4\t0.3\t1\t1\t1\t0\t0\t0\r\nD\t0.5\t0\t1\t1\t1\t0\t0\t0\r\n");
  std::string records = first;
  while (text.size() + records.size() + record.size() + 2 < kDocumentBytes) records += record + "\r\n";
  text += Section(name, records);
  if (name == "Joints") {
    // Every input but the first runs a million times as long, so its table reaches the bound.
    text += Section("Input A", "0\t1\t6.28\r\n");
    for (char c = 'B'; c <= 'Z'; ++c) text += Section(std::string("Input ") + c, "0\t1e6\t6.28\r\n");
  }
  return text;
}

void OpenAndSolve(const std::string& text) {
  shared::TTabLines lines;
  std::istringstream in(text);
  lines.LoadFromStream(in);
  quillon::TAniMechanism mechanism;
  mechanism.LoadFromTabLines(lines);
  mechanism.Calculate();
  benchmark::DoNotOptimize(mechanism.Len);
}

void Open(benchmark::State& state, const std::string& text) {
  for (auto _ : state) OpenAndSolve(text);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_OpenBlankLinks(benchmark::State& state) { Open(state, Document("Links", "", "")); }
void BM_OpenBlankCurvePoints(benchmark::State& state) { Open(state, Document("Curve", "0\t0\t0\t0\t0\t0\r\n", "")); }
void BM_OpenBlankAreas(benchmark::State& state) { Open(state, Document("Areas", "", "")); }
// Joints A..Z over and over, each with the input flag.
void BM_OpenInputJoints(benchmark::State& state) {
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += std::string(c == 'A' ? "" : "\r\n") + c + "\t0\t0\t0\t0\t0\t0\t1\t0";
  Open(state, Document("Joints", "", letters));
}

// The documents of the ready-made linkages, each opened and solved in turn: the small documents a
// user opens most, instant centres and all.
void BM_OpenPresets(benchmark::State& state) {
  std::vector<std::string> texts;
  quillon::TAniMechanism source;
  int64_t bytes = 0;
  for (const quillon::TPreset& preset : quillon::Presets()) {
    source.NewMechanism(preset.Type);
    shared::TTabLines lines;
    source.SaveToTabLines(lines);
    texts.push_back(lines.Text());
    bytes += static_cast<int64_t>(texts.back().size());
  }
  for (auto _ : state)
    for (const std::string& text : texts) OpenAndSolve(text);
  state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(BM_OpenBlankLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenBlankCurvePoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenBlankAreas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenInputJoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPresets)->Unit(benchmark::kMillisecond);

}  // namespace
