// mechtool: makes, checks and rewrites mechanism documents (*.mech) without the animator's windows.
//
//   mechtool new TYPE OUT
//     Writes the preset linkage TYPE (a type number of the animator's type buttons, 13 for
//     "Custom") as a mechanism document, with an empty project information section after the
//     mechanism content. A type without a preset writes an empty mechanism.
//   mechtool header FILE
//     Prints the answer of the header check: -2 no header, 0 empty header, 1 current version,
//     2 current version written by the synthesis program, -3 another version.
//   mechtool roundtrip IN OUT
//     Reads IN as the animator opens a document and saves it to OUT as the animator saves it,
//     keeping its project information.
//   mechtool solve FILE [--steps N]
//   mechtool solve --preset TYPE [--steps N]
//     Reads FILE (or builds the preset TYPE), sets N positions per cycle (default 90), solves
//     and prints tab-separated lines, reals in %.17g: "LEN" n, "FULLCYCLE" 0|1; for each step
//     k = 0..N and each joint in list order "P" k letter x y vx vy ax ay invalid (SI units;
//     velocity and acceleration 0 for a joint without them; invalid 1 also for every step beyond
//     the solved length); for each step "IC" k x y atinfinity of the shown link pair; and, when
//     a curve is set, for each step "DEV" k path input output.
//   mechtool fit DOC OUT [--passes N] [--mode M] [--steps S]
//     Reads DOC, sets S positions per cycle (default 90) and fits the linkage to its target
//     curve by the animator's optimiser with objective M (0 deviation integral, the default,
//     1 maximum deviation, 2 combined error). Prints "PASS" 0 objective after the start and
//     "PASS" k objective after each pass k (tab-separated, %.17g); stops when the optimiser is
//     done or after N passes, accepts the result and saves it to OUT as roundtrip does. A
//     document whose linkage cannot be fitted (no curve, one too large to measure, an output
//     joint that does not move) is a data error, with the reason.
//   mechtool export KIND DOC OUT [--steps N] [--step K] [--wav FILE.wav]
//     Exports the document DOC with N positions per cycle (default 90), the default units and
//     view settings, a drawing of 640 x 480 pixels zoomed to fit and a graph of 640 x 171
//     pixels, and prints each file written, one path a line. No display is needed. KIND:
//       xlsx  the workbook of the Excel export with every box checked, saved to OUT;
//       avi   the film of one cycle as the animator records it, every second step a frame, ten
//             frames a second; --wav FILE.wav adds the PCM sound of the wave file as its
//             second stream (the file's extension must be ".wav"), for this kind only;
//       html  the HTML report with every "Include" box and no automatic printing, its pictures
//             beside OUT (OUT's name with "Mech.jpg" and "Graph.jpg" for its extension);
//       bmp, jpeg  the drawing at step K (default 0, at most the solved length) as OUT with the
//             step put before the extension (pic.bmp gives pic000.bmp); OUT's extension must be
//             ".bmp" for bmp and must not be for jpeg. --step is for these two only.
//
// Exit status 0 on success, 1 when a document cannot be read or written, 2 on wrong arguments;
// the reason goes to stderr and nothing is written. Warnings of the reader go to stderr too.
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/ExcelExport.h"
#include "animator/engine/FilmWriter.h"
#include "animator/engine/HtmlReport.h"
#include "animator/engine/MechOptimize.h"
#include "animator/engine/MechanismHeader.h"
#include "animator/engine/MotionGraph.h"
#include "animator/engine/PictureExport.h"
#include "animator/engine/StdOut.h"
#include "shared/AniCanvas2D.h"
#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ProgramInfo.h"
#include "shared/ProjectInfo.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/OffscreenApplication.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/XlsxWorkbook.h"
#include "tools/HostCommand.h"

