// Vesk's pictures: the mechanism types drawn from small sketches of their chains, and the
// tool-bar pictures compiled into the program.
#include "synthesis/app/MechPictures.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <vector>

#include "synthesis/engine/Mechanism.h"

namespace vesk {

namespace {

constexpr std::array<uint8_t, 8> kTypes = {kFourbarType, kWatt1Type,    kWatt2Type,  kStephenson1Type,
                                           kStephenson3Type, kEightbarType, kSliderType, kFiveBarType};

// A chain in a 24 by 24 box: its ground pivots, the input crank, the other binary links, the
// plates (three joints each) and the coupler point; a slider block or two belt wheels for those
// types.
struct TSketch {
  std::vector<QPointF> Ground;
  QLineF Crank;
  std::vector<QLineF> Bars;
  std::vector<std::array<QPointF, 3>> Plates;
  QPointF Coupler;
  bool Slider = false;
  bool Wheels = false;
};

TSketch SketchOf(int type) {
  switch (type) {
    case kSliderType:
      return {{{5, 17}}, {{5, 17}, {4, 9}}, {}, {{{{4, 9}, {16, 15}, {10, 3}}}}, {10, 3}, true, false};
    case kFiveBarType:
      return {{{6, 19}, {18, 19}},
              {{6, 19}, {4, 11}},
              {{{18, 19}, {20, 11}}, {{4, 11}, {12, 5}}, {{20, 11}, {12, 5}}},
              {},
              {12, 5},
              false,
              true};
    case kWatt1Type:
      return {{{3, 20}, {13, 20}},
              {{3, 20}, {3, 13}},
              {{{8, 7}, {15, 5}}, {{19, 16}, {21, 11}}},
              {{{{3, 13}, {10, 13}, {8, 7}}}, {{{13, 20}, {10, 13}, {19, 16}}}, {{{15, 5}, {21, 11}, {21, 2}}}},
              {21, 2}};
    case kWatt2Type:
      return {{{3, 20}, {11, 20}},
              {{3, 20}, {3, 12}},
              {{{3, 12}, {10, 12}}, {{17, 16}, {21, 10}}, {{13, 7}, {10, 12}}},
              {{{{11, 20}, {10, 12}, {17, 16}}}, {{{21, 10}, {13, 7}, {18, 2}}}},
              {18, 2}};
    case kStephenson1Type:
      return {{{3, 20}, {12, 20}, {21, 20}},
              {{3, 20}, {3, 13}},
              {{{10, 12}, {12, 20}}, {{18, 9}, {21, 20}}},
              {{{{3, 13}, {10, 12}, {7, 6}}}, {{{7, 6}, {18, 9}, {14, 2}}}},
              {14, 2}};
    case kStephenson3Type:
      return {{{3, 20}, {11, 20}, {21, 20}},
              {{3, 20}, {3, 13}},
              {{{3, 13}, {10, 11}}, {{15, 14}, {16, 6}}, {{21, 12}, {21, 20}}},
              {{{{11, 20}, {10, 11}, {15, 14}}}, {{{16, 6}, {21, 12}, {11, 3}}}},
              {11, 3}};
    case kEightbarType:
      return {{{3, 20}, {10, 20}, {20, 20}},
              {{3, 20}, {3, 14}},
              {{{9, 13}, {10, 20}}, {{6, 8}, {12, 5.5}}, {{16, 10}, {21, 13}}, {{21, 13}, {20, 20}}},
              {{{{3, 14}, {9, 13}, {6, 8}}}, {{{12, 5.5}, {16, 10}, {17, 2}}}},
              {17, 2}};
    default:
      return {{{5, 19}, {19, 19}}, {{5, 19}, {4, 11}}, {{{15, 9}, {19, 19}}}, {{{{4, 11}, {15, 9}, {9, 3}}}}, {9, 3}};
  }
}

const QColor kDark(0x27, 0x45, 0x5f);
const QColor kGrey(0x7d, 0x8a, 0x96);
const QColor kBlue(0x2e, 0x6d, 0xa4);
const QColor kPlate(0xa9, 0xcb, 0xe8);
const QColor kRed(0xc8, 0x37, 0x2d);
const QColor kGreen(0x2e, 0x8b, 0x3e);
const QColor kMarkFill(0xff, 0xe8, 0x9c);
const QColor kMarkEdge(0xc9, 0x8a, 0x00);

void DrawJoint(QPainter& p, const QPointF& at) {
  p.setPen(QPen(kDark, 1.1));
  p.setBrush(Qt::white);
  p.drawEllipse(at, 1.3, 1.3);
}

void DrawSketch(QPainter& p, const TSketch& s) {
  p.setBrush(Qt::NoBrush);
  if (s.Wheels) {
    // Two wheels on the ground pivots and the belt between them.
    p.setPen(QPen(kGrey, 1.2));
    for (const QPointF& g : s.Ground) p.drawEllipse(g, 3.0, 3.0);
    p.drawLine(QPointF(s.Ground[0].x(), s.Ground[0].y() - 3), QPointF(s.Ground[1].x(), s.Ground[1].y() - 3));
    p.drawLine(QPointF(s.Ground[0].x(), s.Ground[0].y() + 3), QPointF(s.Ground[1].x(), s.Ground[1].y() + 3));
  } else {
    for (const QPointF& g : s.Ground) {
      p.setPen(Qt::NoPen);
      p.setBrush(kGrey);
      p.drawPolygon(QPolygonF({g, g + QPointF(-2.2, 3.4), g + QPointF(2.2, 3.4)}));
      p.setPen(QPen(kDark, 1.1));
      p.drawLine(g + QPointF(-3, 3.4), g + QPointF(3, 3.4));
    }
  }
  if (s.Slider) {
    // The guide under the block, hatched as ground.
    const QPointF c = s.Plates.front()[1];
    p.setPen(QPen(kDark, 1.3));
    p.drawLine(QPointF(9.5, c.y() + 3), QPointF(23, c.y() + 3));
    p.setPen(QPen(kGrey, 0.9));
    for (double x = 11; x <= 23; x += 3) p.drawLine(QPointF(x, c.y() + 3), QPointF(x - 1.5, c.y() + 5));
    p.setPen(QPen(kDark, 1.3));
    p.setBrush(QColor(0xd8, 0xe6, 0xf2));
    p.drawRect(QRectF(c.x() - 3, c.y() - 2.5, 6, 5.5));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kDark, 1.8, Qt::SolidLine, Qt::RoundCap));
  for (const QLineF& bar : s.Bars) p.drawLine(bar);
  p.setPen(QPen(kDark, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kPlate);
  for (const auto& plate : s.Plates) p.drawPolygon(plate.data(), 3);
  p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(s.Crank);
  std::vector<QPointF> joints(s.Ground);
  joints.push_back(s.Crank.p2());
  for (const QLineF& bar : s.Bars) joints.insert(joints.end(), {bar.p1(), bar.p2()});
  for (const auto& plate : s.Plates) joints.insert(joints.end(), plate.begin(), plate.end());
  for (const QPointF& j : joints)
    if (j != s.Coupler) DrawJoint(p, j);
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawEllipse(s.Coupler, 1.8, 1.8);
}

}  // namespace

bool ImageOfIndex(int index, int& type, int& state) {
  for (uint8_t t : kTypes) {
    const int base = TypeImageIndex(t);
    if (index >= base && index <= base + kImageMarked) {
      type = t;
      state = index - base;
      return true;
    }
  }
  return false;
}

QImage MechPicture(int type, int state, int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(side / 24.0, side / 24.0);
  if (state == kImageMarked) {
    // Marked (or the type button down): the picture on a highlight.
    p.setPen(QPen(kMarkEdge, 1.0));
    p.setBrush(kMarkFill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 3, 3);
  }
  DrawSketch(p, SketchOf(type));
  if (state == kImageOptimized) {
    p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(14.5, 18.5), QPointF(17.5, 21.5), QPointF(22.5, 14.5)}));
  }
  return image;
}

QIcon MechImage(int index, int side) {
  int type = 0;
  int state = 0;
  if (!ImageOfIndex(index, type, state)) return {};
  return QIcon(QPixmap::fromImage(MechPicture(type, state, side)));
}

QIcon ToolPicture(const QString& name) {
  const QString path = QStringLiteral(":/vesk/icons/") + name + QStringLiteral(".svg");
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

int PictureSide(const QFontMetrics& metrics) { return std::max(16, metrics.height()); }

}  // namespace vesk
