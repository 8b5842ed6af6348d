// synthtool: runs the synthesis program's candidate generation without its windows.
//
//   synthtool generate CURVE.txt --type T --budget N --seed S [--export K OUT.mech]
//     CURVE.txt holds the curve's control points, one "x y" per line in metres (blank lines
//     skipped), 2 to 80 of them. With the default synthesis options and input function, no pivot
//     areas and the random generator seeded with S, it generates candidates of mechanism type T
//     (0, the four-bar) until their count exceeds N, keeps the 50 best valid ones by error total
//     and prints, fields separated by one blank: "MADE" n, "VALID" n, "TIME" seconds (%.3f),
//     then per kept candidate in rank order "RANK" k total (%.17g). T is a mechanism type number:
//     0 four-bar, 1 Watt 1, 2 Watt 2, 3 Stephenson 1, 5 Stephenson 3, 6 eight-bar, 7 slider
//     four-bar, 8 five-bar. With --export, kept candidate K (rank from 1) is written to OUT.mech
//     as the synthesis program exports it to the animator; no candidate K is a data error and
//     writes no file.
//
// Wrong arguments give the usage and exit status 2; a file or data error gives the reason and
// exit status 1. In either case the reason goes to stderr and nothing to stdout.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/RealText.h"
#include "shared/TabLine.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Slider.h"
#include "synthesis/engine/Spline.h"

namespace {

const char* kUsage = "usage: synthtool generate CURVE.txt --type T --budget N --seed S [--export K OUT.mech]\n";

// The solution list holds this many.
constexpr size_t kKept = 50;

class TUsageError : public std::runtime_error {
 public:
  TUsageError() : std::runtime_error(kUsage) {}
};

// A non-negative decimal integer, nothing else on the argument.
bool ParseCount(const std::string& text, uint64_t& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// %.17g without the process locale.
std::string Real(double value) {
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
  return std::string(text, result.ptr);
}

struct TGenerateArgs {
  std::string Curve;
  uint64_t Type = 0;
  uint64_t Budget = 0;
  uint64_t Seed = 0;
  uint64_t ExportRank = 0;
  std::string ExportFile;
};

// The chain type's candidate; none for a number that is no type or whose type is not built in.
// The one place that maps type numbers to classes.
std::unique_ptr<vesk::TMechanism> NewMechanism(uint64_t type) {
  switch (type) {
    case vesk::kFourbarType:
      return std::make_unique<vesk::TFourbar>();
    case vesk::kEightbarType:
      return std::make_unique<vesk::TEightbar>();
    case vesk::kSliderType:
      return std::make_unique<vesk::TSlider>();
    case vesk::kFiveBarType:
      return std::make_unique<vesk::TFiveBar>();
    default:
      return nullptr;
  }
}

bool IsTypeNumber(uint64_t type) {
  for (uint8_t t : {vesk::kFourbarType, vesk::kWatt1Type, vesk::kWatt2Type, vesk::kStephenson1Type,
                    vesk::kStephenson3Type, vesk::kEightbarType, vesk::kSliderType, vesk::kFiveBarType})
    if (type == t) return true;
  return false;
}

TGenerateArgs ParseGenerateArgs(const std::vector<std::string>& args) {
  TGenerateArgs parsed;
  bool haveCurve = false, haveType = false, haveBudget = false, haveSeed = false, haveExport = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto option = [&](bool& seen, uint64_t& target) {
      if (seen || i + 1 >= args.size() || !ParseCount(args[i + 1], target)) throw TUsageError();
      seen = true;
      ++i;
    };
    if (arg == "--type") {
      option(haveType, parsed.Type);
    } else if (arg == "--budget") {
      option(haveBudget, parsed.Budget);
    } else if (arg == "--seed") {
      option(haveSeed, parsed.Seed);
    } else if (arg == "--export") {
      option(haveExport, parsed.ExportRank);
      if (i + 1 >= args.size() || args[i + 1].empty() || parsed.ExportRank == 0) throw TUsageError();
      parsed.ExportFile = args[++i];
    } else {
      if (haveCurve || arg.empty() || arg[0] == '-') throw TUsageError();
      parsed.Curve = arg;
      haveCurve = true;
    }
  }
  if (!haveCurve || !haveType || !haveBudget || !haveSeed || !IsTypeNumber(parsed.Type)) throw TUsageError();
  return parsed;
}

// The control points into the curve; raises with the reason on a file or data error.
void ReadCurve(const std::string& path, vesk::TSpline& curve) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open " + path);
  std::string line;
  int32_t lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream fields(line);
    std::vector<std::string> words;
    std::string word;
    while (fields >> word) words.push_back(word);
    if (words.empty()) continue;
    double x = 0, y = 0;
    if (words.size() != 2 || !shared::ParseReal(words[0], x) || !shared::ParseReal(words[1], y))
      throw std::runtime_error(path + ": line " + std::to_string(lineNumber) + " is not two numbers");
    if (curve.Count() >= vesk::TSpline::kCapacity)
      throw std::runtime_error(path + ": more than " + std::to_string(vesk::TSpline::kCapacity) + " points");
    curve.Add(std::make_unique<vesk::TPrePoint>(x, y));
  }
  if (in.bad()) throw std::runtime_error("Cannot read " + path);
  curve.Recalc();
  if (!curve.IsValid()) throw std::runtime_error("A Curve has to be defined !");
}