namespace {

const char* kUsage =
    "usage: mechtool new TYPE OUT\n"
    "       mechtool header FILE\n"
    "       mechtool roundtrip IN OUT\n"
    "       mechtool solve FILE [--steps N]\n"
    "       mechtool solve --preset TYPE [--steps N]\n"
    "       mechtool fit DOC OUT [--passes N] [--mode M] [--steps S]\n"
    "       mechtool export xlsx|avi|html DOC OUT [--steps N]\n"
    "       mechtool export avi DOC OUT [--steps N] [--wav FILE.wav]\n"
    "       mechtool export bmp|jpeg DOC OUT [--steps N] [--step K]\n";

using host::TUsageError;

// The message log of the engine, shown on stderr.
class TStderrSink : public quillon::TMessageSink {
 public:
  void AppendLine(const std::string& line, quillon::TMessageKind) override { std::cerr << line << '\n'; }
  void ClearLines() override {}
};

// The store silently reads nothing for a missing file; here that is an error.
void Load(shared::TTabLines& lines, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw std::runtime_error(path + " does not exist!");
  lines.Clear();
  lines.LoadFromFile(path);
}

void Save(const quillon::TAniMechanism& mechanism, const shared::TProjectInfo& info,
          const std::string& path) {
  shared::TTabLines& lines = shared::TabLines();
  lines.Clear();
  lines.SetFileName(path);
  // The animator's order: the mechanism content, then the project information.
  mechanism.SaveToTabLines(lines);
  info.WriteInfoSection(lines);
  lines.SaveToFile();
}

void New(const std::string& typeText, const std::string& out) {
  int32_t type = 0;
  if (!shared::ParseInt(typeText, type)) throw TUsageError();
  quillon::TAniMechanism mechanism;
  mechanism.NewMechanism(type);
  mechanism.Calculate();
  Save(mechanism, shared::TProjectInfo{}, out);
}

void Header(const std::string& path) {
  shared::TTabLines& lines = shared::TabLines();
  Load(lines, path);
  std::cout << quillon::CheckMechanismHeader(lines).Result << '\n';
}

// The document as the animator opens it, with its project information.
void LoadDocument(const std::string& in, quillon::TAniMechanism& mechanism, shared::TProjectInfo& info) {
  shared::TTabLines& lines = shared::TabLines();
  Load(lines, in);
  mechanism.LoadFromTabLines(lines);
  // No date of today: a document without project information gets empty fields.
  info.ReadInfoSection(lines, "");
}

void Roundtrip(const std::string& in, const std::string& out) {
  quillon::TAniMechanism mechanism;
  shared::TProjectInfo info;
  LoadDocument(in, mechanism, info);
  mechanism.Calculate();
  Save(mechanism, info, out);
}

// The arguments after "solve": FILE or --preset TYPE, and --steps N, in any order.
struct TSolveArgs {
  std::string File;
  bool Preset = false;
  int32_t Type = 0;
  int32_t Steps = quillon::TAniMechanism::kDefaultPositions;
};

TSolveArgs ParseSolveArgs(const std::vector<std::string>& args) {
  TSolveArgs parsed;
  bool haveSource = false, haveSteps = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--steps" || arg == "--preset") {
      if (i + 1 >= args.size()) throw TUsageError();
      const std::string& value = args[++i];
      if (arg == "--steps") {
        if (haveSteps || !shared::ParseInt(value, parsed.Steps) || parsed.Steps < 1) throw TUsageError();
        haveSteps = true;
        continue;
      }
      if (haveSource || !shared::ParseInt(value, parsed.Type)) throw TUsageError();
      parsed.Preset = true;
    } else {
      if (haveSource || arg.empty() || arg[0] == '-') throw TUsageError();
      parsed.File = arg;
    }
    haveSource = true;
  }
  if (!haveSource) throw TUsageError();
  return parsed;
}

void PrintSolution(const quillon::TAniMechanism& m) {
  std::string out;
  auto field = [&out](const std::string& text) {
    out += '\t';
    out += text;
  };
  out += "LEN\t" + std::to_string(m.Len) + "\nFULLCYCLE\t" + std::to_string(m.FullCycle ? 1 : 0) + '\n';
  for (int32_t k = 0; k <= m.N; ++k) {
    for (const auto& joint : m.Joints) {
      const quillon::TPositionRecord& p = joint->Positions[k];
      const bool vectors = static_cast<size_t>(k) < joint->Velocity.size();
      const quillon::TPositionRecord v = vectors ? joint->Velocity[k] : quillon::TPositionRecord{};
      const quillon::TPositionRecord a = vectors ? joint->Acceleration[k] : quillon::TPositionRecord{};
      out += "P\t" + std::to_string(k);
      field(std::string(1, static_cast<char>(joint->Letter)));
      for (const double value : {p.X, p.Y, v.X, v.Y, a.X, a.Y}) field(shared::FormatGeneral(value, 17));
      field(p.Invalid || k > m.Len ? "1" : "0");
      out += '\n';
    }
  }
  for (int32_t k = 0; k <= m.N; ++k) {
    const quillon::TCentreRecord& c = m.CentreAt[k];
    out += "IC\t" + std::to_string(k);
    field(shared::FormatGeneral(c.X, 17));
    field(shared::FormatGeneral(c.Y, 17));
    field(c.AtInfinity ? "1" : "0");
    out += '\n';
  }
  if (m.Curve.PointCount() > 0) {
    for (int32_t k = 0; k <= m.N; ++k) {
      const quillon::TDeviationRecord& d = m.Deviation[k];
      out += "DEV\t" + std::to_string(k);
      for (const double value : {d.Path, d.InputError, d.OutputError})
        field(shared::FormatGeneral(value, 17));
      out += '\n';
    }
  }
  std::cout << out;
}

