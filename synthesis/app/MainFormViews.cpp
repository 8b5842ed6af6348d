// The synthesis main window's views: tool bars and modes, mouse editing of the curve, the pivot
// areas, the output-link drawing and the current solution, properties, deletion, zoom, layers
// and the keyboard.
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "shared/SynthCanvas2D.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/Application.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/AreaDlg.h"
#include "synthesis/app/CompactToolBar.h"
#include "synthesis/app/CurvePointDlg.h"
#include "synthesis/app/InputFunctionDlg.h"
#include "synthesis/app/LineDlg.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/app/SolutionView.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

using shared::TComplex;

namespace {

constexpr double kZoomAllMargin = 1.4;
// The instructions of the mechanism view's adding modes.
constexpr char kAreaHint[] = "Click and drag to define an area";
constexpr char kCurvePointHint[] = "Click in window to add a curve point";

void Widen(TComplex& min, TComplex& max, const TComplex& p) {
  min.SetXY(std::min(min.X, p.X), std::min(min.Y, p.Y));
  max.SetXY(std::max(max.X, p.X), std::max(max.Y, p.Y));
}

}  // namespace

// The view bars show pictures one text line high, so that a view of the default window shows
// every button; the captions stay as the hints' short names.
void TMainForm::ShowViewToolPictures() {
  static const std::pair<const char*, const char*> kPictures[] = {
      {"Select", "select"},     {"Properties", "properties"}, {"ZoomIn", "zoomin"},
      {"ZoomOut", "zoomout"},   {"AddArea", "addarea"},       {"AddCurvePoint", "addcurve"},
      {"Delete", "delete"},     {"ZoomAll", "zoomall"},       {"LayerSelect", "layers"},
      {"DrawLine", "line"},     {"New", "new"},               {"Origin", "origin"}};
  const int side = PictureSide(QFontMetrics(font()));
  for (QToolBar* bar : ViewToolBars) {
    bar->setIconSize(QSize(side, side));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (QAction* action : bar->actions()) {
      // The name without its view's word and "Button": "ZoomInCouplerButton" is "ZoomIn".
      QString name = action->objectName();
      name.remove(QStringLiteral("Button"));
      name.remove(QStringLiteral("BackGround"));
      name.remove(QStringLiteral("Coupler"));
      for (const auto& [key, picture] : kPictures)
        if (name == QLatin1String(key)) action->setIcon(ToolPicture(QString::fromLatin1(picture)));
    }
    MakeCompact(bar);
  }
}

