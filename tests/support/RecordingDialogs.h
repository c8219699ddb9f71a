#pragma once

#include "common/Dialogs.h"

#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <vector>

// Stands in for the operator while it lives: records every box and every file dialog, and
// answers the confirmations and the file dialogs from queues that the test fills beforehand.
class RecordingDialogs : public dialogs::Dialogs {
 public:
  struct Box {
    dialogs::BoxKind kind;
    QString caption;
    QString text;

    bool operator==(const Box&) const = default;
    friend void PrintTo(const Box& box, std::ostream* out) {
      *out << "{kind " << static_cast<int>(box.kind) << ", \"" << box.caption.toStdString()
           << "\", \"" << box.text.toStdString() << "\"}";
    }
  };

  struct FileRequest {
    QString initialDir;
    QStringList filters;
    int filterIndex;

    bool operator==(const FileRequest&) const = default;
  };

  RecordingDialogs() { dialogs::install(this); }
  ~RecordingDialogs() override { dialogs::install(nullptr); }
  RecordingDialogs(const RecordingDialogs&) = delete;
  RecordingDialogs& operator=(const RecordingDialogs&) = delete;

  void message(dialogs::BoxKind kind, const QString& caption, const QString& text) override {
    boxes.push_back({kind, caption, text});
    if (onBox) onBox(boxes.back());
  }

  bool confirm(const QString& caption, const QString& text) override {
    boxes.push_back({dialogs::BoxKind::Confirmation, caption, text});
    if (confirmAnswers.empty()) throw std::logic_error("the test queued no answer for a question");
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

  dialogs::FileChoice openFile(const QString& initialDir, const QStringList& filters,
                               int filterIndex) override {
    fileRequests.push_back({initialDir, filters, filterIndex});
    if (fileAnswers.empty()) throw std::logic_error("the test queued no answer for a file dialog");
    const dialogs::FileChoice answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }

  std::vector<Box> boxes;
  // Runs while the box is up, before the operator's OK: what happens meanwhile.
  std::function<void(const Box&)> onBox;
  std::vector<FileRequest> fileRequests;
  std::deque<dialogs::FileChoice> fileAnswers;
  std::deque<bool> confirmAnswers;  // true: OK
};