void Solve(const std::vector<std::string>& args) {
  const TSolveArgs parsed = ParseSolveArgs(args);
  quillon::TAniMechanism mechanism;
  if (parsed.Preset) {
    mechanism.NewMechanism(parsed.Type);
  } else {
    shared::TTabLines& lines = shared::TabLines();
    Load(lines, parsed.File);
    mechanism.LoadFromTabLines(lines);
  }
  mechanism.SetPositionCount(parsed.Steps);
  mechanism.Calculate();
  PrintSolution(mechanism);
}

struct TFitArgs {
  std::string In;
  std::string Out;
  // 0: until the optimiser is done.
  int32_t Passes = 0;
  int32_t Mode = quillon::kFitIntegral;
  int32_t Steps = quillon::TAniMechanism::kDefaultPositions;
};

TFitArgs ParseFitArgs(const std::vector<std::string>& args) {
  TFitArgs parsed;
  bool havePasses = false, haveMode = false, haveSteps = false;
  std::vector<std::string> files;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--passes" || arg == "--mode" || arg == "--steps") {
      if (i + 1 >= args.size()) throw TUsageError();
      const std::string& value = args[++i];
      bool& seen = arg == "--passes" ? havePasses : arg == "--mode" ? haveMode : haveSteps;
      int32_t& target = arg == "--passes" ? parsed.Passes : arg == "--mode" ? parsed.Mode : parsed.Steps;
      if (seen || !shared::ParseInt(value, target)) throw TUsageError();
      seen = true;
    } else {
      if (arg.empty() || arg[0] == '-') throw TUsageError();
      files.push_back(arg);
    }
  }
  if (files.size() != 2 || (havePasses && parsed.Passes < 1) || parsed.Steps < 1 ||
      parsed.Mode < quillon::kFitIntegral || parsed.Mode > quillon::kFitCombined)
    throw TUsageError();
  parsed.In = files[0];
  parsed.Out = files[1];
  return parsed;
}

void Fit(const std::vector<std::string>& args) {
  const TFitArgs parsed = ParseFitArgs(args);
  quillon::TAniMechanism mechanism;
  shared::TProjectInfo info;
  LoadDocument(parsed.In, mechanism, info);
  mechanism.SetPositionCount(parsed.Steps);
  mechanism.Calculate();
  const std::string refusal = quillon::FitRefusal(mechanism);
  if (!refusal.empty()) throw std::runtime_error(parsed.In + ": the linkage cannot be fitted: " + refusal + "!");
  quillon::TMechOptimize optimizer;
  optimizer.Mode = parsed.Mode;
  optimizer.Start(mechanism);
  // Start names the reason in the log too.
  if (optimizer.Refused) throw std::runtime_error(parsed.In + ": the linkage cannot be fitted!");
  std::string out = "PASS\t0\t" + shared::FormatGeneral(optimizer.Best, 17) + '\n';
  for (int32_t pass = 1; !optimizer.Done && (parsed.Passes == 0 || pass <= parsed.Passes); ++pass) {
    optimizer.Iterate();
    out += "PASS\t" + std::to_string(optimizer.Iterations) + '\t' +
           shared::FormatGeneral(optimizer.Best, 17) + '\n';
  }
  optimizer.Accept();
  Save(mechanism, info, parsed.Out);
  std::cout << out;
}

// The arguments after "export": KIND DOC OUT and the options, in any order after KIND.
struct TExportArgs {
  std::string Document;
  std::string Out;
  int32_t Steps = quillon::TAniMechanism::kDefaultPositions;
  int32_t Step = 0;
  // The film's sound track, empty for none.
  std::string Wave;
};

// stepAllowed: the kind takes --step; waveAllowed: it takes --wav.
TExportArgs ParseExportArgs(const std::vector<std::string>& args, bool stepAllowed, bool waveAllowed) {
  TExportArgs parsed;
  std::vector<std::string> names;
  bool haveSteps = false, haveStep = false, haveWave = false;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--steps") {
      if (haveSteps || i + 1 >= args.size() || !shared::ParseInt(args[++i], parsed.Steps) || parsed.Steps < 1)
        throw TUsageError();
      haveSteps = true;
    } else if (arg == "--step") {
      if (!stepAllowed || haveStep || i + 1 >= args.size() || !shared::ParseInt(args[++i], parsed.Step) ||
          parsed.Step < 0)
        throw TUsageError();
      haveStep = true;
    } else if (arg == "--wav") {
      if (!waveAllowed || haveWave || i + 1 >= args.size() || args[i + 1].empty()) throw TUsageError();
      parsed.Wave = args[++i];
      haveWave = true;
    } else {
      if (arg.empty() || arg[0] == '-') throw TUsageError();
      names.push_back(arg);
    }
  }
  if (names.size() != 2) throw TUsageError();
  parsed.Document = names[0];
  parsed.Out = names[1];
  return parsed;
}

