#pragma once

#include <QColor>
#include <QPushButton>

// A push button that lights up under the mouse pointer: hot-track face, highlight frame and
// text in the button-face colour.
class HotTrackButton : public QPushButton {
  Q_OBJECT

 public:
  static inline const QColor kHotTrack{255, 199, 60};
  static inline const QColor kHighlight{106, 141, 244};

  using QPushButton::QPushButton;

  bool isHot() const { return hot_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool hot_ = false;
};