void TMainForm::CreateViewTools() {
  const char* barNames[3] = {"MechToolBar", "CouplerToolBar", "BackGroundToolBar"};
  QWidget* sheets[3] = {MechTabSheet, OutputLinkTabSheet, GroundTabSheet};
  for (int view = 0; view < 3; ++view) {
    auto* bar = new QToolBar(sheets[view]);
    bar->setObjectName(QString::fromLatin1(barNames[view]));
    static_cast<QVBoxLayout*>(sheets[view]->layout())->insertWidget(0, bar);
    ViewToolBars[size_t(view)] = bar;
  }
  const auto button = [](QToolBar* bar, const char* name, const QString& text, const QString& hint) {
    QAction* action = bar->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
  };
  // Short captions, so that each bar fits a view of a window 60 % of a 1280-pixel screen wide;
  // the hints give the full names. A mode button carries its Tag; the handler of its view turns the Tag into
  // a mode.
  const auto modeButton = [&, this](int view, const char* name, const QString& text, const QString& hint,
                                    int tag, void (TMainForm::*handler)(int)) {
    QAction* action = button(ViewToolBars[size_t(view)], name, text, hint);
    action->setCheckable(true);
    action->setProperty("Tag", tag);
    ModeButtons[size_t(view)].push_back(action);
    connect(action, &QAction::triggered, this, [this, handler, tag = tag] { (this->*handler)(tag); });
    return action;
  };
  modeButton(0, "SelectButton", "Select", "Select", 0, &TMainForm::SelectButtonClick);
  modeButton(0, "PropertiesButton", "Prop.", "Properties", 1, &TMainForm::SelectButtonClick);
  modeButton(0, "ZoomInButton", "Zoom +", "Zoom In", 2, &TMainForm::SelectButtonClick);
  modeButton(0, "ZoomOutButton", "Zoom -", "Zoom Out", 3, &TMainForm::SelectButtonClick);
  modeButton(0, "AddAreaButton", "Area", "Add Ground Pivot Area", 4, &TMainForm::SelectButtonClick);
  modeButton(0, "AddCurvePointButton", "Point", "Add Curve Point", 5, &TMainForm::SelectButtonClick);
  modeButton(0, "DeleteButton", "Delete", "Delete", 9, &TMainForm::SelectButtonClick);
  ZoomAllButton = button(ViewToolBars[0], "ZoomAllButton", "All", "Zoom All");
  connect(ZoomAllButton, &QAction::triggered, this, [this] { ZoomAll(0); });
  LayerSelectButton = button(ViewToolBars[0], "LayerSelectButton", "Layers", "Show or hide the drawings");
  LayerPopupMenu = new QMenu(this);
  LayerPopupMenu->setObjectName(QStringLiteral("LayerPopupMenu"));
  LayerOutputItem = LayerPopupMenu->addAction(QStringLiteral("&Output Link Drawing"));
  LayerOutputItem->setObjectName(QStringLiteral("LayerOutputItem"));
  LayerGroundItem = LayerPopupMenu->addAction(QStringLiteral("&Ground Link Drawing"));
  LayerGroundItem->setObjectName(QStringLiteral("LayerGroundItem"));
  LayerInstantCenterItem = LayerPopupMenu->addAction(QStringLiteral("&Instant Centers"));
  LayerInstantCenterItem->setObjectName(QStringLiteral("LayerInstantCenterItem"));
  for (QAction* item : {LayerOutputItem, LayerGroundItem, LayerInstantCenterItem}) item->setCheckable(true);
  LayerSelectButton->setMenu(LayerPopupMenu);
  if (auto* tool = qobject_cast<QToolButton*>(ViewToolBars[0]->widgetForAction(LayerSelectButton)))
    tool->setPopupMode(QToolButton::MenuButtonPopup);
  connect(LayerPopupMenu, &QMenu::aboutToShow, this, [this] { LayerPopupMenuPopup(); });
  connect(LayerSelectButton, &QAction::triggered, this, [this] { LayerSelectButtonClick(); });
  const auto layer = [this](QAction* item, bool& flag) {
    connect(item, &QAction::triggered, this, [this, &flag] {
      flag = !flag;
      RepaintView(0);
    });
  };
  layer(LayerOutputItem, AppOptions.ShowOutputLinkDrawing);
  layer(LayerGroundItem, AppOptions.ShowGroundDrawing);
  layer(LayerInstantCenterItem, AppOptions.ShowInstantCenters);

  modeButton(1, "SelectCouplerButton", "Select", "Select", 0, &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "PropertiesCouplerButton", "Prop.", "Properties", 1, &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "ZoomInCouplerButton", "Zoom +", "Zoom In", 2, &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "ZoomOutCouplerButton", "Zoom -", "Zoom Out", 3, &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "AddAreaCouplerButton", "Area", "Add Coupler Pivot Area", 4,
             &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "DrawLineButton", "Line", "Draw Line", 7, &TMainForm::SelectCouplerButtonClick);
  modeButton(1, "DeleteCouplerButton", "Delete", "Delete", 9, &TMainForm::SelectCouplerButtonClick);
  ZoomAllCouplerButton = button(ViewToolBars[1], "ZoomAllCouplerButton", "All", "Zoom All");
  connect(ZoomAllCouplerButton, &QAction::triggered, this, [this] { ZoomAll(1); });
  NewCouplerButton = button(ViewToolBars[1], "NewCouplerButton", "New", "New output link drawing");
  connect(NewCouplerButton, &QAction::triggered, this, [this] { NewCouplerButtonClick(); });
  OriginCouplerButton = button(ViewToolBars[1], "OriginCouplerButton", "Origin", "Output link origin");
  connect(OriginCouplerButton, &QAction::triggered, this, [this] { OriginCouplerButtonClick(); });

  modeButton(2, "SelectBackGroundButton", "Select", "Select", 0, &TMainForm::SelectBackGroundButtonClick);
  modeButton(2, "ZoomInBackGroundButton", "Zoom +", "Zoom In", 1, &TMainForm::SelectBackGroundButtonClick);
  modeButton(2, "ZoomOutBackGroundButton", "Zoom -", "Zoom Out", 2, &TMainForm::SelectBackGroundButtonClick);
  ZoomAllBackGroundButton = button(ViewToolBars[2], "ZoomAllBackGroundButton", "All", "Zoom All");
  connect(ZoomAllBackGroundButton, &QAction::triggered, this, [this] { ZoomAll(2); });
  NewBackGroundButton = button(ViewToolBars[2], "NewBackGroundButton", "New", "New ground link drawing");
  connect(NewBackGroundButton, &QAction::triggered, this, [this] { NewBackGroundButtonClick(); });

  // The popups of the two editing views: their mode commands and Zoom All.
  const auto popup = [this](const char* name, void (TMainForm::*handler)(int),
                            std::vector<std::pair<QString, int>> items, int view) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    for (const auto& [text, tag] : items) {
      QAction* action = menu->addAction(text);
      action->setProperty("Tag", tag);
      connect(action, &QAction::triggered, this, [this, handler, tag = tag] { (this->*handler)(tag); });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Zoom &All")), &QAction::triggered, this,
            [this, view] { ZoomAll(view); });
    QWidget* box = view == 0 ? PaintBox1 : PaintBox2;
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [menu, box](const QPoint& at) { menu->popup(box->mapToGlobal(at)); });
    return menu;
  };
  PopupMenu1 = popup("PopupMenu1", &TMainForm::SelectButtonClick,
                     {{QStringLiteral("&Select"), 0},
                      {QStringLiteral("&Properties"), 1},
                      {QStringLiteral("Zoom &In"), 2},
                      {QStringLiteral("Zoom &Out"), 3},
                      {QStringLiteral("Add A&rea"), 4},
                      {QStringLiteral("Add &Curve Point"), 5},
                      {QStringLiteral("&Delete"), 9}},
                     0);
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  CouplerPopupMenu = popup("CouplerPopupMenu", &TMainForm::SelectCouplerButtonClick,
                           {{QStringLiteral("&Select"), 0},
                            {QStringLiteral("&Properties"), 1},
                            {QStringLiteral("Zoom &In"), 2},
                            {QStringLiteral("Zoom &Out"), 3},
                            {QStringLiteral("Add A&rea"), 4},
                            {QStringLiteral("Draw &Line"), 7},
                            {QStringLiteral("&Delete"), 9}},
                           1);
  AnimTimer = new QTimer(this);
  AnimTimer->setObjectName(QStringLiteral("AnimTimer"));
  AnimTimer->setInterval(AppOptions.AnimationInterval());

  // The Edit items carry the Tags of their modes and go to the active tab's handler.
  const std::pair<QAction*, int> editItems[] = {{EditSelectItem, 0},   {EditPropertiesItem, 1},
                                                {EditAddAreaItem, 4},  {EditAddCurvePointItem, 5},
                                                {EditDrawLineItem, 7}, {EditDeleteItem, 9}};
  for (auto [item, tag] : editItems) {
    item->setProperty("Tag", tag);
    connect(item, &QAction::triggered, this, [this, tag = tag] {
      switch (ActiveView()) {
        case 0:
          SelectButtonClick(tag);
          break;
        case 1:
          SelectCouplerButtonClick(tag);
          break;
        default:
          SelectBackGroundButtonClick(tag);
          break;
      }
    });
  }
  connect(EditMenu, &QMenu::aboutToShow, this, [this] { EditMenuClick(); });
  ViewZoomInItem->setProperty("Tag", 2);
  ViewZoomOutItem->setProperty("Tag", 3);
  connect(ViewZoomInItem, &QAction::triggered, this, [this] { ViewZoomInClick(2); });
  connect(ViewZoomOutItem, &QAction::triggered, this, [this] { ViewZoomInClick(3); });
  connect(ViewZoomAllItem, &QAction::triggered, this, [this] { ViewZoomAllClick(); });
  connect(AnalysisInputFunctionItem, &QAction::triggered, this, [this] {
    shared::DeliverGuarded([this] {
      AnalysisInputFunctionClick();
      return true;
    });
  });
  CreateGraphTabs();
  // The coordinates: the canvases follow at once; the list's views are refilled.
  connect(PolarToolButton, &QAction::triggered, this, [this] { XYToolButtonClick(true); });
  connect(XYToolButton, &QAction::triggered, this, [this] { XYToolButtonClick(false); });

  const auto guardedMouse = [](auto handler) {
    shared::DeliverGuarded([&] {
      handler();
      return true;
    });
  };
  shared::TQtPaintBox& mech = *FPaintBoxes[0];
  mech.OnMouseDown = [=, this](Qt::MouseButton b, shared::TShiftState, int x, int y) {
    guardedMouse([&] { MechMouseDown(b, x, y); });
  };
  mech.OnMouseMove = [=, this](shared::TShiftState s, int x, int y) {
    guardedMouse([&] { MechMouseMove(s, x, y); });
  };
  mech.OnMouseUp = [=, this](Qt::MouseButton, shared::TShiftState, int, int) {
    guardedMouse([&] { MechMouseUp(); });
  };
  mech.OnDoubleClick = [=, this](int, int) { guardedMouse([&] { MechDoubleClick(); }); };
  shared::TQtPaintBox& coupler = *FPaintBoxes[1];
  coupler.OnMouseDown = [=, this](Qt::MouseButton b, shared::TShiftState, int x, int y) {
    guardedMouse([&] { CouplerMouseDown(b, x, y); });
  };
  coupler.OnMouseMove = [=, this](shared::TShiftState s, int x, int y) {
    guardedMouse([&] { CouplerMouseMove(s, x, y); });
  };
  coupler.OnMouseUp = [=, this](Qt::MouseButton, shared::TShiftState, int, int) {
    guardedMouse([&] { CouplerMouseUp(); });
  };
  coupler.OnDoubleClick = [=, this](int, int) { guardedMouse([&] { CouplerDoubleClick(); }); };
  FPaintBoxes[2]->OnMouseUp = [this](Qt::MouseButton, shared::TShiftState, int, int) {
    ShowMode(2);
    RepaintView(2);
  };
  // A resized scroll box shows the middle of its canvas again.
  for (QScrollArea* scroll : ScrollBoxes) scroll->viewport()->installEventFilter(this);
  // The window sees the wheel and its keys before the control under the mouse or with the
  // focus: the list view would scroll or step its rows instead.
  qApp->installEventFilter(this);
  for (int view = 0; view < 3; ++view) ShowMode(view);
}

