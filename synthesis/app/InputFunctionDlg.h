// TInputFunctionDlg: the synthesis program's "Input Function" form, which owns the process-wide
// default input function and edits its law and duration with a preview graph.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace vesk {

class TInputFunction;
class TQtGraphPaintBox;

class TInputFunctionDlg : public QDialog {
  Q_OBJECT

 public:
  // Creates the default input function when there is none, and then frees it again.
  explicit TInputFunctionDlg(QWidget* parent = nullptr);
  ~TInputFunctionDlg() override;

  // The program's error display shows a refused time; until one is given, a message box.
  using TErrorDisplay = std::function<void(const std::string& message)>;
  void SetErrorDisplay(TErrorDisplay display) { FErrorDisplay = std::move(display); }
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { FHelpHandler = std::move(handler); }
  std::string HelpTopic = "IDH_InputFun";

  // The copy that the controls change and the preview shows; the default takes it on OK.
  TInputFunction& WorkCopy() { return *FWorkCopy; }
  TQtGraphPaintBox& Graph() { return *FGraph; }

  void RefreshGraph();

  QGroupBox* FunctionRadioGroup;
  QButtonGroup* FunctionButtons;
  std::array<QRadioButton*, 4> FunctionRadios;
  QLabel* TmaxLabel;
  QLineEdit* TmaxEdit;
  QLabel* TmaxUnitLabel;
  // Tabs 0 displacement, 1 velocity, 2 acceleration above the graph.
  QTabBar* GraphTabControl;
  QWidget* PaintBox1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FunctionRadioGroupClick(int index);
  void OKBtnClick();

  std::unique_ptr<TInputFunction> FWorkCopy;
  std::unique_ptr<TQtGraphPaintBox> FGraph;
  TErrorDisplay FErrorDisplay;
  THelpHandler FHelpHandler;
  bool FOwnsDefault = false;
};

}  // namespace vesk
