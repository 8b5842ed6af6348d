// TDocumentView: what the main window asks of the animation view that holds the document. The
// view does the work; the main window only asks the questions and picks the file names.
#pragma once

#include <functional>
#include <string>

class QObject;
class QWidget;

namespace quillon {

class TLanguageFile;

class TDocumentView {
 public:
  virtual ~TDocumentView() = default;

  // The widget that fills the right of the main window; the main window parents it.
  virtual QWidget* Widget() = 0;

  // Document operations. File names are paths as the file system takes them.
  virtual void NewMechanism(int typeNumber) = 0;
  // A missing file is logged and keeps the document; read errors raise (std::exception).
  virtual void LoadFromFile(const std::string& fileName) = 0;
  // Saves through the tab-line store (write, then rename over the target); raises on failure.
  virtual void SaveToFile(const std::string& fileName) = 0;
  virtual void CopyToClipboard() = 0;
  // Catches its own errors and logs them.
  virtual void PasteFromClipboard() = 0;
  virtual void Undo() = 0;
  // True (with a warning in the log) while a loop that pumps messages runs, or while a dialog, a
  // read or a save holds a modal scope: no command may act then, so the main window asks no
  // "Save ?" either. Every entry point of the user's commands asks it.
  virtual bool RefuseWhileBusy() = 0;
  virtual void SelectAll() = 0;
  // On the lines the tab-line store holds: -2 no header section, -3 another format version,
  // 0 empty header, 1 a document of this program, 2 a document of the synthesis program.
  virtual int CheckClipboardHeader() = 0;
  virtual bool IsModified() const = 0;
  virtual void SetModified(bool value) = 0;
  // The document's file, or the default name "Untitled" while it has none.
  virtual std::string FileName() const = 0;
  // The document was read from a damaged file: what a save writes differs from the file on
  // disk beyond the user's edits, so overwriting it must be confirmed. Cleared by a save.
  virtual bool DiffersFromFile() const { return false; }

  // Settings and texts.
  virtual void SetRegistryKey(const std::string& key) = 0;
  virtual void ReadTexts(const TLanguageFile& texts) = 0;

  // Display.
  virtual void SetPolar(bool polar) = 0;
  virtual bool IsGraphVisible() const = 0;
  virtual void SetGraphVisible(bool visible) = 0;
  // After a change of units: the graph and the coordinate read-out show the new ones.
  virtual void RefreshGraph() = 0;
  virtual void ZoomAllButtonClick() = 0;

  // Animation and editing commands. A sender other than the view's own Start button toggles it.
  virtual void StartButtonClick(QObject* sender) = 0;
  virtual void StopButtonClick() = 0;
  virtual void StopAndSelect() = 0;
  virtual void DeleteButtonClick() = 0;
  virtual void EditOptions() = 0;
  virtual void InputButtonClick() = 0;
  virtual void PopMoveRotateResizeClick() = 0;
  virtual void PopDXFDrawingClick() = 0;
  // Runs the view's own commands (those of its pop-up menu) as the main window runs its own, so
  // that a clipboard take-over waits for the end of a dialog they show.
  using TCommandRunner = std::function<void(const std::function<void()>&)>;
  virtual void SetCommandRunner(TCommandRunner) {}

  // Exports.
  virtual void ExportPicture(const std::string& fileName) = 0;
  virtual void ExportAVI(const std::string& fileName) = 0;
  virtual void WriteHTMLReport() = 0;
  virtual void ExportToExcel() = 0;
};

}  // namespace quillon