void TMainForm::CreateGraphTabs() {
  // One tab per quantity of the graph, in the order of the list's graph kinds.
  GraphTabControl->setTabText(0, QString::fromLatin1(kGraphCaptions[0]));
  for (int kind = 1; kind < TMechanismList::kGraphKinds; ++kind) {
    auto* page = new QWidget;
    (new QVBoxLayout(page))->setContentsMargins(0, 0, 0, 0);
    GraphTabControl->addTab(page, QString::fromLatin1(kGraphCaptions[size_t(kind)]));
  }
  connect(GraphTabControl, &QTabWidget::currentChanged, this, [this](int index) { GraphTabControlChange(index); });
  // The time axis is set by the button's own toggle; the graph follows the click.
  connect(XIsTimeToolButton, &QAction::triggered, this, [this] { XisTimeButtonClick(); });
}

void TMainForm::GraphTabControlChange(int index) {
  if (QWidget* page = GraphTabControl->widget(index); page && GraphPaintBox->parentWidget() != page) {
    page->layout()->addWidget(GraphPaintBox);
    GraphPaintBox->show();
  }
  if (FSolutions) FSolutions->GraphKind = index;
  RefillGraph();
}

void TMainForm::XisTimeButtonClick() {
  AppOptions.XIsTime = XIsTimeToolButton->isChecked();
  RefillGraph();
}

