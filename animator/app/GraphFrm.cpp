// The motion-graph frame: tool bar, pictures, texts and the paint box of the graph.
#include "animator/app/GraphFrm.h"

#include <QAction>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "animator/app/LanguageFile.h"
#include "animator/app/Pictures.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

constexpr const char* kTextSection = "Graph";
constexpr const char* kTagProperty = "Tag";
constexpr int kPictureSize = 16;
constexpr int kPictureCount = PictureOfKind(gkRotationError) + 1;

int TagOf(const QToolButton* button) { return button->property(kTagProperty).toInt(); }

// The hint as tip and in the main window's status bar, as every other button has it.
void SetHint(QToolButton* button, const std::string& hint) {
  button->setToolTip(shared::ToQString(hint));
  button->setStatusTip(shared::ToQString(hint));
}

// The pictures of the x axis and of the kinds, from the program's picture set: a clock for time,
// the crank angle for the input, the quantity's symbol for each kind.
QString PictureName(int index) {
  switch (index) {
    case kTimePicture:
      return QStringLiteral("graph-time");
    case kInputPicture:
      return QStringLiteral("graph-input");
    case PictureOfKind(gkRotation):
      return QStringLiteral("graph-rotation");
    case PictureOfKind(gkAngularVelocity):
      return QStringLiteral("graph-angvel");
    case PictureOfKind(gkAngularAcceleration):
      return QStringLiteral("graph-angacc");
    case PictureOfKind(gkPath):
      return QStringLiteral("graph-path");
    case PictureOfKind(gkPathVelocity):
      return QStringLiteral("graph-pathvel");
    case PictureOfKind(gkPathAcceleration):
      return QStringLiteral("graph-pathacc");
    case PictureOfKind(gkTransmission):
      return QStringLiteral("graph-transmission");
    case PictureOfKind(gkPathError):
      return QStringLiteral("graph-patherror");
    case PictureOfKind(gkRotationError):
      return QStringLiteral("graph-roterror");
    default:
      return QString();
  }
}

// The picture at the graph's size; a number without a picture is transparent.
QImage Picture(int index) {
  QImage image(kPictureSize, kPictureSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const QIcon icon = ToolPicture(PictureName(index));
  if (icon.isNull()) return image;
  QPainter painter(&image);
  icon.paint(&painter, image.rect());
  return image;
}

}  // namespace

TGraphFrm::TGraphFrm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("GraphFrm1"));
  for (int i = 0; i < kPictureCount; ++i)
    GraphImageList.Images.push_back(shared::RasterFromImage(Picture(i)));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ToolBar2 = new QToolBar(this);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setIconSize(QSize(kPictureSize, kPictureSize));
  layout->addWidget(ToolBar2);

  TimeButton = new QToolButton(ToolBar2);
  TimeButton->setObjectName(QStringLiteral("TimeButton"));
  TimeButton->setCheckable(true);
  TimeButton->setAutoRaise(true);
  ToolBar2->addWidget(TimeButton);
  TimeSeparator = ToolBar2->addSeparator();
  TimeSeparator->setObjectName(QStringLiteral("TimeSeparator"));
  ErrorButton = NewKindButton("ErrorButton", gkPathError, "Path Error");
  ErrorButtonAction = ToolBar2->actions().constLast();
  RotErrorButton = NewKindButton("RotErrorButton", gkRotationError, "Rotation Error");
  RotErrorButtonAction = ToolBar2->actions().constLast();
  ErrorSeparator = ToolBar2->addSeparator();
  ErrorSeparator->setObjectName(QStringLiteral("ErrorSeparator"));
  Out0Button = NewKindButton("Out0Button", gkRotation, "Link Rotation");
  Out1Button = NewKindButton("Out1Button", gkAngularVelocity, "Link Angular Velocity");
  Out2Button = NewKindButton("Out2Button", gkAngularAcceleration, "Link Angular Acceleration");
  ToolBar2->addSeparator();
  Path0Button = NewKindButton("Path0Button", gkPath, "Path");
  Path1Button = NewKindButton("Path1Button", gkPathVelocity, "Path Velocity");
  Path2Button = NewKindButton("Path2Button", gkPathAcceleration, "Path Acceleration");
  ToolBar2->addSeparator();
  Trans0Button = NewKindButton("Trans0Button", gkTransmission, "Transmission Angles");
  SetHint(TimeButton, Graph.Texts.TimeHint);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setBackgroundRole(QPalette::Base);
  Panel1->setAutoFillBackground(true);
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(1, 1, 1, 1);
  PaintBox1 = new QWidget(Panel1);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setMinimumSize(120, 60);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(13);
  PaintBox1->setFont(font);
  panelLayout->addWidget(PaintBox1);
  layout->addWidget(Panel1, 1);

  PaintBox = std::make_unique<shared::TQtPaintBox>(PaintBox1);
  PaintBox->OnPaint = [this] { PaintBox1Paint(); };
  Graph.BackColor = PaintBox->WindowColor();
  Graph.Images = &GraphImageList;

  connect(TimeButton, &QToolButton::clicked, this, [this] { TimeButtonClick(); });
  for (QToolButton* button : {ErrorButton, RotErrorButton, Out0Button, Out1Button, Out2Button, Path0Button,
                              Path1Button, Path2Button, Trans0Button})
    connect(button, &QToolButton::clicked, this, [this, button] { Out0ButtonClick(button); });

  // The error graphs start hidden; x by time, link rotation.
  Graph.ErrorAvailable = true;
  SetErrorAvailable(false);
  Graph.XIsTime = true;
  TimeButton->setChecked(true);
  ShowTimePicture();
  Rebuild(gkRotation);
}