// The drawings of the exports: the document on a window-less canvas with the animator's default
// view settings, zoomed to fit as the view's Zoom All does.
class TExportDrawing {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  explicit TExportDrawing(const TExportArgs& args) : Box(kWidth, kHeight), Canvas(Box, 1.0) {
    shared::TTabLines& lines = shared::TabLines();
    Load(lines, args.Document);
    Mechanism.LoadFromTabLines(lines);
    Info.ReadInfoSection(lines, "");
    lines.Clear();
    Mechanism.SetPositionCount(args.Steps);
    Mechanism.Calculate();
    Canvas.SetDoubleBuffered(true);
    Canvas.SetFontName("MS Sans Serif");
    Canvas.GridStep = 0.1;
    Canvas.GridColor = 12632256;
    Canvas.GridPenStyle = shared::TPenStyle::Solid;
    // A frame drawing takes the place of the grid; drawings are not shown, so the background
    // stays blank then.
    Canvas.GridStyle =
        Mechanism.HasFrameDrawing() ? shared::TGridStyle::Background : shared::TGridStyle::Lines;
    shared::TComplex min, max;
    if (Mechanism.GetExtent(min, max)) Canvas.ZoomToRect(min, max, 1.2);
  }

  // The mechanism at its current step on the canvas's front bitmap.
  void Draw() {
    Canvas.ClearBackground();
    Canvas.CopyBackground();
    Canvas.UseFrontCanvas();
    Mechanism.Paint(Canvas);
  }

  shared::TQtBitmapPaintBox Box;
  shared::TAniCanvas2D Canvas;
  quillon::TAniMechanism Mechanism;
  shared::TProjectInfo Info;
};

// The graph of the view as it opens a document: x by time, the path error when the curve can be
// fitted, else the link rotation, painted 640 x 171 on white in the view's font.
class TExportGraph {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 171;

  explicit TExportGraph(const quillon::TAniMechanism& mechanism) : Surface(kWidth, kHeight) {
    Graph.Mechanism = &mechanism;
    Graph.ErrorAvailable = mechanism.CanFitCurve();
    Graph.XIsTime = true;
    Graph.BackColor = shared::kWhite;
    Graph.Rebuild(Graph.ErrorAvailable ? quillon::gkPathError : quillon::gkRotation);
    shared::TFont font;
    font.Name = "MS Sans Serif";
    font.Height = 13;
    Surface.SetFont(font);
  }

  void SaveJPEG(const std::string& fileName) { Graph.SaveJPEG(Surface, fileName); }

  quillon::TMotionGraph Graph;
  shared::TQtImageSurface Surface;
};

// Every box of the export dialog checked, the default texts and x, y display; written to OUT.
std::vector<std::string> ExportXlsx(const TExportArgs& args) {
  TExportDrawing drawing(args);
  const TExportGraph graph(drawing.Mechanism);
  shared::TWorkbook book;
  quillon::WriteExcelWorkbook(book, graph.Graph, drawing.Mechanism, drawing.Info,
                              quillon::TExcelExportOptions{}, "Properties", false);
  shared::WriteXlsx(book, args.Out);
  return {args.Out};
}

// Every "Include" box, no automatic printing; the drawing at step 0.
std::vector<std::string> ExportHtml(const TExportArgs& args) {
  TExportDrawing drawing(args);
  TExportGraph graph(drawing.Mechanism);
  drawing.Mechanism.ResetFrame();
  drawing.Draw();
  const shared::TProgramInfo& program = shared::ProgramInfo();
  quillon::THtmlReport report;
  report.FileName = args.Out;
  report.DocumentName = std::filesystem::path(args.Document).filename().string();
  shared::StampReport(report, program);
  report.Options = {true, true, true, true, false, true, true};
  report.Info = &drawing.Info;
  report.Mechanism = &drawing.Mechanism;
  report.SaveDrawing = [&drawing](const std::string& picture) { drawing.Canvas.SaveJPEG(picture); };
  report.SaveGraph = [&graph](const std::string& picture) { graph.SaveJPEG(picture); };
  const std::vector<std::string>& series = graph.Graph.SeriesNames();
  report.GraphSeriesName = series.empty() ? std::string() : series.front();
  std::string error;
  const std::vector<std::string> written = report.Save(error);
  if (!error.empty()) {
    // The animator keeps the part written; a tool run that failed leaves nothing.
    for (const std::string& file : written) std::filesystem::remove(file);
    throw std::runtime_error(error);
  }
  return written;
}

