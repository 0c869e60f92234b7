#include "commands/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace terravue::gui {
namespace {

using C = app::CommandId;

// Every icon is drawn on a 24 x 24 grid and scaled by the icon engine.
constexpr int Side = 24;

const QColor Ink(40, 40, 48);
const QColor Paper(250, 250, 245);
const QColor Earth(150, 110, 60);
const QColor Grass(70, 140, 70);
const QColor Water(50, 110, 200);
const QColor Alert(200, 50, 40);
const QColor Metal(150, 155, 165);

QPen Pen(const QColor& colour, double width = 1.6) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Page(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(Paper);
  p.drawPolygon(QPolygonF({{5, 2}, {15, 2}, {19, 6}, {19, 22}, {5, 22}}));
  p.drawPolyline(QPolygonF({{15, 2}, {15, 6}, {19, 6}}));
}

void Folder(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(QColor(230, 190, 90));
  p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {22, 8}, {22, 20}, {2, 20}}));
}

void Disk(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(QColor(70, 90, 150));
  p.drawRect(QRectF(3, 3, 18, 18));
  p.setBrush(Paper);
  p.drawRect(QRectF(7, 3, 10, 7));
  p.setBrush(Metal);
  p.drawRect(QRectF(6, 14, 12, 7));
}

void Printer(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(Paper);
  p.drawRect(QRectF(7, 2, 10, 8));
  p.setBrush(Metal);
  p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
  p.setBrush(Paper);
  p.drawRect(QRectF(7, 15, 10, 7));
}

void Magnifier(QPainter& p, bool plus) {
  p.setPen(Pen(Ink, 2));
  p.setBrush(QColor(220, 235, 250));
  p.drawEllipse(QPointF(10, 10), 7, 7);
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  p.setPen(Pen(Ink, 1.8));
  p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
  if (plus) p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
}

void Mesh(QPainter& p) {
  const QPointF a(3, 20), b(12, 3), c(21, 19), d(12, 13);
  p.setPen(Pen(Earth, 1.4));
  const QPointF edges[][2] = {{a, b}, {b, c}, {c, a}, {a, d}, {b, d}, {c, d}};
  for (const auto& e : edges) p.drawLine(e[0], e[1]);
  p.setPen(Pen(Ink, 4));
  for (QPointF q : {a, b, c, d}) p.drawPoint(q);
}

void Contours(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(Earth, 1.4));
  p.drawEllipse(QPointF(12, 12), 9, 7);
  p.drawEllipse(QPointF(13, 12), 5.5, 4);
  p.setPen(Pen(Grass, 1.4));
  p.drawEllipse(QPointF(13.5, 12), 2, 1.5);
}

void Ruler(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(QColor(240, 220, 120));
  p.drawRect(QRectF(2, 8, 20, 8));
  for (int x = 5; x < 21; x += 3) p.drawLine(QPointF(x, 8), QPointF(x, x % 2 ? 12 : 11));
}

void Points(QPainter& p) {
  p.setPen(Pen(Metal, 1));
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.drawLine(QPointF(3, 21), QPointF(3, 3));
  p.setPen(Pen(Ink, 1.4));
  for (QPointF q : {QPointF(8, 8), QPointF(16, 6), QPointF(12, 15), QPointF(19, 16)}) {
    p.drawLine(q - QPointF(2, 2), q + QPointF(2, 2));
    p.drawLine(q - QPointF(2, -2), q + QPointF(2, -2));
  }
}

void Border(QPainter& p) {
  const QPolygonF ring({{4, 6}, {14, 3}, {21, 10}, {17, 21}, {5, 18}});
  p.setPen(Pen(Grass, 2));
  p.setBrush(QColor(200, 230, 200));
  p.drawPolygon(ring);
  p.setPen(Pen(Ink, 4));
  for (QPointF q : ring) p.drawPoint(q);
}

void Breakline(QPainter& p) {
  p.setPen(Pen(Alert, 2));
  p.drawPolyline(QPolygonF({{3, 19}, {10, 10}, {15, 14}, {21, 4}}));
  p.setPen(Pen(Ink, 4));
  for (QPointF q : {QPointF(3, 19), QPointF(10, 10), QPointF(15, 14), QPointF(21, 4)}) p.drawPoint(q);
}

void Exit(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(QColor(160, 110, 70));
  p.drawRect(QRectF(4, 2, 11, 20));
  p.setPen(Pen(Alert, 2));
  p.drawLine(QPointF(11, 12), QPointF(21, 12));
  p.drawPolyline(QPolygonF({{17, 8}, {21, 12}, {17, 16}}));
}

void Cad(QPainter& p) {
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(Paper);
  p.drawRect(QRectF(2, 4, 20, 16));
  p.setPen(Pen(Water, 1.4));
  p.drawLine(QPointF(5, 17), QPointF(12, 7));
  p.drawLine(QPointF(12, 7), QPointF(19, 17));
  p.drawLine(QPointF(5, 17), QPointF(19, 17));
  p.drawEllipse(QPointF(12, 13), 2.5, 2.5);
}