void TMainForm::RefillGraph() {
  if (!FSolutions) return;
  FSolutions->DrawGraph();
  FGraphBox->Invalidate();
  GraphPaintBox->update();
}

int TMainForm::ActiveView() const { return std::clamp(MechPageControl->currentIndex(), 0, 2); }

void TMainForm::RepaintView(int view) {
  QWidget* boxes[3] = {PaintBox1, PaintBox2, PaintBox3};
  boxes[view]->update();
}

void TMainForm::SetHint(const QString& text) {
  FHint = text;
  StatusPanels[3]->setText(text);
}

void TMainForm::SetSolutionView(std::unique_ptr<TSolutionView> view) {
  FSolution = std::move(view);
  UpdateControls();
}

void TMainForm::ShowMode(int view) {
  const int mode = FCanvases[size_t(view)]->Mode();
  for (QAction* action : ModeButtons[size_t(view)]) {
    int tag = action->property("Tag").toInt();
    // The ground view's Tags 1 and 2 stand for the zoom modes.
    if (view == 2 && tag > 0) tag += 1;
    action->setChecked(tag == mode);
  }
}

void TMainForm::SetViewMode(int view, int mode) {
  shared::TSynthCanvas2D& canvas = *FCanvases[size_t(view)];
  // A second press of the mode's button goes back to selecting.
  if (canvas.Mode() == mode) mode = shared::kModeSelect;
  canvas.SetMode(mode);
  ShowMode(view);
}

void TMainForm::SelectButtonClick(int tag) {
  switch (tag) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 9:
      SetViewMode(0, tag);
      break;
    default:
      FCanvases[0]->SetMode(shared::kModeSelect);
      ShowMode(0);
      break;
  }
  // The instruction of the mode stays in the hint panel while the mode is on.
  const int mode = FCanvases[0]->Mode();
  if (mode == kModeAddArea)
    SetHint(QString::fromLatin1(kAreaHint));
  else if (mode == kModeAddCurvePoint)
    SetHint(QString::fromLatin1(kCurvePointHint));
  else if (FHint == QLatin1String(kAreaHint) || FHint == QLatin1String(kCurvePointHint))
    SetHint(QString());
}

void TMainForm::SelectCouplerButtonClick(int tag) {
  switch (tag) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 9:
      SetViewMode(1, tag);
      break;
    default:
      FCanvases[1]->SetMode(shared::kModeSelect);
      ShowMode(1);
      break;
  }
}

void TMainForm::SelectBackGroundButtonClick(int tag) {
  if (tag == 1 || tag == 2) {
    SetViewMode(2, tag + 1);
  } else {
    FCanvases[2]->SetMode(shared::kModeSelect);
    ShowMode(2);
  }
}

void TMainForm::ViewZoomInClick(int tag) { SetViewMode(ActiveView(), tag == 3 ? kModeZoomOut : kModeZoomIn); }

void TMainForm::ViewZoomAllClick() { ZoomAll(ActiveView()); }

