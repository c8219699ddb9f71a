#pragma once

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace tavrel::test {

// Follows a label through a run. `shown` gets its text each time the window's pending events
// run with a text it did not hold the time before (from the text it held when watched): after every
// line of an import, the moments a clerk's click could come. `painted` gets its text each time it
// is painted with a text it did not hold the time before. An action given to when() runs once, the
// first time the label is shown with that text.
class LabelWatch : public QObject {
 public:
  explicit LabelWatch(QLabel* label) : label_(label), last_(label->text()) {
    label->installEventFilter(this);
    connect(&eachPass_, &QTimer::timeout, this, [this] { look(); });
    eachPass_.start(0);
  }

  void when(const QString& text, std::function<void()> action) {
    actions_.insert(text, std::move(action));
  }

  QStringList shown;
  QStringList painted;
  // Told each text as it is shown.
  std::function<void(const QString&)> onShown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Paint &&
        (painted.isEmpty() || painted.back() != label_->text())) {
      painted << label_->text();
    }
    return false;
  }

 private:
  void look() {
    const QString text = label_->text();
    if (text == last_) return;
    last_ = text;
    shown << text;
    if (onShown) onShown(text);
    if (const auto action = actions_.find(text); action != actions_.end()) {
      const std::function<void()> run = action.value();
      actions_.erase(action);
      run();
    }
  }

  QLabel* label_;
  QString last_;
  QTimer eachPass_;
  QHash<QString, std::function<void()>> actions_;
};

}  // namespace tavrel::test
