// The stand-in view: a document's tab lines, loaded and saved through the tab-line store.
#include "animator/app/PlaceholderView.h"

#include <QFile>
#include <QLabel>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "animator/app/ClipboardHeader.h"
#include "animator/app/LanguageFile.h"
#include "animator/engine/StdOut.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"
#include "shared/qt/QtClipboard.h"

namespace quillon {

namespace {

// The last line is the store's checksum line when the store computes the same line again.
bool EndsWithChecksum(const std::vector<std::string>& lines) {
  if (lines.empty()) return false;
  shared::TTabLines check;
  check.Lines.assign(lines.begin(), lines.end() - 1);
  check.AppendCrc();
  return check.Lines.back() == lines.back();
}

}  // namespace

TPlaceholderView::TPlaceholderView(QWidget* parent)
    : QFrame(parent), Name(shared::ProgramInfo().DefaultName), StatusLabel(new QLabel(this)) {
  setObjectName(QStringLiteral("AnimationFrm1"));
  setFrameShape(QFrame::StyledPanel);
  setFocusPolicy(Qt::StrongFocus);
  StatusLabel->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StatusLabel);
  ShowFileName();
}

void TPlaceholderView::NewMechanism(int) {
  Lines.clear();
  Name = shared::ProgramInfo().DefaultName;
  Modified = false;
  ShowFileName();
}

void TPlaceholderView::LoadFromFile(const std::string& fileName) {
  Name = shared::ProgramInfo().DefaultName;
  std::error_code error;
  if (std::filesystem::exists(fileName, error)) {
    shared::TTabLines& store = shared::TabLines();
    store.ClearHistory();
    store.LoadFromFile(fileName);
    TakeStoreLines();
    Name = fileName;
  } else {
    std::string text = FileNotExistText;
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, fileName);
    StdOut().Error(text);
  }
  Modified = false;
  ShowFileName();
}

void TPlaceholderView::SaveToFile(const std::string& fileName) {
  if (!fileName.empty()) Name = fileName;
  shared::TTabLines& store = shared::TabLines();
  store.ClearHistory();
  store.Clear();
  store.SetFileName(Name);
  store.Lines = Lines;
  store.SaveToFile();
  Modified = false;
  ShowFileName();
}

void TPlaceholderView::CopyToClipboard() {
  shared::TTabLines& store = shared::TabLines();
  store.Clear();
  store.Lines = Lines;
  shared::TQtClipboard clipboard;
  store.CopyToClipboard(clipboard);
}

void TPlaceholderView::PasteFromClipboard() {
  try {
    Name = shared::ProgramInfo().DefaultName;
    shared::TQtClipboard clipboard;
    if (shared::TabLines().LoadFromClipboard(clipboard)) {
      TakeStoreLines();
      Modified = true;
    } else {
      StdOut().Error(EmptyClipboardText);
    }
  } catch (const std::exception& error) {
    StdOut().Error(error.what());
  }
  ShowFileName();
}

void TPlaceholderView::Undo() {}

int TPlaceholderView::CheckClipboardHeader() {
  const shared::TProgramInfo& info = shared::ProgramInfo();
  return CheckHeader(shared::TabLines(), info.ProductWord, info.FileFormatVersion);
}

void TPlaceholderView::ReadTexts(const TLanguageFile& texts) {
  FileNotExistText = texts.ReadString("Animation", "FileNotExist", FileNotExistText);
  EmptyClipboardText = texts.ReadString("Animation", "Empty", EmptyClipboardText);
}

void TPlaceholderView::TakeStoreLines() {
  shared::TTabLines& store = shared::TabLines();
  Lines = store.Lines;
  if (EndsWithChecksum(Lines)) Lines.pop_back();
  store.Clear();
}

void TPlaceholderView::ShowFileName() {
  StatusLabel->setText(QFile::decodeName(QByteArray::fromStdString(Name)) +
                       QStringLiteral("\n%1 lines").arg(Lines.size()));
}

}  // namespace quillon
