// The area editor frame of the left panel.
#include "animator/app/AreaEditFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "animator/app/FieldRange.h"
#include "animator/app/MainForm.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Sound.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

QString Text(const std::string& text) { return shared::ToQString(text); }

bool IsAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

QLineEdit* NewEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// Compared in order: the list's area orders its corners whenever it is used.
bool SameArea(const TArea& first, const TArea& second) {
  TArea a;
  TArea b;
  a.Assign(first);
  b.Assign(second);
  a.Normalise();
  b.Normalise();
  return a.MinCorner.X == b.MinCorner.X && a.MinCorner.Y == b.MinCorner.Y && a.MaxCorner.X == b.MaxCorner.X &&
         a.MaxCorner.Y == b.MaxCorner.Y && a.Letters == b.Letters;
}

}  // namespace

TIncludeEdit::TIncludeEdit(QWidget* parent) : QLineEdit(parent) {
  // Whatever reaches the text another way (the context menu's paste, a drop) is held to
  // letters too: a tab or line break would split the area's record in the file.
  setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z]*")), this));
}

void TIncludeEdit::PasteText(const QString& text) {
  QString letters;
  for (QChar c : text)
    if (IsAsciiLetter(c)) letters += c;
  if (letters.size() != text.size()) shared::Beep();
  if (!letters.isEmpty()) insert(letters);
}

void TIncludeEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QGuiApplication::clipboard()->text());
    return;
  }
  const QString text = event->text();
  // Keys without a character (arrows, Home, Delete) and the dialog's own keys pass on.
  const bool character = text.size() == 1 && text[0] != u'\r' && text[0] != u'\t' && text[0] != u'\x1b' &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (character && event->key() != Qt::Key_Backspace && !IsAsciiLetter(text[0])) {
    shared::Beep();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

TAreaEditFrm::TAreaEditFrm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("AreaEditFrm1"));
  auto* nrLabel = new QLabel(QStringLiteral("Nr:"), this);
  NrComboBox = new QComboBox(this);
  NrComboBox->setObjectName(QStringLiteral("NrComboBox"));
  x1Label = new QLabel(QStringLiteral("x"), this);
  y1Label = new QLabel(QStringLiteral("y"), this);
  x2Label = new QLabel(QStringLiteral("x"), this);
  y2Label = new QLabel(QStringLiteral("y"), this);
  x1Edit = NewEdit(this, "x1Edit");
  y1Edit = NewEdit(this, "y1Edit");
  x2Edit = NewEdit(this, "x2Edit");
  y2Edit = NewEdit(this, "y2Edit");
  IncludeLabel = new QLabel(QStringLiteral("Must include: (example: ABC)"), this);
  IncludeEdit = new TIncludeEdit(this);
  IncludeEdit->setObjectName(QStringLiteral("IncludeEdit"));
  ApplyButton = new QPushButton(QStringLiteral("Apply"), this);
  ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
  ApplyButton->setDefault(true);
  HelpButton = new QPushButton(QStringLiteral("Help"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  VisibleCheckBox = new QCheckBox(QStringLiteral("Visible"), this);
  VisibleCheckBox->setObjectName(QStringLiteral("VisibleCheckBox"));
  VisibleCheckBox->setToolTip(QStringLiteral("Show or hide area"));

  auto* top = new QHBoxLayout;
  top->addWidget(nrLabel);
  top->addWidget(NrComboBox, 1);
  top->addWidget(VisibleCheckBox);
  auto* corners = new QGridLayout;
  corners->addWidget(x1Label, 0, 0);
  corners->addWidget(y1Label, 0, 1);
  corners->addWidget(x1Edit, 1, 0);
  corners->addWidget(y1Edit, 1, 1);
  corners->addWidget(x2Label, 2, 0);
  corners->addWidget(y2Label, 2, 1);
  corners->addWidget(x2Edit, 3, 0);
  corners->addWidget(y2Edit, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ApplyButton);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(corners);
  layout->addWidget(IncludeLabel);
  layout->addWidget(IncludeEdit);
  layout->addLayout(buttons);
  layout->addStretch();

  connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });
  for (QLineEdit* edit : {x1Edit, y1Edit, x2Edit, y2Edit, static_cast<QLineEdit*>(IncludeEdit)})
    connect(edit, &QLineEdit::returnPressed, this, [this] { ApplyButtonClick(); });
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
  connect(NrComboBox, &QComboBox::activated, this, [this](int index) { NrComboBoxChange(index); });
  connect(VisibleCheckBox, &QCheckBox::clicked, this, [this] { VisibleCheckBoxClick(); });
  SetEnabled(false);
  Captions();
}

void TAreaEditFrm::SetAreas(TAreaList* areas) {
  Areas = areas;
  Refresh();
}

void TAreaEditFrm::Refresh() {
  const bool selected = Fetch();
  SetEnabled(selected);
  Captions();
  if (selected) {
    const shared::TConvert& convert = shared::Convert();
    const auto show = [&](QLineEdit* a, QLineEdit* b, const shared::TComplex& corner) {
      if (IsPolar) {
        shared::ShowEditText(a, Text(convert.FormatSI(shared::cuLength, corner.Abs())));
        shared::ShowEditText(b, Text(convert.FormatSI(shared::cuAngle, corner.Arg())));
      } else {
        shared::ShowEditText(a, Text(convert.FormatSI(shared::cuLength, corner.X)));
        shared::ShowEditText(b, Text(convert.FormatSI(shared::cuLength, corner.Y)));
      }
    };
    show(x1Edit, y1Edit, FWorkArea.MinCorner);
    show(x2Edit, y2Edit, FWorkArea.MaxCorner);
    IncludeEdit->setText(Text(FWorkArea.Letters));
  }
  VisibleCheckBox->setChecked(Areas && Areas->Visible);
}

