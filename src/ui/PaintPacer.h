#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Lays out and paints a widget whose content changes faster than a screen can show, at most
// once a frame: measuring and drawing text for every line of a large import would cost as much
// as the import's own work, and nobody sees more than one frame. Between frames the widget
// holds back its layout and its children's updates. Its present content is shown when a box
// blocks its window (the operator reads the box against it) and when the pacer goes.
class PaintPacer : public QObject {
 public:
  explicit PaintPacer(QWidget* widget);
  ~PaintPacer() override;

  // After new content: shows it now when a frame has passed since it was last shown.
  void changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void show();
  void holdBack();

  QPointer<QWidget> widget_;
  QPointer<QWidget> window_;
  QElapsedTimer sinceShown_;
  bool blocked_ = false;
};
