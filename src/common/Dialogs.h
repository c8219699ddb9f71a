#pragma once

#include <QString>
#include <QStringList>

// The one seam through which the program shows message boxes and the file-open dialog.
// The program installs a Qt implementation; tests install one that records and answers.
namespace dialogs {

enum class BoxKind { Warning, Information, Error, Confirmation };

struct FileChoice {
  bool confirmed = false;
  QString path;
  int filterIndex = 1;  // 1-based entry of the filter list in use when the dialog closed
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box with one "OK" button; returns when the operator dismisses it.
  virtual void message(BoxKind kind, const QString& caption, const QString& text) = 0;
  // A confirmation box with the buttons "OK" and "Cancel"; true when the operator chose OK.
  virtual bool confirm(const QString& caption, const QString& text) = 0;
  // filters: pairs of description and pattern, e.g. {"TXT", "*.txt", "CSV", "*.csv"}.
  virtual FileChoice openFile(const QString& initialDir, const QStringList& filters,
                              int filterIndex) = 0;
};

// The installed implementation; the caller keeps ownership. Installing nullptr restores none.
void install(Dialogs* implementation);
Dialogs& current();

// Boxes captioned by their kind, as every message of the program but the database errors.
void ShowWarning(const QString& text);
void ShowInformation(const QString& text);
void ShowError(const QString& text);
// The toolkit's own question, captioned "Confirm".
bool Confirm(const QString& text);

}  // namespace dialogs
