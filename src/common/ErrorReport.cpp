#include "common/ErrorReport.h"

#include "common/Dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <exception>

QString ApplicationTitle(const QString& executablePath) {
  const QString name = QFileInfo(executablePath).fileName().section(u'.', 0, 0);
  if (name.isEmpty()) return name;
  return name.left(1) + name.mid(1).toLower();
}

QString ReportText(const QString& failure) {
  if (!failure.isEmpty() && failure.back() > u'.') return failure + u'.';
  return failure;
}

void ReportFailure(const QString& failure) {
  dialogs::current().message(dialogs::BoxKind::Error,
                             ApplicationTitle(QCoreApplication::applicationFilePath()),
                             ReportText(failure));
}

void Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    // Every exception of the program carries its QString as UTF-8 in what().
    ReportFailure(QString::fromUtf8(e.what()));
  } catch (...) {
    ReportFailure(QStringLiteral("Erro desconhecido"));
  }
}
