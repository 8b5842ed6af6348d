// synthtool: runs the synthesis program's candidate generation without its windows.
//
//   synthtool generate CURVE.txt --type T --budget N --seed S [--list OUT] [--export K OUT.mech]
//                      [--project OUT.vesk]
//     CURVE.txt holds the curve's control points, one "x y" per line in metres (blank lines
//     skipped), 2 to 80 of them. With the default synthesis options and input function, no pivot
//     areas and the random generator seeded with S, it generates candidates of mechanism type T
//     until their count exceeds N, keeps the 50 best valid ones by error total and prints, fields
//     separated by one blank: "MADE" n, "VALID" n, "TIME" seconds (%.3f), then per kept candidate
//     in rank order "RANK" k total (%.17g). T is a mechanism type number: 0 four-bar, 1 Watt 1,
//     2 Watt 2, 3 Stephenson 1, 5 Stephenson 3, 6 eight-bar, 7 slider four-bar, 8 five-bar.
//     Candidates are ranked by the solution list; VALID is its count of valid candidates. With
//     --list OUT the list's record is written to OUT (CR LF, the file replaced only whole). With
//     --export, kept candidate K (rank from 1) is written to OUT.mech as the synthesis program
//     exports it to the animator; no candidate K is a data error and writes no file. With
//     --project a new project (empty project information) with the curve and the ranked list is
//     saved to OUT.vesk, signed and replaced only whole. A curve of fewer than two points or no
//     length is a data error that says which; a chain type that cannot follow the curve (a Watt 1
//     on a closed curve) makes no valid candidate, and stderr says why.
//
//   synthtool list FILE [OUT]
//     Reads a solution list's record and prints "COUNT" n, then per mechanism in list order
//     "MECH" k type ID total (%.17g); with OUT it writes the record again.
//
//   synthtool project FILE.vesk
//     Opens a project as the synthesis program does and prints "STATUS" s, the checksum status
//     (0 valid, 1 wrong, 2 missing, 3 last line no number), also for a refused file; when the
//     project reads, the "COUNT" and "MECH" lines of list follow.
//
//   synthtool resave IN.vesk OUT.vesk
//     Opens IN as the program opens a project and saves it to OUT as the program saves.
//
//   synthtool export sam|mech|xlsx|html IN.vesk K OUT [--print]
//     Opens IN as the program does and exports its listed solution K (from 1) as the program's
//     commands export the current solution, in the default units and view options: sam the SAM
//     deck, mech the animator's document, xlsx the workbook with every option checked (saved, not
//     opened), html the HTML report with every "Include" box and without
//     "Automatically Print" (--print adds it) written to OUT, its pictures beside it (OUT's name
//     with "Mech.bmp" and "Graph.bmp" for its extension): the mechanism view 640 x 480 pixels
//     zoomed to fit as Zoom All does, and the graph 640 x 300 pixels of tab 0 ("Path Error").
//     html prints each file written, one path a line. No solution K, a refused project and a type
//     SAM cannot take are data errors; nothing is written then.
//
// Wrong arguments give the usage and exit status 2; a file or data error gives the reason and
// exit status 1. In either case the reason goes to stderr and nothing to stdout but the STATUS
// line of project.
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

#include "shared/SynthCanvas2D.h"
#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/OffscreenApplication.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/XlsxWorkbook.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/HtmlReport.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/ProjectFile.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SolutionExport.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tools/HostCommand.h"

