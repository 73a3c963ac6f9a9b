#pragma once
// The small widgets the viewer's windows are drawn with: text boxes that
// report clicks and mouse movement, filled rectangles (frames, connectors,
// bands) and clickable pictures.
#include <QColor>
#include <QLabel>
#include <QWidget>

namespace ktviewer {

// A text label showing an individual; reports clicks and mouse movement.
class TreeBox : public QLabel {
  Q_OBJECT
 public:
  explicit TreeBox(QWidget* parent = nullptr);

  // Plain text with CR LF line ends, as the tree logic writes it.
  void SetBoxText(const QString& text);
  // The highlight: italic text in RGB(64, 64, 128), or regular black.
  void SetHighlighted(bool on);
  bool IsHighlighted() const { return highlighted_; }

 signals:
  void Clicked();
  void MouseMoved();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // A summary keeps its four lines, each cut with "..." where it is too
  // wide; a role text wraps.
  void paintEvent(QPaintEvent* event) override;

 private:
  bool highlighted_ = false;
};

// A filled rectangle with an optional border, drawn inside its geometry.
class FilledShape : public QWidget {
  Q_OBJECT
 public:
  explicit FilledShape(QColor fill, QColor border = QColor(), int borderWidth = 0,
                       QWidget* parent = nullptr);
  void SetColours(QColor fill, QColor border);
  QColor FillColour() const { return fill_; }
  QColor BorderColour() const { return border_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_, border_;
  int borderWidth_;
};

// A picture (or text) label that reports clicks.
class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void Clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// The background of a window: reports mouse movement over itself.
class Canvas : public QWidget {
  Q_OBJECT
 public:
  explicit Canvas(QColor background, QWidget* parent = nullptr);
 signals:
  void MouseMoved();
  void Resized();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace ktviewer
