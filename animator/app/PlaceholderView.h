// TPlaceholderView: stands in the animation view's place until that view is part of the
// program. It keeps a document's tab lines as they were read and writes them back unchanged,
// so opening, saving, copying and pasting run end to end; it draws and animates nothing.
#pragma once

#include <QFrame>
#include <string>
#include <vector>

#include "animator/app/DocumentView.h"

class QLabel;

namespace quillon {

class TPlaceholderView : public QFrame, public TDocumentView {
  Q_OBJECT

 public:
  explicit TPlaceholderView(QWidget* parent = nullptr);

  QWidget* Widget() override { return this; }
  void NewMechanism(int typeNumber) override;
  void LoadFromFile(const std::string& fileName) override;
  void SaveToFile(const std::string& fileName) override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;
  void Undo() override;
  void SelectAll() override {}
  int CheckClipboardHeader() override;
  bool IsModified() const override { return Modified; }
  std::string FileName() const override { return Name; }

  void SetRegistryKey(const std::string&) override {}
  void ReadTexts(const TLanguageFile& texts) override;

  void SetPolar(bool) override {}
  bool IsGraphVisible() const override { return GraphVisible; }
  void SetGraphVisible(bool visible) override { GraphVisible = visible; }
  void RefreshGraph() override {}
  void ZoomAllButtonClick() override {}
  void StartButtonClick(QObject*) override {}
  void StopButtonClick() override {}
  void StopAndSelect() override {}
  void DeleteButtonClick() override {}
  void EditOptions() override {}
  void InputButtonClick() override {}
  void PopMoveRotateResizeClick() override {}
  void PopDXFDrawingClick() override {}
  void ExportPicture(const std::string&) override {}
  void ExportAVI(const std::string&) override {}
  void WriteHTMLReport() override {}
  void ExportToExcel() override {}

  // The document's lines, without the checksum line that saving appends.
  const std::vector<std::string>& Document() const { return Lines; }

 private:
  void TakeStoreLines();
  void ShowFileName();

  std::vector<std::string> Lines;
  std::string Name;
  bool Modified = false;
  bool GraphVisible = true;
  std::string FileNotExistText = "%s does not exist!";
  std::string EmptyClipboardText = "Empty clipboard";
  QLabel* StatusLabel;
};

}  // namespace quillon
