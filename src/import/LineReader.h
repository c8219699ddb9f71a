#pragma once

#include "import/ChunkedFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a campaign file line by line, as raw bytes. A line ends at LF or CR LF and its break
// is not part of it; a lone CR is part of the line. Memory holds one chunk and the line being
// read. Throws AppError when the file cannot be opened or read.
class LineReader {
 public:
  explicit LineReader(const QString& path);

  // The next line, or nothing after the last one; a break at the very end adds no line.
  std::optional<QByteArray> readLine();

 private:
  bool fill();

  ChunkedFile file_;
  QByteArray chunk_;
  qsizetype position_ = 0;
};
