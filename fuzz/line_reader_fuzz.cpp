#include "FuzzSupport.h"

#include "import/ChunkedFile.h"
#include "import/LineCount.h"
#include "import/LineReader.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

namespace {

// The first input byte may put a filler in front of the rest, so that the rest straddles the
// end of the first chunk: inputs are far shorter than a chunk.
QByteArray fileBytes(const QByteArray& input) {
  if (input.isEmpty()) return input;
  const auto first = static_cast<unsigned char>(input.front());
  const QByteArray rest = input.sliced(1);
  if (first < 0x80) return rest;
  return QByteArray(ChunkedFile::chunkSize - (first & 0x7F), 'x') + rest;
}

QString writtenFile(const QByteArray& bytes) {
  // In the current folder, the run's own: an abort skips the removal.
  static const QTemporaryDir dir(QStringLiteral("tavrel-lines-XXXXXX"));
  const QString path = dir.filePath(QStringLiteral("campanha.txt"));
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  FUZZ_CHECK(file.write(bytes) == bytes.size());
  return path;
}

// The lines with their breaks must give the file back: each line followed by LF or CR LF,
// the last maybe by nothing, a line never holding an LF, and a line followed by a bare LF
// never ending in the CR the reader should have dropped.
void checkRebuilds(const QByteArray& bytes, const QList<QByteArray>& lines) {
  qsizetype at = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray& line = lines.at(i);
    FUZZ_CHECK(!line.contains('\n'));
    FUZZ_CHECK(bytes.sliced(at).startsWith(line));
    at += line.size();
    if (at == bytes.size()) {
      FUZZ_CHECK(i == lines.size() - 1 && !line.isEmpty());
    } else if (bytes.at(at) == '\n') {
      FUZZ_CHECK(!line.endsWith('\r'));
      at += 1;
    } else {
      FUZZ_CHECK(bytes.sliced(at).startsWith("\r\n"));
      at += 2;
    }
  }
  FUZZ_CHECK(at == bytes.size());
}

// countLines also ends a line at a lone CR, which the reader keeps inside its line; a CR that
// ends the file adds no line.
qint64 expectedCount(const QByteArray& bytes, const QList<QByteArray>& lines) {
  qint64 count = lines.size();
  for (const QByteArray& line : lines) count += line.count('\r');
  if (!lines.isEmpty() && bytes.endsWith(lines.back()) && lines.back().endsWith('\r')) --count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = fileBytes(fuzzBytes(data, size));
  const QString path = writtenFile(bytes);

  QList<QByteArray> lines;
  LineReader reader(path);
  while (const std::optional<QByteArray> line = reader.readLine()) lines.append(*line);
  FUZZ_CHECK(!reader.readLine());

  checkRebuilds(bytes, lines);
  const qint64 counted = countLines(path);
  FUZZ_CHECK(lines.size() <= counted);
  FUZZ_CHECK(counted == expectedCount(bytes, lines));
  return 0;
}
