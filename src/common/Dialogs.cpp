#include "common/Dialogs.h"

#include <stdexcept>

namespace dialogs {

namespace {
Dialogs* installed = nullptr;
}

void install(Dialogs* implementation) {
  installed = implementation;
}

Dialogs& current() {
  if (installed == nullptr) throw std::logic_error("no dialogs implementation installed");
  return *installed;
}

void ShowWarning(const QString& text) {
  current().message(BoxKind::Warning, "Warning", text);
}

void ShowInformation(const QString& text) {
  current().message(BoxKind::Information, "Information", text);
}

void ShowError(const QString& text) {
  current().message(BoxKind::Error, "Error", text);
}

bool Confirm(const QString& text) {
  return current().confirm("Confirm", text);
}

}  // namespace dialogs