namespace {

const char* kUsage =
    "usage: synthtool generate CURVE.txt --type T --budget N --seed S [--list OUT] [--export K OUT.mech]\n"
    "                          [--project OUT.vesk]\n"
    "       synthtool list FILE [OUT]\n"
    "       synthtool project FILE.vesk\n"
    "       synthtool resave IN.vesk OUT.vesk\n"
    "       synthtool export sam|mech|xlsx|html IN.vesk K OUT [--print]\n";

using host::TUsageError;

// A non-negative decimal integer, nothing else on the argument.
bool ParseCount(const std::string& text, uint64_t& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

struct TGenerateArgs {
  std::string Curve;
  uint64_t Type = 0;
  uint64_t Budget = 0;
  uint64_t Seed = 0;
  std::string List;
  std::string Project;
  uint64_t ExportRank = 0;
  std::string ExportFile;
};

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
    } else if (arg == "--list") {
      if (!parsed.List.empty() || i + 1 >= args.size() || args[i + 1].empty()) throw TUsageError();
      parsed.List = args[++i];
    } else if (arg == "--project") {
      if (!parsed.Project.empty() || i + 1 >= args.size() || args[i + 1].empty()) throw TUsageError();
      parsed.Project = args[++i];
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

// A project as a new one of the program: its views at the main window's zoom.
struct TProject {
  static constexpr int kCanvasSize = 1300;
  static constexpr double kWorldSize = 3.0;
  shared::TProjectInfo Info;
  vesk::TSynthOptions Options;
  vesk::TMechanismList List;
  vesk::TAreaList GroundAreas, CouplerAreas;
  vesk::TSpline Curve;
  vesk::TDrawing Drawing;
  shared::TQtBitmapPaintBox Box{1, 1};
  shared::TSynthCanvas2D Views[3] = {{Box, kCanvasSize, kWorldSize}, {Box, kCanvasSize, kWorldSize},
                                     {Box, kCanvasSize, kWorldSize}};
  shared::TDXFDrawing GroundDrawing{shared::TDXFProfile::Synthesis()};
  vesk::TProjectFile File;

  TProject() {
    // Named as the main window names them; a project keeps the names it is saved with.
    Curve.Name = "Curve definition";
    GroundAreas.Name = "Ground Pivot Areas";
    CouplerAreas.Name = "Coupler Pivot Areas";
    File.Info = &Info;
    File.Options = &Options;
    File.List = &List;
    File.GroundAreas = &GroundAreas;
    File.CouplerAreas = &CouplerAreas;
    File.Curve = &Curve;
    File.OutputDrawing = &Drawing;
    for (size_t i = 0; i < 3; ++i) File.Views[i] = &Views[i];
    File.GroundDrawing = &GroundDrawing;
  }
};

void PrintList(const vesk::TMechanismList& list) {
  std::cout << "COUNT " << list.Count() << '\n';
  for (int32_t k = 1; k <= list.Count(); ++k) {
    const vesk::TMechanism& m = *list.Items(k);
    std::cout << "MECH " << k << ' ' << int(m.MechanismType) << ' ' << m.ID << ' '
              << shared::FormatGeneral(m.Error.Total, 17) << '\n';
  }
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
  const std::string refusal = vesk::TMechanism::CommonCurveRefusal(curve);
  if (!refusal.empty()) throw std::runtime_error(refusal);
}

// The list's record into the file, which is replaced only when the whole record is written.
void WriteList(vesk::TMechanismList& list, const std::string& path) {
  std::ostringstream out;
  list.Write(out);
  shared::WriteFileReplacing(path, out.str(), ".synthtool", "Cannot write " + path + ": ");
}

// As the synthesis program exports the current solution to the animator.
void Export(const TGenerateArgs& parsed, vesk::TMechanismList& list, const vesk::TSpline& curve) {
  if (parsed.ExportRank > uint64_t(list.Count()))
    throw std::runtime_error("There is no candidate " + std::to_string(parsed.ExportRank));
  shared::CreateTabLines();
  vesk::ExportAnimatorDocument(*list.Items(int32_t(parsed.ExportRank)), curve, shared::TProjectInfo(),
                               parsed.ExportFile);
  shared::FreeTabLines();
}

void Generate(const std::vector<std::string>& args) {
  const TGenerateArgs parsed = ParseGenerateArgs(args);
  vesk::SeedRandom(parsed.Seed);
  // The project holds the curve and the list that generation fills, so that --project saves them.
  const auto project = std::make_unique<TProject>();
  vesk::TSpline& curve = project->Curve;
  ReadCurve(parsed.Curve, curve);
  vesk::CreateDefaultInputFunction();
  vesk::CreateCMatrix();

  // One mechanism serves every candidate; the list is offered a copy of each valid one (an
  // invalid one would change nothing in it).
  const std::unique_ptr<vesk::TMechanism> mechanism = vesk::NewMechanism(uint8_t(parsed.Type));
  vesk::TMechanism& candidate = *mechanism;
  // A chain type that cannot follow the curve lists nothing; stderr says why, stdout keeps its lines.
  const std::string refusal = candidate.CurveRefusal(curve);
  if (!refusal.empty()) std::cerr << refusal << '\n';
  vesk::TMechanismList& list = project->List;
  uint64_t made = 0;
  const auto start = std::chrono::steady_clock::now();
  do {
    candidate.Generate(curve, nullptr, nullptr);
    ++made;
    if (candidate.Error.Valid) list.AddCandidate(candidate.Clone());
  } while (made <= parsed.Budget);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!parsed.List.empty()) WriteList(list, parsed.List);
  if (!parsed.Project.empty()) project->File.Save(parsed.Project);

  // Before any output: a failed export leaves stdout empty.
  if (!parsed.ExportFile.empty()) Export(parsed, list, curve);
  char time[64];
  std::snprintf(time, sizeof time, "%.3f", seconds);
  std::cout << "MADE " << made << '\n' << "VALID " << list.Generated << '\n' << "TIME " << time << '\n';
  for (int32_t k = 1; k <= list.Count(); ++k)
    std::cout << "RANK " << k << ' ' << shared::FormatGeneral(list.Items(k)->Error.Total, 17) << '\n';
}

void ListRecord(const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3 || args[1].empty() || (args.size() == 3 && args[2].empty()))
    throw TUsageError();
  const std::string& path = args[1];
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open " + path);
  vesk::CreateDefaultInputFunction();
  vesk::TMechanismList list;
  list.Read(in);
  if (args.size() == 3) WriteList(list, args[2]);
  PrintList(list);
}

