#pragma once

#include "common/Dialogs.h"

#include <memory>

class QFileDialog;
class QMessageBox;

// The program's dialogs: Qt message boxes and Qt's file dialog, which is the platform's own
// dialog where the platform has one (Windows) and Qt's widget dialog elsewhere.
class QtDialogs : public dialogs::Dialogs {
 public:
  void message(dialogs::BoxKind kind, const QString& caption, const QString& text) override;
  bool confirm(const QString& caption, const QString& text) override;
  dialogs::FileChoice openFile(const QString& initialDir, const QStringList& filters,
                               int filterIndex) override;

  // The boxes before they are shown, so their caption, icon and buttons can be checked; a
  // confirmation has "Cancel" besides "OK".
  static std::unique_ptr<QMessageBox> BuildMessageBox(dialogs::BoxKind kind, const QString& caption,
                                                      const QString& text);
  static std::unique_ptr<QFileDialog> BuildFileDialog(const QString& initialDir,
                                                      const QStringList& filters, int filterIndex);
};
