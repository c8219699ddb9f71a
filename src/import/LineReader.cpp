#include "import/LineReader.h"

LineReader::LineReader(const QString& path) : file_(path) {}

std::optional<QByteArray> LineReader::readLine() {
  if (!fill()) return std::nullopt;
  QByteArray line;
  do {
    const qsizetype lf = chunk_.indexOf('\n', position_);
    if (lf >= 0) {
      line.append(QByteArrayView(chunk_).sliced(position_, lf - position_));
      position_ = lf + 1;
      // Only here, once the whole line is held: its CR may have ended the previous chunk.
      if (line.endsWith('\r')) line.chop(1);
      return line;
    }
    line.append(QByteArrayView(chunk_).sliced(position_));
    position_ = chunk_.size();
  } while (fill());
  return line;
}

// Makes unread bytes available; false at the end of the file.
bool LineReader::fill() {
  if (position_ < chunk_.size()) return true;
  chunk_ = file_.next();
  position_ = 0;
  return !chunk_.isEmpty();
}