void ProjectStatus(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[1].empty()) throw TUsageError();
  vesk::CreateDefaultInputFunction();
  TProject project;
  try {
    project.File.Open(args[1]);
  } catch (...) {
    std::cout << "STATUS " << project.File.StatusCode << '\n';
    throw;
  }
  std::cout << "STATUS " << project.File.StatusCode << '\n';
  PrintList(project.List);
}

void Resave(const std::vector<std::string>& args) {
  if (args.size() != 3 || args[1].empty() || args[2].empty()) throw TUsageError();
  vesk::CreateDefaultInputFunction();
  TProject project;
  project.File.Open(args[1]);
  project.File.Save(args[2]);
}

struct TExportArgs {
  std::string Project;
  uint64_t Rank = 0;
  std::string Out;
  bool Print = false;
};

using TExportFunc = void (*)(TProject& project, vesk::TMechanism& solution, const TExportArgs& args);

void ExportSamKind(TProject&, vesk::TMechanism& solution, const TExportArgs& args) {
  vesk::ExportSamDeck(solution, args.Out);
}

void ExportMechKind(TProject& project, vesk::TMechanism& solution, const TExportArgs& args) {
  shared::CreateTabLines();
  vesk::ExportAnimatorDocument(solution, project.Curve, project.Info, args.Out);
  shared::FreeTabLines();
}

void ExportXlsxKind(TProject& project, vesk::TMechanism& solution, const TExportArgs& args) {
  shared::TWorkbook book;
  vesk::ExportWorkbook(solution, project.Info, vesk::TWorkbookOptions(), book);
  shared::WriteXlsx(book, args.Out);
}

// The mechanism view of the program drawn off screen: its canvas with the scroll box's client
// area in the middle, zoomed to fit as Zoom All does.
class TExportView : public shared::TQtBitmapPaintBox {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr double kZoomAllMargin = 1.4;

  TExportView() : TQtBitmapPaintBox(TProject::kCanvasSize, TProject::kCanvasSize) {}
  int ParentClientWidth() const override { return kWidth; }
  int ParentClientHeight() const override { return kHeight; }

  // What the view shows of the project with the mechanism as the current solution.
  shared::TRaster Picture(TProject& project, vesk::TMechanism& mechanism) {
    shared::TSynthCanvas2D canvas(*this, TProject::kCanvasSize, TProject::kWorldSize);
    shared::TComplex min, max;
    bool any = false;
    const auto widen = [&](const shared::TComplex& p) {
      if (!any) min = max = p;
      any = true;
      min.SetXY(std::min(min.X, p.X), std::min(min.Y, p.Y));
      max.SetXY(std::max(max.X, p.X), std::max(max.Y, p.Y));
    };
    for (int32_t i = 1; i <= project.Curve.Count(); ++i) widen(*project.Curve.Items(i));
    if (vesk::AppOptions.ShowGroundDrawing) project.GroundDrawing.UpdateExtent(min, max);
    mechanism.GetExtents(min, max);
    if (!project.GroundAreas.IsEmpty()) project.GroundAreas.GetExtents(min, max);
    if (max.X - min.X != 0 || max.Y - min.Y != 0) canvas.ZoomToRect(min, max, kZoomAllMargin);
    canvas.ClearBackground();
    canvas.DrawAxes();
    if (vesk::AppOptions.ShowGroundDrawing) project.GroundDrawing.Draw(canvas);
    project.GroundAreas.Draw(canvas);
    project.Curve.Draw(canvas);
    mechanism.Draw(canvas);
    const shared::TRaster whole = Canvas().ReadPixels();
    // The scroll box stands in the middle of the canvas.
    const int left = (whole.Width - kWidth) / 2;
    const int top = (whole.Height - kHeight) / 2;
    shared::TRaster part(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) part.Pixels[size_t(y * kWidth + x)] = whole.At(left + x, top + y);
    return part;
  }
};

