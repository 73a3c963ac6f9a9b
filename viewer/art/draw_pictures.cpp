// Draws the pictures delivered beside ktviewer: the logo (logo.jpg), the
// slogan strip (slo.jpg) and the pointing cursor of the tree boxes
// (select.png), and the program icon (ktviewer.png). Usage: ktviewer_draw_pictures OUTPUT_FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kOrange(255, 153, 0);
const QColor kTeal(42, 139, 158);
const QColor kBand(0, 102, 127);

// A small tree of three generations: one box, two, four, joined by lines.
void DrawTreeMark(QPainter& p, QRectF area) {
  p.setPen(QPen(kTeal, 2));
  const double w = area.width(), h = area.height();
  auto box = [&](double x, double y) {
    p.setBrush(Qt::white);
    p.setPen(QPen(kOrange, 2));
    p.drawRect(QRectF(area.left() + x * w - 5, area.top() + y * h - 4, 10, 8));
  };
  p.setPen(QPen(kTeal, 2));
  for (double y : {0.25, 0.75})
    p.drawLine(QPointF(area.left() + 0.15 * w, area.top() + 0.5 * h),
               QPointF(area.left() + 0.5 * w, area.top() + y * h));
  for (double y : {0.12, 0.38, 0.62, 0.88})
    p.drawLine(QPointF(area.left() + 0.5 * w, area.top() + (y < 0.5 ? 0.25 : 0.75) * h),
               QPointF(area.left() + 0.85 * w, area.top() + y * h));
  box(0.15, 0.5);
  for (double y : {0.25, 0.75}) box(0.5, y);
  for (double y : {0.12, 0.38, 0.62, 0.88}) box(0.85, y);
}

bool DrawLogo(const QString& path) {
  QImage image(180, 63, QImage::Format_RGB32);
  image.fill(QColor(238, 238, 238));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  DrawTreeMark(p, QRectF(4, 4, 52, 55));
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(kTeal);
  p.drawText(QRectF(60, 4, 118, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kintrail"));
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(13);
  p.setFont(small);
  p.setPen(kOrange);
  p.drawText(QRectF(62, 38, 116, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Viewer"));
  p.end();
  return image.save(path, "JPG", 92);
}

bool DrawSlogan(const QString& path) {
  QImage image(182, 16, QImage::Format_RGB32);
  image.fill(kBand);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  font.setItalic(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("share your family history"));
  p.end();
  return image.save(path, "JPG", 92);
}

// The program icon: the tree mark on a white rounded square.
bool DrawIcon(const QString& path) {
  QImage image(64, 64, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kTeal, 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  DrawTreeMark(p, QRectF(8, 8, 48, 48));
  p.end();
  return image.save(path, "PNG");
}

// An arrow with a small tree box at its tail; the hot spot is the arrow's
// tip at (1, 1).
bool DrawCursor(const QString& path) {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(1, 1);
  arrow.lineTo(1, 20);
  arrow.lineTo(6, 15);
  arrow.lineTo(10, 24);
  arrow.lineTo(13, 22);
  arrow.lineTo(9, 14);
  arrow.lineTo(16, 14);
  arrow.closeSubpath();
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  p.setPen(QPen(kOrange, 2));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(17, 19, 12, 9));
  p.setPen(QPen(kTeal, 2));
  p.drawLine(QPointF(20, 23.5), QPointF(26, 23.5));
  p.end();
  return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
  const bool ok = DrawLogo(folder + QStringLiteral("logo.jpg")) &&
                  DrawSlogan(folder + QStringLiteral("slo.jpg")) &&
                  DrawCursor(folder + QStringLiteral("select.png")) &&
                  DrawIcon(folder + QStringLiteral("ktviewer.png"));
  if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
