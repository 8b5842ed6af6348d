// TAreaEditFrm: the left panel's editor of the selected area: its two corners, the joint letters
// it applies to, and the areas' visibility.
#pragma once

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <string>

#include "animator/engine/Area.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quillon {

class TAreaList;

// The edit of the joint letters: only letters and backspace get through, typed or pasted; any
// other typed key is dropped with a beep, and a paste keeps its letters only.
class TIncludeEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TIncludeEdit(QWidget* parent = nullptr);
  // Inserts the letters of the text at the cursor; beeps when anything else was dropped.
  void PasteText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class TAreaEditFrm : public QWidget {
  Q_OBJECT

 public:
  explicit TAreaEditFrm(QWidget* parent = nullptr);

  // The area list, not owned; none detaches.
  void SetAreas(TAreaList* areas);
  void SetRegistryKey(const std::string& key) { RegistryKey = key; }

  void Refresh();
  bool Fetch();
  void SetEnabled(bool on);
  void Captions();
  bool ReadEdits();
  void ApplyButtonClick();
  void NrComboBoxChange(int index);
  void VisibleCheckBoxClick();
  void HelpButtonClick();

  std::function<void()> OnChange;
  // Apply is about to write the area (the undo entry is taken here).
  std::function<void()> OnBeforeApply;
  // Asked before an edit reaches the areas; false refuses it (the view is busy, and says so) and
  // the frame shows the areas as it is.
  std::function<bool()> MayEdit;

  bool Enabled() const { return FEnabled; }
  int Current() const { return FCurrent; }
  const TArea& WorkArea() const { return FWorkArea; }

  QComboBox* NrComboBox;
  QLabel* x1Label;
  QLabel* y1Label;
  QLabel* x2Label;
  QLabel* y2Label;
  QLineEdit* x1Edit;
  QLineEdit* y1Edit;
  QLineEdit* x2Edit;
  QLineEdit* y2Edit;
  QLabel* IncludeLabel;
  TIncludeEdit* IncludeEdit;
  QPushButton* ApplyButton;
  QPushButton* HelpButton;
  QCheckBox* VisibleCheckBox;

 private:
  bool CurrentStillThere() const;
  // A corner from its two edits (x and y, or R and angle); unchanged texts keep the corner.
  void ReadCorner(QLineEdit* a, QLineEdit* b, shared::TComplex& corner, int& stage);

  TAreaList* Areas = nullptr;
  std::string RegistryKey;
  bool FEnabled = false;
  int FCurrent = -1;
  TArea FWorkArea;
  // The area as fetched, to tell whether the list still holds it.
  TArea Fetched;
};

}  // namespace quillon