bool TAreaEditFrm::Fetch() {
  if (!Areas) {
    FCurrent = -1;
    return false;
  }
  FCurrent = Areas->LastSelected();
  if (FCurrent < 0) return false;
  FWorkArea.Assign(Areas->Item(FCurrent));
  Fetched.Assign(FWorkArea);
  return true;
}

void TAreaEditFrm::SetEnabled(bool on) {
  FEnabled = on;
  for (QWidget* control :
       {static_cast<QWidget*>(x1Edit), static_cast<QWidget*>(y1Edit), static_cast<QWidget*>(x2Edit),
        static_cast<QWidget*>(y2Edit), static_cast<QWidget*>(ApplyButton), static_cast<QWidget*>(IncludeEdit),
        static_cast<QWidget*>(NrComboBox)})
    control->setEnabled(on);
  VisibleCheckBox->setEnabled(Areas != nullptr);
  const QSignalBlocker block(NrComboBox);
  NrComboBox->clear();
  if (on) {
    for (int i = 0; i < Areas->Count(); ++i) NrComboBox->addItem(QString::number(i));
    NrComboBox->setCurrentIndex(FCurrent);
  } else {
    for (QLineEdit* edit : {x1Edit, y1Edit, x2Edit, y2Edit}) shared::ShowEditText(edit, QString());
    IncludeEdit->clear();
  }
}

void TAreaEditFrm::Captions() {
  const shared::TConvert& convert = shared::Convert();
  const QString length = Text(convert.UnitLabel(shared::cuLength));
  const QString angle = Text(convert.UnitLabel(shared::cuAngle));
  for (QLabel* label : {x1Label, x2Label})
    label->setText((IsPolar ? QStringLiteral("R ") : QStringLiteral("x ")) + length);
  for (QLabel* label : {y1Label, y2Label})
    label->setText(IsPolar ? QStringLiteral("Arg ") + angle : QStringLiteral("y ") + length);
}

void TAreaEditFrm::ReadCorner(QLineEdit* a, QLineEdit* b, shared::TComplex& corner, int& stage) {
  // A text left as shown keeps its exact value: only what the user typed is read back from the
  // rounded display.
  const bool aTyped = !shared::EditUnchanged(a);
  const bool bTyped = !shared::EditUnchanged(b);
  if (!aTyped && !bTyped) {
    stage += 2;
    return;
  }
  if (IsPolar) {
    const double r = aTyped ? EditToSIWithin(kLengthRange, a->text()) : corner.Abs();
    ++stage;
    const double angle = bTyped ? EditToSIWithin(kDirectionRange, b->text()) : corner.Arg();
    ++stage;
    corner.SetPolar(r, angle);
  } else {
    const double x = aTyped ? EditToSIWithin(kLengthRange, a->text()) : corner.X;
    ++stage;
    const double y = bTyped ? EditToSIWithin(kLengthRange, b->text()) : corner.Y;
    ++stage;
    corner.SetXY(x, y);
  }
}

bool TAreaEditFrm::ReadEdits() {
  QLineEdit* const edits[4] = {x1Edit, y1Edit, x2Edit, y2Edit};
  int stage = 0;
  FWorkArea.Assign(Fetched);
  try {
    ReadCorner(x1Edit, y1Edit, FWorkArea.MinCorner, stage);
    ReadCorner(x2Edit, y2Edit, FWorkArea.MaxCorner, stage);
  } catch (const shared::EConvertError& error) {
    StdOut().Error(error.what());
    edits[stage]->setFocus();
    return false;
  }
  FWorkArea.SetLetters(shared::FromQString(IncludeEdit->text()));
  return true;
}

bool TAreaEditFrm::CurrentStillThere() const {
  return Areas && FCurrent >= 0 && FCurrent < Areas->Count() && SameArea(Areas->Item(FCurrent), Fetched);
}

void TAreaEditFrm::ApplyButtonClick() {
  // Not every change of the list reaches the frame (undo, paste, load): an area that is gone or
  // changed is not written, and the frame shows the list as it is now.
  if (!CurrentStillThere() || (MayEdit && !MayEdit())) {
    Refresh();
    return;
  }
  if (!ReadEdits()) return;
  if (OnBeforeApply) OnBeforeApply();
  // Stored as typed: the area orders its corners when it is used.
  Areas->Item(FCurrent).Assign(FWorkArea);
  Fetched.Assign(FWorkArea);
  if (OnChange) OnChange();
}

void TAreaEditFrm::NrComboBoxChange(int index) {
  if (!Areas) return;
  if (MayEdit && !MayEdit()) {
    Refresh();
    return;
  }
  Areas->DeselectAll();
  if (index >= 0 && index < Areas->Count()) Areas->Item(index).Selected = true;
  Refresh();
  if (OnChange) OnChange();
}

void TAreaEditFrm::VisibleCheckBoxClick() {
  if (!Areas) return;
  if (MayEdit && !MayEdit()) {
    VisibleCheckBox->setChecked(Areas->Visible);
    return;
  }
  Areas->Visible = VisibleCheckBox->isChecked();
  if (OnChange) OnChange();
}

void TAreaEditFrm::HelpButtonClick() { shared::ProgramInfo().ShowHelpTopic("area_edit.html"); }

}  // namespace quillon
