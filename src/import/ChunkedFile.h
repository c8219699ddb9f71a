#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file read front to back in pieces of bounded size, so that files of any size are read in
// constant memory. Failures throw AppError with the file's name and the system's reason.
class ChunkedFile {
 public:
  explicit ChunkedFile(const QString& path);

  // The next bytes of the file, at most chunkSize of them; empty at the end.
  QByteArray next();

  static constexpr qint64 chunkSize = 64 * 1024;

 private:
  QFile file_;
};