void PrinterSetup(QPainter& p) {
  Printer(p);
  p.setPen(Pen(Ink, 1.2));
  p.setBrush(QColor(240, 200, 60));
  p.drawEllipse(QPointF(18, 18), 4, 4);
}

void Pen_(QPainter& p) {
  p.setPen(Pen(Alert, 2.5));
  p.drawLine(QPointF(13, 22), QPointF(22, 13));
}

void Drop(QPainter& p) {
  QPainterPath path;
  path.moveTo(12, 2);
  path.cubicTo(12, 2, 20, 12, 20, 15);
  path.arcTo(QRectF(4, 7, 16, 16), 0, -180);
  path.cubicTo(4, 12, 12, 2, 12, 2);
  p.setPen(Pen(Water.darker(130), 1.2));
  p.setBrush(Water);
  p.drawPath(path);
}

void Watershed(QPainter& p) {
  p.setPen(Pen(Earth, 1.6));
  p.drawPolyline(QPolygonF({{2, 6}, {8, 16}, {12, 20}, {16, 16}, {22, 6}}));
  p.setPen(Pen(Water, 1.6));
  p.drawLine(QPointF(6, 8), QPointF(11, 17));
  p.drawLine(QPointF(18, 8), QPointF(13, 17));
}

void ElevationJump(QPainter& p) {
  p.setPen(Pen(Earth, 1.4));
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.setPen(Pen(Grass, 2));
  p.drawLine(QPointF(12, 20), QPointF(12, 4));
  p.drawPolyline(QPolygonF({{7, 9}, {12, 4}, {17, 9}}));
}

void QueryTriangle(QPainter& p) {
  p.setPen(Pen(Earth, 1.6));
  p.setBrush(QColor(240, 225, 190));
  p.drawPolygon(QPolygonF({{3, 20}, {12, 4}, {21, 20}}));
  p.setPen(Pen(Ink, 1.6));
  p.setFont(QFont(QStringLiteral("Sans"), 9, QFont::Bold));
  p.drawText(QRectF(3, 8, 18, 12), Qt::AlignCenter, QStringLiteral("?"));
}

void TextOutput(QPainter& p) {
  Page(p);
  p.setPen(Pen(Ink, 1));
  for (int y = 9; y <= 19; y += 3) p.drawLine(QPointF(8, y), QPointF(16, y));
}

void Vectors(QPainter& p) {
  p.setPen(Pen(Alert, 1.6));
  p.drawLine(QPointF(3, 19), QPointF(19, 5));
  p.drawPolyline(QPolygonF({{13, 5}, {19, 5}, {19, 11}}));
  p.setPen(Pen(Ink, 1.6));
  p.drawLine(QPointF(6, 8), QPointF(16, 18));
  p.drawLine(QPointF(16, 8), QPointF(6, 18));
}

using Painter = void (*)(QPainter&);

Painter PainterFor(C id) {
  switch (id) {
    case C::Exit: return Exit;
    case C::New: return Page;
    case C::OpenSurface: return Folder;
    case C::SaveSurface: return Disk;
    case C::SaveSurfaceAs: return [](QPainter& p) { Disk(p); Pen_(p); };
    case C::PrintSetup: return PrinterSetup;
    case C::Print: return Printer;
    case C::OutputToCad: return Cad;
    case C::Triangulate: return Mesh;
    case C::MapOptions: return Contours;
    case C::SetScale: return Ruler;
    case C::ZoomIn: return [](QPainter& p) { Magnifier(p, true); };
    case C::ZoomOut: return [](QPainter& p) { Magnifier(p, false); };
    case C::SelectCoordinateEditor: return Points;
    case C::SelectBorderEditor: return Border;
    case C::SelectBreaklineEditor: return Breakline;
    case C::AnalyzerContourLine: return Contours;
    case C::AnalyzerElevationJump: return ElevationJump;
    case C::AnalyzerQueryTriangle: return QueryTriangle;
    case C::AnalyzerTextOutput: return TextOutput;
    case C::AnalyzerWaterDrop: return Drop;
    case C::AnalyzerWatershed: return Watershed;
    case C::AnalyzerVectorAccumulator: return Vectors;
    default: return nullptr;
  }
}

QIcon Draw(Painter painter) {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(static_cast<double>(size) / Side, static_cast<double>(size) / Side);
    painter(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void Program(QPainter& p) {
  p.setPen(Pen(Ink, 1));
  p.setBrush(QColor(235, 245, 230));
  p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
  Contours(p);
  p.setPen(Pen(Alert, 1.2));
  p.drawLine(QPointF(12, 4), QPointF(12, 20));
  p.drawLine(QPointF(4, 12), QPointF(20, 12));
}

}  // namespace

QIcon CommandIcon(app::CommandId id) {
  const Painter painter = PainterFor(id);
  return painter ? Draw(painter) : QIcon();
}

QIcon ProgramIcon() { return Draw(Program); }

}  // namespace terravue::gui