void TMainForm::ZoomAll(int view) {
  shared::TSynthCanvas2D& canvas = *FCanvases[size_t(view)];
  TComplex min, max;
  if (view == 0) {
    if (FCurve->Count() > 0) min = max = *FCurve->Items(1);
    for (int i = 1; i <= FCurve->Count(); ++i) Widen(min, max, *FCurve->Items(i));
    if (AppOptions.ShowGroundDrawing) FGroundDrawing->UpdateExtent(min, max);
    if (FSolution && FSolution->HasCurrent()) FSolution->UpdateExtent(min, max);
    if (!FGroundAreas->IsEmpty()) FGroundAreas->GetExtents(min, max);
    // Nothing to show: the view stays as it is.
    if (max.X - min.X == 0 && max.Y - min.Y == 0) return;
  } else if (view == 1) {
    Drawing().UpdateExtent(min, max);
    if (!FCouplerAreas->IsEmpty()) FCouplerAreas->GetExtents(min, max);
  } else {
    FGroundDrawing->UpdateExtent(min, max);
  }
  canvas.ZoomToRect(min, max, kZoomAllMargin);
  CentreScrollBox(view);
  RepaintView(view);
}

void TMainForm::ZoomAllViews() {
  // The views fit what they show to their windows: a pending layout is done first, and a view
  // on a hidden tab, whose window has no size yet, fits when its tab is next shown.
  QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  for (int view = 0; view < 3; ++view) {
    FZoomPending[size_t(view)] = !ScrollBoxes[size_t(view)]->isVisible();
    if (!FZoomPending[size_t(view)]) ZoomAll(view);
  }
}

void TMainForm::ShowPendingZoom(int view) {
  if (view < 0 || view > 2 || !FZoomPending[size_t(view)] || !ScrollBoxes[size_t(view)]->isVisible()) return;
  FZoomPending[size_t(view)] = false;
  ZoomAll(view);
}

void TMainForm::CentreScrollBox(int view) {
  QScrollArea* scroll = ScrollBoxes[size_t(view)];
  const QSize client = scroll->viewport()->size();
  const int size = FCanvases[size_t(view)]->CanvasSize();
  // A resize reaches the viewport before the scroll area has set its new ranges: set them here,
  // as the scroll area will, so that the middle is not cut to the old range.
  scroll->horizontalScrollBar()->setRange(0, std::max(0, size - client.width()));
  scroll->verticalScrollBar()->setRange(0, std::max(0, size - client.height()));
  scroll->horizontalScrollBar()->setValue((size - client.width()) / 2);
  scroll->verticalScrollBar()->setValue((size - client.height()) / 2);
}

void TMainForm::MouseWheel(int delta) {
  const int view = ActiveView();
  FCanvases[size_t(view)]->Zoom(1 + delta / 1000.0);
  RepaintView(view);
}

void TMainForm::EditMenuClick() {
  const bool idle = Idle();
  for (QAction* item :
       {EditSelectItem, EditPropertiesItem, EditAddCurvePointItem, EditAddAreaItem, EditDeleteItem})
    item->setEnabled(idle);
  EditDrawLineItem->setEnabled(true);
  const int view = ActiveView();
  EditSelectItem->setVisible(true);
  for (QAction* item : {EditPropertiesItem, EditAddAreaItem, EditDeleteItem}) item->setVisible(view < 2);
  EditAddCurvePointItem->setVisible(view == 0);
  EditDrawLineItem->setVisible(view == 1);
}

void TMainForm::PopupMenu1Popup() {
  for (QAction* item : PopupMenu1->actions()) item->setEnabled(Idle());
}

void TMainForm::LowSpeedToolButtonClick(int tag) {
  AppOptions.Speed = tag;
  AnimTimer->setInterval(AppOptions.AnimationInterval());
}

// ---- Mechanism view

void TMainForm::MechPick() {
  if (FSolution) FSolution->Deselect();
  FCurve->Deselect();
  FGroundAreas->Deselect();
  SetHint(QString());
  PickHit = {};
  const shared::TSynthCanvas2D& canvas = *FCanvases[0];
  const TComplex& at = canvas.PressPoint;
  const double tolerance = canvas.PickToleranceWorld();
  if (FCurve->SelectNear(at, tolerance)) {
    PickHit = {kPickCurvePoint, FCurve->Selected()->Index()};
    SetHint(QStringLiteral("Curve Point %1").arg(PickHit.Index));
  } else if (FGroundAreas->SelectNear(at, tolerance)) {
    PickHit = {kPickGroundArea, FGroundAreas->Selected()->Index()};
    SetHint(QStringLiteral("Area %1").arg(PickHit.Index));
  } else if (FSolution && FSolution->HasCurrent()) {
    int index = 0;
    const int kind = FSolution->PickAt(at, tolerance, index);
    if (kind != kPickNothing) PickHit = {kind, index};
  }
}