TGraphFrm::~TGraphFrm() = default;

QToolButton* TGraphFrm::NewKindButton(const char* name, int tag, const std::string& hint) {
  auto* button = new QToolButton(ToolBar2);
  button->setObjectName(QString::fromLatin1(name));
  button->setProperty(kTagProperty, tag);
  button->setCheckable(true);
  button->setAutoRaise(true);
  SetHint(button, hint);
  button->setIcon(QIcon(QPixmap::fromImage(Picture(PictureOfKind(tag)))));
  ToolBar2->addWidget(button);
  return button;
}

void TGraphFrm::ShowTimePicture() {
  TimeButton->setIcon(QIcon(QPixmap::fromImage(Picture(Graph.XIsTime ? kTimePicture : kInputPicture))));
}

void TGraphFrm::ReadTexts(const TLanguageFile& texts) {
  const auto read = [&](const char* key, const std::string& fallback) {
    return texts.ReadString(kTextSection, key, fallback);
  };
  TGraphTexts& t = Graph.Texts;
  const TGraphTexts defaults;
  t.TimeHint = read("TimeHint", defaults.TimeHint);
  t.Error = read("Error", defaults.Error);
  t.RotError = read("RotError", defaults.RotError);
  static const char* const kRotKeys[3] = {"Rot0", "Rot1", "Rot2"};
  static const char* const kPathKeys[3] = {"Path0", "Path1", "Path2"};
  for (int q = 0; q < 3; ++q) {
    t.Rot[q] = read(kRotKeys[q], defaults.Rot[q]);
    t.Path[q] = read(kPathKeys[q], defaults.Path[q]);
  }
  t.Trans = read("Trans", defaults.Trans);
  t.Time = read("Time", defaults.Time);
  t.Input = read("Input", defaults.Input);
  t.Vectors = read("Vectors", defaults.Vectors);
  t.Pos = read("Pos", defaults.Pos);
  SetButtonHints();
  Rebuild();
}

void TGraphFrm::SetButtonHints() {
  const TGraphTexts& t = Graph.Texts;
  const auto hint = [](QToolButton* button, const std::string& text) { SetHint(button, text); };
  hint(TimeButton, t.TimeHint);
  hint(ErrorButton, t.Error);
  hint(RotErrorButton, t.RotError);
  hint(Out0Button, t.Rot[0]);
  hint(Out1Button, t.Rot[1]);
  hint(Out2Button, t.Rot[2]);
  hint(Path0Button, t.Path[0]);
  hint(Path1Button, t.Path[1]);
  hint(Path2Button, t.Path[2]);
  hint(Trans0Button, t.Trans);
}

void TGraphFrm::SetErrorAvailable(bool available) {
  if (available == Graph.ErrorAvailable) return;
  Graph.ErrorAvailable = available;
  ErrorButtonAction->setVisible(available);
  RotErrorButtonAction->setVisible(available);
  ErrorSeparator->setVisible(available);
  Rebuild(available ? gkPathError : gkRotation);
}

void TGraphFrm::Rebuild(int kind) {
  Graph.Rebuild(kind);
  for (QToolButton* button : {ErrorButton, RotErrorButton, Out0Button, Out1Button, Out2Button, Path0Button,
                              Path1Button, Path2Button, Trans0Button})
    button->setChecked(TagOf(button) == Graph.Kind());
  Invalidate();
}

void TGraphFrm::Out0ButtonClick(QToolButton* button) { Rebuild(TagOf(button)); }

void TGraphFrm::TimeButtonClick() {
  Graph.XIsTime = TimeButton->isChecked();
  ShowTimePicture();
  Rebuild();
}

void TGraphFrm::SetCursor(int step) {
  Graph.SetCursor(step);
  PaintBox1->update();
}

void TGraphFrm::Invalidate() {
  Graph.Layout(PaintBox->Canvas());
  PaintBox1->update();
}

shared::TPaintSurface& TGraphFrm::Surface() { return PaintBox->Canvas(); }

void TGraphFrm::PaintBox1Paint() {
  Graph.BackColor = PaintBox->WindowColor();
  Graph.Paint(PaintBox->Canvas());
}

void TGraphFrm::SaveJPEG(const std::string& fileName) {
  shared::TPaintSurface& screen = PaintBox->Canvas();
  const std::unique_ptr<shared::TPaintSurface> bitmap =
      PaintBox->CreateBitmap(screen.Width(), screen.Height());
  bitmap->SetFont(screen.Font());
  Graph.BackColor = PaintBox->WindowColor();
  Graph.SaveJPEG(*bitmap, fileName);
}

}  // namespace quillon
