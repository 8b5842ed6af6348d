// TFileProgressDlg: the small stay-on-top dialog whose bar the project reader and writer step
// while a project file is read or written.
#pragma once

#include <QDialog>
#include <string>

class QProgressBar;
class QPushButton;

namespace vesk {

class TFileProgressDlg : public QDialog {
  Q_OBJECT

 public:
  // Sizes at the 13-pixel design font: client area 384 x 45, bar 281 wide.
  static constexpr int kDesignFontHeight = 13;
  static constexpr int kDesignWidth = 384, kDesignHeight = 45, kDesignBarWidth = 281;

  explicit TFileProgressDlg(QWidget* parent = nullptr);

  // Caption := text (Windows-1252); shows the dialog without waiting and lets it paint.
  void ShowCaption(const std::string& text);
  // The bar runs from 0 to maximum, StepIt advancing it by step.
  void SetRange(int maximum, int step);
  void StepIt();

  QProgressBar* ProgressBar;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int FStep = 1;
};

}  // namespace vesk