void TMainForm::MechMouseDown(Qt::MouseButton button, int, int) {
  const shared::TSynthCanvas2D& canvas = *FCanvases[0];
  const int mode = canvas.Mode();
  const bool left = button == Qt::LeftButton;
  if (mode == kModeAddCurvePoint && left) {
    // A full curve refuses the point; then nothing stays selected for the drag to move.
    if (!FCurve->Add(std::make_unique<TPrePoint>(canvas.PressPoint.X, canvas.PressPoint.Y))) {
      FCurve->Deselect();
      Beep();
      SetHint(QStringLiteral("The curve is full: it holds at most %1 points").arg(TSpline::kCapacity));
    }
    FCurve->Recalc();
    UpdateControls();
  } else if (mode == kModeAddArea && left) {
    auto area = std::make_unique<TArea>(canvas.PressPoint.X, canvas.PressPoint.Y, canvas.PressPoint.X,
                                        canvas.PressPoint.Y);
    area->GrabbedCorner = 3;
    if (!FGroundAreas->Add(std::move(area))) FGroundAreas->Deselect();
    BeginAreaDrag(*FGroundAreas, true);
  } else if (mode == shared::kModeSelect || mode == kModeProperties || mode == kModeDelete) {
    MechPick();
    if (mode == shared::kModeSelect) BeginAreaDrag(*FGroundAreas, false);
  }
  RepaintView(0);
}

void TMainForm::BeginAreaDrag(TAreaList& list, bool added) {
  FAreaDrag = {};
  TArea* area = list.GetSelectedArea();
  if (!area || area->GrabbedCorner == 0) return;
  FAreaDrag = {&list, area, added, *area, area->Corner2};
}

void TMainForm::EndAreaDrag() {
  const TAreaDrag drag = FAreaDrag;
  FAreaDrag = {};
  // The area must still be the one pressed: nothing else runs between press and release.
  if (!drag.Area || drag.List->IndexOf(drag.Area) < 1 || !drag.Area->IsEmpty()) return;
  // An area without width or height restricts nothing: the search would drop it unseen.
  Beep();
  if (drag.New) {
    drag.List->Delete(drag.List->IndexOf(drag.Area));
    SetHint(QStringLiteral("No area added: an area needs a width and a height"));
  } else {
    drag.Area->SetXY(drag.Corner1.X, drag.Corner1.Y);
    drag.Area->Corner2 = drag.Corner2;
    SetHint(QStringLiteral("Area %1 kept its size: an area needs a width and a height")
                .arg(drag.List->IndexOf(drag.Area)));
  }
}

void TMainForm::MechMouseMove(uint8_t shift, int, int) {
  const shared::TSynthCanvas2D& canvas = *FCanvases[0];
  const int mode = canvas.Mode();
  if (!(shift & shared::kLeftButton) || mode == kModeZoomIn) return;
  const TComplex& at = canvas.CurrentPoint;
  if (mode == shared::kModeSelect && FSolution && FSolution->HasCurrent() && FSolution->HasSelectedJoint()) {
    // A drag that moves nothing says why.
    SetHint(shared::ToQString(FSolution->DragJoint(at)));
  }
  if ((mode == shared::kModeSelect || mode == kModeAddCurvePoint) && FCurve->Selected()) {
    FCurve->Selected()->Assign(TComplex(at.X, at.Y));
    FCurve->Recalc();
    RepaintView(0);
    return;
  }
  if (mode == shared::kModeSelect || mode == kModeAddArea) {
    if (TArea* area = FGroundAreas->GetSelectedArea(); area && area->GrabbedCorner != 0) {
      area->MoveCorner(at);
      FGroundAreas->SetModified(true);
    }
  }
  RepaintView(0);
}

void TMainForm::MechMouseUp() {
  EndAreaDrag();
  const int mode = FCanvases[0]->Mode();
  if (mode == kModeProperties)
    MechProperties();
  else if (mode == kModeDelete)
    MechDelete();
  ShowMode(0);
  RepaintView(0);
}

void TMainForm::MechDoubleClick() {
  if (FCanvases[0]->Mode() == shared::kModeSelect) MechProperties();
}

void TMainForm::MechProperties() {
  if (FSolution && FSolution->HasCurrent()) {
    if (TComplexPointList* joints = FSolution->SelectedJointList()) {
      TComplexPointDialog dialog(this);
      dialog.setWindowTitle(QStringLiteral("Joint"));
      dialog.Cartesian = true;
      dialog.SetTarget(joints);
      RunModal(dialog);
      FSolution->RefillGrid();
      RepaintView(0);
      return;
    }
    if (TComplexPointList* pathPoints = FSolution->SelectedPathPointList()) {
      // A path point is where the simulation put the coupler point: shown, never edited.
      TComplexPointDialog dialog(this);
      dialog.setWindowTitle(QStringLiteral("Path Point"));
      dialog.SetReadOnly(true);
      dialog.SetTarget(pathPoints);
      RunModal(dialog);
      RepaintView(0);
      return;
    }
  }
  if (FCurve->Selected()) {
    TPrePointDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Curve Point"));
    dialog.SetHelpHandler([this](const std::string& topic) { ShowHelp(topic); });
    // Start-up turns the input rotation off, and nothing in the program turns it on again.
    dialog.SetInRotationAllowed(false);
    dialog.SetCurve(FCurve.get());
    RunModal(dialog);
    FCurve->Recalc();
  } else if (TArea* area = FGroundAreas->GetSelectedArea()) {
    TAreaDialog dialog(this);
    dialog.SetTarget(area);
    RunModal(dialog);
  }
  RepaintView(0);
}