std::vector<std::string> ExportPicture(const TExportArgs& args) {
  TExportDrawing drawing(args);
  quillon::TAniMechanism& m = drawing.Mechanism;
  if (args.Step > m.Len)
    throw std::runtime_error(args.Document + ": step " + std::to_string(args.Step) +
                             " lies beyond the solved length " + std::to_string(m.Len) + "!");
  m.SetFrame(args.Step);
  drawing.Draw();
  return {quillon::SaveStepPicture(drawing.Canvas, args.Out, m.CurrentStep)};
}

// One cycle from step 0, every even step a frame, as the animator records it.
std::vector<std::string> ExportAvi(const TExportArgs& args) {
  TExportDrawing drawing(args);
  const QTemporaryDir work(QDir::tempPath() + QStringLiteral("/mechtool-film-XXXXXX"));
  if (!work.isValid()) throw std::runtime_error("Failed to create AVI video work file");
  quillon::TFilmWriter film(drawing.Mechanism, QFile::encodeName(work.path()).toStdString());
  // A name the writer refuses stops the export before any picture is drawn.
  if (!args.Wave.empty()) film.Avi.SetWavFileName(args.Wave);
  film.SavePicture = [&drawing](const std::string& picture) {
    drawing.Draw();
    drawing.Canvas.SaveBitmap(picture);
  };
  film.Write(args.Out);
  return {args.Out};
}

// Picture: the kind takes --step, and OUT's extension must give its format.
enum class TPictureKind { None, Bitmap, Jpeg };

struct TExportKind {
  const char* Name;
  std::vector<std::string> (*Write)(const TExportArgs& args);
  TPictureKind Picture = TPictureKind::None;
};

const TExportKind kExportKinds[] = {
    {"xlsx", ExportXlsx},
    {"avi", ExportAvi},
    {"html", ExportHtml},
    {"bmp", ExportPicture, TPictureKind::Bitmap},
    {"jpeg", ExportPicture, TPictureKind::Jpeg},
};

void Export(const std::vector<std::string>& args) {
  if (args.size() < 2) throw TUsageError();
  const TExportKind* kind = nullptr;
  for (const TExportKind& k : kExportKinds)
    if (args[1] == k.Name) kind = &k;
  if (!kind) throw TUsageError();
  const TExportArgs parsed =
      ParseExportArgs(args, kind->Picture != TPictureKind::None, std::string(kind->Name) == "avi");
  if (kind->Picture != TPictureKind::None &&
      quillon::IsBitmapName(parsed.Out) != (kind->Picture == TPictureKind::Bitmap))
    throw TUsageError();
  // The sheets and tables show values in the default units; the report names the program.
  shared::CreateConvert();
  shared::CreateProgramInfo();
  // The drawings need fonts but no display.
  const shared::TOffscreenApplication application("mechtool");
  for (const std::string& file : kind->Write(parsed)) std::cout << file << '\n';
}

int Run(const std::vector<std::string>& args) {
  return host::RunCommand(kUsage, [&] {
    if (args.size() == 3 && args[0] == "new") {
      New(args[1], args[2]);
    } else if (args.size() == 2 && args[0] == "header") {
      Header(args[1]);
    } else if (args.size() == 3 && args[0] == "roundtrip") {
      Roundtrip(args[1], args[2]);
    } else if (!args.empty() && args[0] == "solve") {
      Solve(args);
    } else if (!args.empty() && args[0] == "fit") {
      Fit(args);
    } else if (!args.empty() && args[0] == "export") {
      Export(args);
    } else {
      throw TUsageError();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  // A file size limit fails the write with its message instead of ending the tool mid-save.
  shared::IgnoreFileSizeSignal();
  shared::CreateTabLines();
  quillon::CreateStdOut();
  TStderrSink sink;
  quillon::StdOut().SetSink(&sink);
  const int status = Run(std::vector<std::string>(argv + 1, argv + argc));
  quillon::StdOut().SetSink(nullptr);
  shared::FreeProgramInfo();
  shared::FreeConvert();
  quillon::FreeStdOut();
  shared::FreeTabLines();
  return status;
}
