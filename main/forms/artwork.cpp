#include "forms/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace artwork {
namespace {

const QColor Green(0x2E, 0x7D, 0x32);
const QColor Leaf(0x66, 0xBB, 0x6A);
const QColor Bark(0x6D, 0x4C, 0x41);
const QColor Grey(0x9E, 0x9E, 0x9E);

// A small family tree: a trunk, two branches and three leaves of `leaf`.
void DrawTree(QPainter& p, const QRectF& box, const QColor& leaf) {
  const double w = box.width(), h = box.height();
  const double x = box.left(), y = box.top();
  p.setPen(QPen(Bark, w * 0.08, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x + w * 0.5, y + h * 0.95), QPointF(x + w * 0.5, y + h * 0.45));
  p.drawLine(QPointF(x + w * 0.5, y + h * 0.6), QPointF(x + w * 0.25, y + h * 0.35));
  p.drawLine(QPointF(x + w * 0.5, y + h * 0.6), QPointF(x + w * 0.75, y + h * 0.35));
  p.setPen(Qt::NoPen);
  p.setBrush(leaf);
  const double r = w * 0.17;
  p.drawEllipse(QPointF(x + w * 0.25, y + h * 0.3), r, r);
  p.drawEllipse(QPointF(x + w * 0.75, y + h * 0.3), r, r);
  p.drawEllipse(QPointF(x + w * 0.5, y + h * 0.2), r * 1.2, r * 1.2);
}

QPixmap Canvas(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QIcon TreeIcon(const QColor& leaf) {
  QPixmap pixmap = Canvas(32, 32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawTree(p, QRectF(2, 2, 28, 28), leaf);
  return QIcon(pixmap);
}

QIcon GlyphIcon(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap = Canvas(32, 32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return QIcon(pixmap);
}

}  // namespace

QPixmap Logo(int width, int height) {
  QPixmap pixmap = Canvas(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawTree(p, QRectF(4, 4, height - 8, height - 8), Leaf);
  QFont font("Sans Serif");
  font.setPixelSize(height * 5 / 10);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Green);
  p.drawText(QRectF(height + 4, 0, width - height - 4, height), Qt::AlignVCenter | Qt::AlignLeft,
             "Kintrail");
  return pixmap;
}

QPixmap ApplicationIcon(int size) {
  QPixmap pixmap = Canvas(size, size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, size);
  background.setColorAt(0, QColor(0xE8, 0xF5, 0xE9));
  background.setColorAt(1, QColor(0xC8, 0xE6, 0xC9));
  p.setPen(QPen(Green, size / 32.0));
  p.setBrush(background);
  p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
  DrawTree(p, QRectF(size * 0.12, size * 0.1, size * 0.76, size * 0.8), Leaf);
  return pixmap;
}

std::vector<QIcon> ImageList() {
  std::vector<QIcon> images;
  images.push_back(GlyphIcon([](QPainter& p) {  // news: a page with lines
    p.setPen(QPen(Grey, 2));
    p.setBrush(Qt::white);
    p.drawRect(6, 4, 20, 24);
    for (int y = 10; y <= 22; y += 4) p.drawLine(10, y, 22, y);
  }));
  images.push_back(GlyphIcon([](QPainter& p) {  // world search: a globe
    p.setPen(QPen(QColor(0x15, 0x65, 0xC0), 2));
    p.setBrush(QColor(0xBB, 0xDE, 0xFB));
    p.drawEllipse(4, 4, 24, 24);
    p.drawEllipse(11, 4, 10, 24);
    p.drawLine(4, 16, 28, 16);
  }));
  images.push_back(GlyphIcon([](QPainter& p) {  // advanced search: a magnifier
    p.setPen(QPen(QColor(0x42, 0x42, 0x42), 3));
    p.setBrush(QColor(0xE3, 0xF2, 0xFD));
    p.drawEllipse(5, 5, 15, 15);
    p.drawLine(18, 18, 27, 27);
  }));
  images.push_back(TreeIcon(QColor(0xFF, 0xA7, 0x26)));  // shared gedcoms
  images.push_back(TreeIcon(Leaf));                      // online
  images.push_back(TreeIcon(Grey));                      // offline
  images.push_back(GlyphIcon([](QPainter& p) {           // requests: an envelope
    p.setPen(QPen(QColor(0x5D, 0x40, 0x37), 2));
    p.setBrush(QColor(0xFF, 0xF8, 0xE1));
    p.drawRect(4, 8, 24, 17);
    p.drawLine(4, 8, 16, 18);
    p.drawLine(28, 8, 16, 18);
  }));
  return images;
}

}  // namespace artwork
