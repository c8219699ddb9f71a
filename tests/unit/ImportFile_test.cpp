#include "common/AppError.h"
#include "import/ChunkedFile.h"
#include "import/LineCount.h"
#include "import/LineReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ImportFile : public ::testing::Test {
 protected:
  QString write(const QByteArray& content) {
    const QString path = dir_.filePath("campanha.txt");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(file.write(content), content.size());
    return path;
  }

  static QList<QByteArray> readAll(const QString& path) {
    QList<QByteArray> lines;
    LineReader reader(path);
    while (const std::optional<QByteArray> line = reader.readLine()) lines.append(*line);
    return lines;
  }

  QTemporaryDir dir_;
};

const qsizetype kChunk = ChunkedFile::chunkSize;

}  // namespace

// The count (for progress) ends lines at a lone CR too; the reader does not.
TEST_F(ImportFile, CountAndReadLines) {
  const QByteArray longLine(10 * 1024 * 1024, 'L');
  const QByteArray fill(kChunk - 1, 'x');
  const struct {
    const char* name;
    QByteArray content;
    qint64 count;
    QList<QByteArray> lines;
  } cases[] = {
      {"empty file", "", 0, {}},
      {"LF", "a\nb\n", 2, {"a", "b"}},
      {"CR LF", "a\r\nb\r\n", 2, {"a", "b"}},
      {"no break at the end", "a\r\nb", 2, {"a", "b"}},
      {"CR only", "a\rb\r", 2, {"a\rb\r"}},
      {"CR before CR LF", "a\r\r\nb", 3, {"a\r", "b"}},
      {"only a break", "\n", 1, {""}},
      {"blank lines", "\n\r\n\n", 3, {"", "", ""}},
      {"bytes as they are",
       QByteArray("\xEF\xBB\xBF"
                  "a\n\xFF\0b\n",
                  9),
       2,
       {"\xEF\xBB\xBF"
        "a",
        QByteArray("\xFF\0b", 3)}},
      {"CR LF across chunks", fill + "\r\ny", 2, {fill, "y"}},
      {"CR at the end of a chunk", fill + "\ry", 2, {fill + "\ry"}},
      {"LF at the start of a chunk", fill + "z\ny", 2, {fill + "z", "y"}},
      {"long line", longLine + "\r\nend", 2, {longLine, "end"}},
  };
  for (const auto& c : cases) {
    const QString path = write(c.content);
    EXPECT_EQ(countLines(path), c.count) << c.name;
    EXPECT_EQ(readAll(path), c.lines) << c.name;
  }
}

TEST_F(ImportFile, MissingFileOrFolderIsAnError) {
  for (const QString& path : {dir_.filePath("nada.txt"), dir_.path()}) {
    EXPECT_THROW(countLines(path), AppError) << path.toStdString();
    try {
      LineReader reader(path);
      ADD_FAILURE() << "opened " << path.toStdString();
    } catch (const AppError& e) {
      EXPECT_TRUE(e.message().startsWith("Cannot open file")) << e.message().toStdString();
      EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path)));
    }
  }
}
