#include "import/ChunkedFile.h"

#include "common/AppError.h"

#include <QDir>

ChunkedFile::ChunkedFile(const QString& path) : file_(path) {
  if (!file_.open(QIODevice::ReadOnly)) {
    throw AppError(QStringLiteral("Cannot open file \"%1\". %2")
                       .arg(QDir::toNativeSeparators(path), file_.errorString()));
  }
}

QByteArray ChunkedFile::next() {
  QByteArray chunk(chunkSize, Qt::Uninitialized);
  const qint64 read = file_.read(chunk.data(), chunkSize);
  if (read < 0) {
    throw AppError(QStringLiteral("Cannot read file \"%1\". %2")
                       .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString()));
  }
  chunk.truncate(read);
  return chunk;
}