void TMainForm::MechDelete() {
  // No question: the selection is what the user just clicked.
  if (FGroundAreas->Selected()) FGroundAreas->DeleteSelected();
  if (FCurve->Selected()) {
    FCurve->DeleteSelected();
    FCurve->Recalc();
  }
  PickHit = {};
  UpdateControls();
  RepaintView(0);
}

// ---- Output-link view

void TMainForm::CouplerPick() {
  TDrawing& drawing = Drawing();
  FCouplerAreas->Deselect();
  SetHint(QString());
  const shared::TSynthCanvas2D& canvas = *FCanvases[1];
  const TComplex& at = canvas.PressPoint;
  const double tolerance = canvas.PickToleranceWorld();
  if (FCouplerAreas->SelectNear(at, tolerance)) {
    drawing.Deselect();
    SetHint(QStringLiteral("Area %1").arg(FCouplerAreas->Selected()->Index()));
    return;
  }
  const int line = drawing.IndexAt(at, tolerance);
  drawing.Select(line);
  if (shared::TGeneralObject* current = drawing.Current()) {
    // IndexAt tried the others after the current line: the grab belongs to the line found.
    current->HitTest(at, tolerance);
    current->MakeDefaultName();
    SetHint(shared::ToQString(current->Name));
    return;
  }
  drawing.OriginGrabbed = std::hypot(at.X - drawing.Origin.X, at.Y - drawing.Origin.Y) <= tolerance;
}

void TMainForm::CouplerMouseDown(Qt::MouseButton button, int, int) {
  TDrawing& drawing = Drawing();
  drawing.OriginGrabbed = false;
  const shared::TSynthCanvas2D& canvas = *FCanvases[1];
  const int mode = canvas.Mode();
  const bool left = button == Qt::LeftButton;
  const TComplex& p = canvas.PressPoint;
  if (mode == kModeAddArea && left) {
    auto area = std::make_unique<TArea>(p.X, p.Y, p.X, p.Y);
    area->GrabbedCorner = 3;
    if (!FCouplerAreas->Add(std::move(area))) FCouplerAreas->Deselect();
    BeginAreaDrag(*FCouplerAreas, true);
  } else if (mode == kModeDrawLine && left) {
    auto line = std::make_unique<TComplexLine>(p.X, p.Y, p.X, p.Y);
    TComplexLine* added = line.get();
    drawing.Add(std::move(line));
    drawing.Select(drawing.IndexOf(added));
    added->Grabbed = &added->Point2;
  } else if (mode == shared::kModeSelect || mode == kModeProperties || mode == kModeDelete) {
    CouplerPick();
    if (mode == shared::kModeSelect) BeginAreaDrag(*FCouplerAreas, false);
  }
  RepaintView(1);
}

void TMainForm::CouplerMouseMove(uint8_t shift, int, int) {
  const shared::TSynthCanvas2D& canvas = *FCanvases[1];
  const int mode = canvas.Mode();
  if (!(shift & shared::kLeftButton) || mode == kModeZoomIn) return;
  TDrawing& drawing = Drawing();
  // As in the mechanism view: an area drawn last stays selected, and a line drawn next must not
  // pull its corner along.
  if (mode == shared::kModeSelect || mode == kModeAddArea) {
    if (TArea* area = FCouplerAreas->GetSelectedArea(); area && area->GrabbedCorner != 0) {
      area->MoveCorner(canvas.CurrentPoint);
      FCouplerAreas->SetModified(true);
    }
  }
  if (mode == shared::kModeSelect || mode == kModeDrawLine) {
    if (auto* line = dynamic_cast<TComplexLine*>(drawing.Current())) {
      line->DragTo(canvas.CurrentPoint, canvas.PreviousPoint);
      line->SetModified(true);
    }
  }
  if (mode == shared::kModeSelect && drawing.OriginGrabbed) {
    drawing.Origin.Assign(TComplex(canvas.CurrentPoint.X, canvas.CurrentPoint.Y));
  }
  RepaintView(1);
}

void TMainForm::CouplerMouseUp() {
  EndAreaDrag();
  const int mode = FCanvases[1]->Mode();
  if (mode == kModeProperties)
    CouplerProperties();
  else if (mode == kModeDelete)
    CouplerDelete();
  ShowMode(1);
  RepaintView(1);
}

void TMainForm::CouplerDoubleClick() {
  if (FCanvases[1]->Mode() == shared::kModeSelect) CouplerProperties();
}

