#pragma once

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QObject>
#include <QStringList>

#include <functional>

namespace tavrel::test {

// Records a label's text each time it is painted, and runs an action once when it first paints
// a given text: the moment the operator sees it.
class LabelWatch : public QObject {
 public:
  explicit LabelWatch(QLabel* label) : label_(label) { label->installEventFilter(this); }

  void when(const QString& text, std::function<void()> action) {
    actions_.insert(text, std::move(action));
  }

  QStringList painted;
  // Told each text as it is painted, once for a run of the same text.
  std::function<void(const QString&)> onPaint;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Paint) {
      if (painted.isEmpty() || painted.back() != label_->text()) {
        painted << label_->text();
        if (onPaint) onPaint(painted.back());
      }
      if (const auto action = actions_.find(label_->text()); action != actions_.end()) {
        const std::function<void()> run = action.value();
        actions_.erase(action);
        run();
      }
    }
    return false;
  }

 private:
  QLabel* label_;
  QHash<QString, std::function<void()>> actions_;
};

}  // namespace tavrel::test
