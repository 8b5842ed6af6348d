// tabdoc: shows a tab-line document (a mechanism file, for one) or saves it again with a fresh
// keyed checksum line; lists and draws DXF drawings.
//
//   tabdoc show FILE
//     Each section (a line "[name>") shows as its name on a line of its own, then each record up
//     to its end line "<name]" (letter case ignored) or the end of the text, fields joined by
//     " | "; a record without fields shows as an empty line. Lines
//     outside sections are not shown. The last line of the file is taken as the checksum line
//     and is never a record: the listing ends with "checksum: N (stored M)", N being the keyed
//     CRC-16 over all lines before it and M the last line as stored. An empty file shows
//     "checksum: none (empty document)". Text is shown in UTF-8.
//   tabdoc save IN OUT
//     Loads IN, drops its last line when it is a decimal number (the old checksum), and saves
//     the rest to OUT with CR LF line ends and a fresh checksum line. OUT is replaced only when
//     the whole write succeeded.
//   tabdoc dxf FILE.dxf
//     One line "KIND colour layer" per entity of the ENTITIES section in file order (KIND the
//     keyword as in the file, VERTEX and SEQEND counted with their POLYLINE; colour the pen colour
//     in decimal; layer in UTF-8), then "EXTENTS xmin ymin xmax ymax" in metres (%.17g), the
//     smallest box holding every entity's extent, "EXTENTS 0 0 0 0" when no entity has a point.
//   tabdoc draw FILE.dxf OUT.png [WIDTH HEIGHT]
//     Draws the drawing as the animator shows it, on white, fitted to those extents with a
//     margin, into a PNG picture of WIDTH x HEIGHT pixels (800 x 600 by default). Needs no
//     display: it draws on Qt's offscreen platform. When the drawing holds entities of kinds
//     that are not drawn, one line "[Warning] FILE.dxf holds entities that are not drawn: N
//     KIND, ..." goes to stderr.
//
// Exit status 0 on success, 1 when a file cannot be read or written, 2 on wrong arguments; the
// reason goes to stderr and nothing is written.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/AniCanvas2D.h"
#include "shared/Cp1252.h"
#include "shared/FilePath.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/QtCanvas.h"

namespace {

const char* kUsage =
    "usage: tabdoc show FILE\n"
    "       tabdoc save IN OUT\n"
    "       tabdoc dxf FILE.dxf\n"
    "       tabdoc draw FILE.dxf OUT.png [WIDTH HEIGHT]\n";

// Wrong arguments, told apart from file errors by the exit status.
class EUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A missing file is an error here, unlike for the store, whose callers report it themselves.
void Load(shared::TTabLines& store, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    throw std::runtime_error("Cannot read \"" + path + "\": no such file.");
  }
  store.LoadFromFile(path);
}

bool IsDecimalNumber(const std::string& line) {
  return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
}

void Show(const std::string& path) {
  shared::TTabLines store;
  Load(store, path);
  if (store.Lines.empty()) {
    std::cout << "checksum: none (empty document)\n";
    return;
  }
  const std::string stored = store.Lines.back();
  store.Lines.pop_back();
  size_t i = 0;
  while (i < store.Lines.size()) {
    const std::string& line = store.Lines[i];
    if (line.size() < 2 || line.front() != '[' || line.back() != '>') {
      ++i;
      continue;
    }
    const std::string name = line.substr(1, line.size() - 2);
    std::cout << shared::Cp1252ToUtf8(name) << '\n';
    store.EndMarker = "<" + name + "]";
    store.ReadPosition = static_cast<int32_t>(i) + 1;
    while (store.ReadLine()) {
      std::string record;
      for (int f = 0; f < store.FieldCount; ++f) {
        if (f > 0) record += " | ";
        record += store.Fields[f];
      }
      std::cout << shared::Cp1252ToUtf8(record) << '\n';
    }
    i = static_cast<size_t>(store.ReadPosition);
  }
  std::cout << "checksum: " << store.ComputeCrc(store.Lines) << " (stored " << shared::Cp1252ToUtf8(stored)
            << ")\n";
}

void Save(const std::string& in, const std::string& out) {
  shared::TTabLines store;
  Load(store, in);
  if (!store.Lines.empty() && IsDecimalNumber(store.Lines.back())) store.Lines.pop_back();
  store.SetFileName(out);
  store.SaveToFile();
}

// The drawing must exist and be readable; the reader itself would take a missing file as empty.
void LoadDrawing(shared::TDXFDrawing& drawing, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path, std::ios::binary)) {
    throw std::runtime_error("Cannot read \"" + path + "\": no such file or not readable.");
  }
  drawing.LoadFromFile(path);
}