// As the synthesis program exports the current solution to the animator.
void Export(const TGenerateArgs& parsed, const std::vector<std::unique_ptr<vesk::TMechanism>>& kept,
            const vesk::TSpline& curve) {
  if (parsed.ExportRank > kept.size())
    throw std::runtime_error("There is no candidate " + std::to_string(parsed.ExportRank));
  shared::CreateTabLines();
  shared::TTabLines& lines = shared::TabLines();
  lines.Clear();
  kept[parsed.ExportRank - 1]->ExportToAnimator();
  curve.ExportTabLines(lines);
  lines.BeginSection("Info");
  lines.EndSection();
  lines.FileName = parsed.ExportFile;
  lines.SaveToFile();
  shared::FreeTabLines();
}

void Generate(const std::vector<std::string>& args) {
  const TGenerateArgs parsed = ParseGenerateArgs(args);
  vesk::SeedRandom(parsed.Seed);
  vesk::TSpline curve;
  ReadCurve(parsed.Curve, curve);
  vesk::CreateDefaultInputFunction();
  vesk::CreateCMatrix();

  // One mechanism serves every candidate; only a kept one is copied.
  const std::unique_ptr<vesk::TMechanism> mechanism = NewMechanism(parsed.Type);
  if (!mechanism) throw std::runtime_error("Mechanism type " + std::to_string(parsed.Type) + " is not built in");
  vesk::TMechanism& candidate = *mechanism;
  std::vector<std::unique_ptr<vesk::TMechanism>> kept;
  kept.reserve(kKept + 1);
  uint64_t made = 0, valid = 0;
  const auto start = std::chrono::steady_clock::now();
  do {
    candidate.Generate(curve, nullptr, nullptr);
    ++made;
    if (!candidate.Error.Valid) continue;
    ++valid;
    const double total = candidate.Error.Total;
    if (kept.size() == kKept && !(total < kept.back()->Error.Total)) continue;
    // An equal total goes after those already held.
    auto at = std::upper_bound(kept.begin(), kept.end(), total,
                               [](double t, const auto& m) { return t < m->Error.Total; });
    kept.insert(at, candidate.Clone());
    if (kept.size() > kKept) kept.pop_back();
  } while (made <= parsed.Budget);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  // Before any output: a failed export leaves stdout empty.
  if (!parsed.ExportFile.empty()) Export(parsed, kept, curve);
  char time[64];
  std::snprintf(time, sizeof time, "%.3f", seconds);
  std::cout << "MADE " << made << '\n' << "VALID " << valid << '\n' << "TIME " << time << '\n';
  for (size_t k = 0; k < kept.size(); ++k) std::cout << "RANK " << k + 1 << ' ' << Real(kept[k]->Error.Total) << '\n';
}

int Run(const std::vector<std::string>& args) {
  try {
    if (!args.empty() && args[0] == "generate") {
      Generate(args);
    } else {
      throw TUsageError();
    }
  } catch (const TUsageError& error) {
    std::cerr << error.what();
    return 2;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