void TMainForm::CouplerProperties() {
  TDrawing& drawing = Drawing();
  if (TArea* area = FCouplerAreas->GetSelectedArea()) {
    TAreaDialog dialog(this);
    dialog.SetTarget(area);
    RunModal(dialog);
  } else if (auto* line = dynamic_cast<TComplexLine*>(drawing.Current())) {
    TLineDialog dialog(this);
    dialog.TargetLine = line;
    RunModal(dialog);
  } else if (drawing.OriginGrabbed) {
    TComplexPointDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Origin Output Link"));
    dialog.Cartesian = true;
    dialog.SetTarget(&drawing.Origin);
    RunModal(dialog);
  }
  RepaintView(1);
}

void TMainForm::CouplerDelete() {
  if (FCouplerAreas->Selected()) FCouplerAreas->DeleteSelected();
  TDrawing& drawing = Drawing();
  if (drawing.Current()) drawing.DeleteCurrent();
  UpdateControls();
  RepaintView(1);
}

// ---- Commands

void TMainForm::NewCouplerButtonClick() {
  Drawing().Clear();
  FCouplerAreas->Clear();
  AppOptions.ShowOutputLinkDrawing = false;
  RepaintView(1);
  RepaintView(0);
}

void TMainForm::NewBackGroundButtonClick() {
  FGroundDrawing->Clear();
  AppOptions.ShowGroundDrawing = false;
  RepaintView(2);
  RepaintView(0);
}

void TMainForm::OriginCouplerButtonClick() {
  TComplexPointDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Output Link Origin"));
  dialog.Cartesian = true;
  dialog.SetTarget(&Drawing().Origin);
  RunModal(dialog);
  RepaintView(1);
}

void TMainForm::LayerSelectButtonClick() {
  const bool both = AppOptions.ShowOutputLinkDrawing && AppOptions.ShowGroundDrawing;
  AppOptions.ShowOutputLinkDrawing = !both;
  AppOptions.ShowGroundDrawing = !both;
  RepaintView(0);
}

void TMainForm::LayerPopupMenuPopup() {
  LayerOutputItem->setChecked(AppOptions.ShowOutputLinkDrawing);
  LayerGroundItem->setChecked(AppOptions.ShowGroundDrawing);
  LayerInstantCenterItem->setChecked(AppOptions.ShowInstantCenters);
}

void TMainForm::XYToolButtonClick(bool polar) {
  AppOptions.IsPolar = polar;
  for (auto& canvas : FCanvases) canvas->Polar = polar;
  if (FSolution) FSolution->RefillViews();
}

void TMainForm::AnalysisInputFunctionClick() {
  if (FSolution && FSolution->HasCurrent()) FSolution->TakeDefaultInputFunction();
  // Cancel leaves every solution's own input function as it was.
  if (RunModal(*FInputFunctionDlg) != QDialog::Accepted) return;
  if (FSolution) FSolution->ApplyDefaultInputFunction();
  FGraphBox->Invalidate();
  GraphPaintBox->update();
}

void TMainForm::FormKeyDown(int key) {
  switch (key) {
    case Qt::Key_Escape:
      ClearSelections();
      PickHit = {};
      if (FSolution) FSolution->Deselect();
      for (int view = 0; view < 3; ++view) {
        FCanvases[size_t(view)]->SetMode(shared::kModeSelect);
        ShowMode(view);
      }
      AnimationResetClick();
      break;
    case Qt::Key_Space:
      if (Work == TWork::Generation)
        SynthesisGenerateClick(nullptr);
      else if (Work == TWork::Optimization)
        OptimizeButtonClick(nullptr);
      else
        AnimationStartClick(nullptr);
      break;
    // The arrows are the step buttons' keys: a disabled button (generation or optimisation
    // running, no current solution) takes no trigger, so the keys wait with it.
    case Qt::Key_Left:
      StepCCWButton->trigger();
      break;
    case Qt::Key_Right:
      StepCWButton->trigger();
      break;
    case Qt::Key_Delete:
      if (ActiveView() == 0)
        MechDelete();
      else if (ActiveView() == 1)
        CouplerDelete();
      break;
    default:
      break;
  }
}

namespace {

bool TakesText(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
      qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget))
    return true;
  const auto* box = qobject_cast<const QComboBox*>(widget);
  return box && box->isEditable();
}

}  // namespace

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      for (int view = 0; view < 3; ++view)
        if (watched == ScrollBoxes[size_t(view)]->viewport() && ScrollBoxes[size_t(view)]->isVisible())
          CentreScrollBox(view);
      break;
    case QEvent::Wheel:
      // Anywhere in this window (a dialog is a window of its own); always handled. While a file
      // is read or written the window takes no input.
      if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this && isEnabled()) {
        MouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
      }
      break;
    case QEvent::KeyPress:
      // A field that takes text keeps its keys: Space, Delete and the arrows edit it.
      if (auto* widget = qobject_cast<QWidget*>(watched);
          widget && widget->window() == this && isEnabled() && !TakesText(widget)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Delete || key == Qt::Key_Space || key == Qt::Key_Left ||
            key == Qt::Key_Right) {
          shared::DeliverGuarded([&] {
            FormKeyDown(key);
            return true;
          });
          return true;
        }
      }
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace vesk
