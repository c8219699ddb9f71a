#include "import/LineCount.h"

#include "import/ChunkedFile.h"

qint64 countLines(const QString& path) {
  ChunkedFile file(path);
  qint64 breaks = 0;
  bool afterCR = false;  // a CR LF pair may straddle two chunks
  bool endsInBreak = true;
  for (QByteArray chunk = file.next(); !chunk.isEmpty(); chunk = file.next()) {
    for (const char c : chunk) {
      if (c == '\r' || (c == '\n' && !afterCR)) ++breaks;
      afterCR = c == '\r';
      endsInBreak = c == '\r' || c == '\n';
    }
  }
  return endsInBreak ? breaks : breaks + 1;
}