// The report of the program's File > Report with every "Include" box.
void ExportHtmlKind(TProject& project, vesk::TMechanism& mechanism, const TExportArgs& args) {
  // The drawings need fonts but no display.
  const shared::TOffscreenApplication application("synthtool");
  vesk::TMechanismList& list = project.List;
  list.Select(int32_t(args.Rank));

  shared::TQtBitmapPaintBox graphBox(640, 300);
  vesk::TGraphPaintBox graph(graphBox, shared::Convert());
  list.Graph = &graph;
  list.GraphKind = 0;
  list.DrawGraph();
  list.Graph = nullptr;
  graph.Paint();
  TExportView view;

  const vesk::TProgramInfo& program = vesk::ProgramInfo();
  vesk::THtmlReport report;
  report.FileName = shared::FullNormal(args.Out).string();
  report.BaseName = vesk::ReportBaseName(args.Project, program.DataDir);
  report.ProjectName = args.Project;
  shared::StampReport(report, program);
  report.Options = {true, true, true, true, args.Print, true, true};
  report.Info = &project.Info;
  report.Mechanism = &mechanism;
  report.Graph = &graph;
  report.Curve = &project.Curve;
  report.GroundAreas = &project.GroundAreas;
  report.CouplerAreas = &project.CouplerAreas;
  report.MechPicture = view.Picture(project, mechanism);
  report.GraphPicture = graphBox.Canvas().ReadPixels();
  report.GraphCaption = vesk::kGraphCaptions[0];
  for (const std::string& file : report.Save()) std::cout << file << '\n';
}

// The kinds of export: the name, the writer and whether it takes --print.
struct TExportKind {
  const char* Name;
  TExportFunc Write;
  bool Printable;
};
const TExportKind kExportKinds[] = {
    {"sam", ExportSamKind, false},
    {"mech", ExportMechKind, false},
    {"xlsx", ExportXlsxKind, false},
    {"html", ExportHtmlKind, true},
};

void ExportSolution(const std::vector<std::string>& args) {
  if (args.size() < 5 || args.size() > 6) throw TUsageError();
  const TExportKind* kind = nullptr;
  for (const TExportKind& k : kExportKinds)
    if (args[1] == k.Name) kind = &k;
  TExportArgs parsed;
  parsed.Project = args[2];
  parsed.Out = args[4];
  if (args.size() == 6) {
    if (args[5] != "--print") throw TUsageError();
    parsed.Print = true;
  }
  if (!kind || (parsed.Print && !kind->Printable) || parsed.Project.empty() || parsed.Out.empty() ||
      !ParseCount(args[3], parsed.Rank))
    throw TUsageError();

  shared::CreateConvert();
  vesk::ResetAppOptions();
  vesk::CreateProgramInfo();
  vesk::CreateDefaultInputFunction();
  TProject project;
  project.File.Open(parsed.Project);
  if (parsed.Rank < 1 || parsed.Rank > uint64_t(project.List.Count()))
    throw std::runtime_error("There is no solution " + args[3] + " in " + parsed.Project);
  kind->Write(project, *project.List.Items(int32_t(parsed.Rank)), parsed);
}

int Run(const std::vector<std::string>& args) {
  return host::RunCommand(kUsage, [&] {
    if (!args.empty() && args[0] == "generate") {
      Generate(args);
    } else if (!args.empty() && args[0] == "list") {
      ListRecord(args);
    } else if (!args.empty() && args[0] == "project") {
      ProjectStatus(args);
    } else if (!args.empty() && args[0] == "resave") {
      Resave(args);
    } else if (!args.empty() && args[0] == "export") {
      ExportSolution(args);
    } else {
      throw TUsageError();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  // A file size limit fails the write with its message instead of ending the tool mid-save.
  shared::IgnoreFileSizeSignal();
  vesk::CreateFileValidate();
  const int result = Run(std::vector<std::string>(argv + 1, argv + argc));
  vesk::FreeFileValidate();
  return result;
}