struct TExtent {
  bool Empty = true;
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

TExtent ExtentOf(const shared::TDXFDrawing& drawing) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  shared::TComplex min(kInf, kInf), max(-kInf, -kInf);
  drawing.UpdateExtent(min, max);
  if (!(min.X <= max.X && min.Y <= max.Y)) return {};
  return {false, min.X, min.Y, max.X, max.Y};
}

void ListDxf(const std::string& path) {
  shared::TDXFDrawing drawing;
  LoadDrawing(drawing, path);
  std::ostringstream out;
  for (int32_t i = 0; i < drawing.Count(); ++i) {
    const auto& entity = static_cast<const shared::TDXFEntity&>(*drawing.Items(i));
    out << shared::Cp1252ToUtf8(entity.Keyword) << ' ' << entity.Pen.Color << ' '
        << shared::Cp1252ToUtf8(entity.Layer) << '\n';
  }
  const TExtent e = ExtentOf(drawing);
  out << "EXTENTS " << shared::FormatGeneral(e.X0, 17) << ' ' << shared::FormatGeneral(e.Y0, 17) << ' '
      << shared::FormatGeneral(e.X1, 17) << ' ' << shared::FormatGeneral(e.Y1, 17) << '\n';
  std::cout << out.str();
}

int PictureSize(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 10000) {
    throw EUsage("tabdoc: picture sizes are whole numbers from 1 to 10000, not \"" + text + "\".");
  }
  return value;
}

// A paint box that is only an image: the canvas draws on Screen.
class TImagePaintBox : public shared::TPaintBox {
 public:
  TImagePaintBox(int width, int height) : Screen(width, height) {}
  int Width() const override { return Screen.Width(); }
  int Height() const override { return Screen.Height(); }
  int ParentClientWidth() const override { return Screen.Width(); }
  int ParentClientHeight() const override { return Screen.Height(); }
  shared::TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<shared::TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<shared::TQtImageSurface>(width, height);
  }
  void SetCursor(int) override {}
  shared::TColor WindowColor() const override { return shared::kWhite; }

  shared::TQtImageSurface Screen;
};

void DrawDxf(const std::vector<std::string>& args, int argc, char** argv) {
  const int width = args.size() == 5 ? PictureSize(args[3]) : 800;
  const int height = args.size() == 5 ? PictureSize(args[4]) : 600;
  const std::string out = args[2];
  shared::TDXFDrawing drawing;
  LoadDrawing(drawing, args[1]);
  if (const std::string undrawn = drawing.UndrawnWarning(); !undrawn.empty())
    std::cerr << "[Warning] " << undrawn << '\n';
  const TExtent e = ExtentOf(drawing);
  if (!std::isfinite(e.X1 - e.X0) || !std::isfinite(e.Y1 - e.Y0)) {
    throw std::runtime_error("The drawing's extents are too large to show.");
  }

  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  TImagePaintBox box(width, height);
  shared::TAniCanvas2D canvas(box, 1.0);
  canvas.GridStyle = shared::TGridStyle::None;
  canvas.BackgroundColor = shared::kWhite;
  if (!e.Empty) {
    // A flat drawing (a lone line) or a point gets a millimetre across, so the canvas keeps it
    // in the middle instead of falling back to its default range.
    const double hw = std::max(e.X1 - e.X0, 1e-3) / 2, hh = std::max(e.Y1 - e.Y0, 1e-3) / 2;
    const double cx = (e.X0 + e.X1) / 2, cy = (e.Y0 + e.Y1) / 2;
    canvas.SetWorldRect(cx - hw, cx + hw, cy - hh, cy + hh);
  }
  canvas.ClearBackground();
  drawing.Draw(canvas);

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!box.Screen.Image().save(&buffer, "PNG")) throw std::runtime_error("Cannot write \"" + out + "\".");
  // Replaced only whole, so a failed write leaves no half picture and no file beside it.
  shared::WriteFileReplacing(out, png.toStdString(), ".partial", "Cannot write \"" + out + "\": ");
}

}  // namespace

int main(int argc, char** argv) {
  // A file size limit fails the write with its message instead of ending the tool mid-save.
  shared::IgnoreFileSizeSignal();
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "show") {
      Show(args[1]);
    } else if (args.size() == 3 && args[0] == "save") {
      Save(args[1], args[2]);
    } else if (args.size() == 2 && args[0] == "dxf") {
      ListDxf(args[1]);
    } else if ((args.size() == 3 || args.size() == 5) && args[0] == "draw") {
      DrawDxf(args, argc, argv);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  } catch (const EUsage& e) {
    std::cerr << e.what() << '\n' << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "tabdoc: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
