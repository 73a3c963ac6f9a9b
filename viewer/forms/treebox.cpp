#include "treebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace ktviewer {

TreeBox::TreeBox(QWidget* parent) : QLabel(parent) {
  setMouseTracking(true);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, palette().color(QPalette::Base));
  colours.setColor(QPalette::WindowText, QColor(0, 0, 0));
  setPalette(colours);
  setContentsMargins(2, 1, 2, 1);
}

void TreeBox::SetBoxText(const QString& text) {
  QString shown = text;
  shown.remove(u'\r');
  if (shown.endsWith(u'\n')) shown.chop(1);
  setText(shown);
}

void TreeBox::SetHighlighted(bool on) {
  highlighted_ = on;
  QFont boxFont = font();
  boxFont.setItalic(on);
  setFont(boxFont);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, on ? QColor(64, 64, 128) : QColor(0, 0, 0));
  setPalette(colours);
}

void TreeBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setFont(font());
  const QRect area = contentsRect();
  const QString shown = text();
  if (!shown.contains(u'\n')) {
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
    return;
  }
  const QFontMetrics metrics(font());
  int y = area.top();
  for (const QString& line : shown.split(u'\n')) {
    painter.drawText(QRect(area.left(), y, area.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop,
                     metrics.elidedText(line, Qt::ElideRight, area.width()));
    y += metrics.height();
  }
}

void TreeBox::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) emit Clicked();
}

void TreeBox::mouseMoveEvent(QMouseEvent* event) {
  // Taken here: passed on, the window background would remove the highlight.
  event->accept();
  emit MouseMoved();
}

FilledShape::FilledShape(QColor fill, QColor border, int borderWidth, QWidget* parent)
    : QWidget(parent), fill_(fill), border_(border), borderWidth_(borderWidth) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FilledShape::SetColours(QColor fill, QColor border) {
  fill_ = fill;
  border_ = border;
  update();
}

void FilledShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), borderWidth_ > 0 ? border_ : fill_);
  if (borderWidth_ > 0)
    painter.fillRect(rect().adjusted(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_),
                     fill_);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Clicked();
  QLabel::mousePressEvent(event);
}

Canvas::Canvas(QColor background, QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, background);
  setPalette(colours);
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved();
  QWidget::mouseMoveEvent(event);
}

void Canvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
}

}  // namespace ktviewer
