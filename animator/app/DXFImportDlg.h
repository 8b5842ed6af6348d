// TDXFImportDlg: the dialog in which the user picks, previews and places the DXF drawing of one
// link and chooses the joint that is the drawing's origin.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QPushButton;

namespace shared {
class TDXFDrawing;
}  // namespace shared

namespace quillon {

class TDXFViewFrm;

class TDXFImportDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TDXFImportDlg(QWidget* parent = nullptr);
  ~TDXFImportDlg() override;

  // Title format, button captions and the frame's hints.
  void SetCaptions();
  // Keeps the key and restores the layout from its section "DXFImport", centred on the screen
  // while none is stored; the layout is written back there when the dialog goes. Without a key
  // neither happens.
  void SetRegistryKey(const std::string& key);
  // The preview reads the link drawing's file afresh and takes its placement. A file that cannot
  // be read leaves the preview empty under the link's name, so OK keeps that name.
  void LoadFromLink(const shared::TDXFDrawing& drawing);
  // Caption with the link's letters, and its joints with the anchor selected.
  void Prepare(const std::string& letters, int jointIndex);
  // The link takes the drawing the preview shows, file name and placement (the two exchange
  // places: the preview is read afresh before the next showing).
  void ApplyToLink(std::unique_ptr<shared::TDXFDrawing>& drawing);
  // The joint chosen as origin, -1 when none.
  int SelectedJoint() const;
  // OK applies the three edits first and stays open on one that is no number.
  void accept() override;

  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { HelpHandler = std::move(handler); }
  std::string HelpTopic = "dxf_import.html";

  std::string TitleFormat = "Import DXF to Link %s";
  const std::string& RegistryKey() const { return FRegistryKey; }

  TDXFViewFrm* DXFViewFrm1;
  QPushButton* OKButton;
  QPushButton* CancelButton;
  QPushButton* HelpButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void RestoreLayout();
  void CentreOnScreen();
  void SaveLayout();
  void HelpButtonClick();

  std::string FRegistryKey;
  THelpHandler HelpHandler;
};

}  // namespace quillon
