#pragma once

#include <gtest/gtest.h>

#include "common/Dialogs.h"

// Stands in for the operator of work that must be silent: any box or file dialog fails the
// running test, also when the code under test swallows every failure around it.
class NoDialogs : public dialogs::Dialogs {
 public:
  NoDialogs() { dialogs::install(this); }
  ~NoDialogs() override { dialogs::install(nullptr); }
  NoDialogs(const NoDialogs&) = delete;
  NoDialogs& operator=(const NoDialogs&) = delete;

  void message(dialogs::BoxKind, const QString& caption, const QString& text) override {
    ADD_FAILURE() << "a box appeared: " << caption.toStdString() << ": " << text.toStdString();
  }

  bool confirm(const QString& caption, const QString& text) override {
    ADD_FAILURE() << "a question appeared: " << caption.toStdString() << ": " << text.toStdString();
    return false;
  }

  dialogs::FileChoice openFile(const QString& initialDir, const QStringList&, int) override {
    ADD_FAILURE() << "a file dialog appeared in " << initialDir.toStdString();
    return {};
  }
};
