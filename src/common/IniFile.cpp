#include "common/IniFile.h"

#include "common/AppError.h"
#include "common/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

enum class Encoding { Windows1252, Utf8, Utf8WithBom };

struct Content {
  QString text;
  Encoding encoding = Encoding::Windows1252;
};

Content decode(const QByteArray& bytes) {
  if (bytes.startsWith(kUtf8Bom)) {
    return {QString::fromUtf8(bytes.sliced(kUtf8Bom.size())), Encoding::Utf8WithBom};
  }
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char b) { return static_cast<unsigned char>(b) < 0x80; });
  if (!ascii) {
    // Stateless, so that a sequence cut at the end of the file counts as an error too.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return {text, Encoding::Utf8};
  }
  return {win1252::decode(bytes), Encoding::Windows1252};
}

QByteArray encode(const QString& text, Encoding encoding) {
  if (encoding == Encoding::Windows1252) {
    // Bytes that happen to form valid UTF-8 would read back as other text.
    QByteArray bytes = win1252::encode(text);
    if (decode(bytes).text == text) return bytes;
    encoding = Encoding::Utf8;
  }
  return (encoding == Encoding::Utf8WithBom ? kUtf8Bom : QByteArray()) + text.toUtf8();
}

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text) {
  while (!text.isEmpty() && isBlank(text.front())) text = text.sliced(1);
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  return text;
}

bool isQuoted(QStringView text) {
  return text.size() >= 2 && text.front() == text.back() &&
         (text.front() == u'"' || text.front() == u'\'');
}

QString unquoted(QStringView value) {
  return (isQuoted(value) ? value.sliced(1, value.size() - 2) : value).toString();
}

QString quotedIfNeeded(const QString& value) {
  const bool lossy = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
  return lossy || isQuoted(value) ? u'"' + value + u'"' : value;
}

std::optional<QStringView> sectionName(QStringView trimmedLine) {
  if (!trimmedLine.startsWith(u'[')) return std::nullopt;
  const qsizetype close = trimmedLine.indexOf(u']');
  if (close < 0) return std::nullopt;
  return trimBlanks(trimmedLine.sliced(1, close - 1));
}

// Where a key stands, or would go, in the text of a file.
struct Place {
  bool sectionFound = false;
  qsizetype sectionEnd = 0;  // just past the last non-blank line of the section
  bool sectionEndsLine = false;
  bool keyFound = false;
  qsizetype valueStart = 0;  // after "=" and the blanks that follow it
  qsizetype valueEnd = 0;    // before the line break
};

Place locate(const QString& text, QStringView section, QStringView key) {
  Place place;
  qsizetype pos = 0;
  while (pos < text.size()) {
    const qsizetype newline = text.indexOf(u'\n', pos);
    const qsizetype next = newline < 0 ? text.size() : newline + 1;
    qsizetype end = newline < 0 ? text.size() : newline;
    if (end > pos && text.at(end - 1) == u'\r') --end;
    const QStringView line = QStringView(text).sliced(pos, end - pos);
    const QStringView trimmed = trimBlanks(line);

    if (const auto name = sectionName(trimmed)) {
      if (place.sectionFound) break;
      if (name->compare(section, Qt::CaseInsensitive) == 0) {
        place.sectionFound = true;
        place.sectionEnd = next;
        place.sectionEndsLine = newline >= 0;
      }
    } else if (place.sectionFound && !trimmed.isEmpty()) {
      place.sectionEnd = next;
      place.sectionEndsLine = newline >= 0;
      const qsizetype equals = line.indexOf(u'=');
      if (equals >= 0 && !trimmed.startsWith(u';') &&
          trimBlanks(line.first(equals)).compare(key, Qt::CaseInsensitive) == 0) {
        qsizetype start = pos + equals + 1;
        while (start < end && isBlank(text.at(start))) ++start;
        place.keyFound = true;
        place.valueStart = start;
        place.valueEnd = end;
        return place;
      }
    }
    pos = next;
  }
  return place;
}

// New lines follow the file's own line breaks; a new file gets those of Windows.
QString lineBreakOf(const QString& text) {
  const qsizetype newline = text.indexOf(u'\n');
  return newline > 0 && text.at(newline - 1) == u'\r' ? QStringLiteral("\r\n")
         : newline >= 0                               ? QStringLiteral("\n")
                                                      : QStringLiteral("\r\n");
}

// The break that ends an unfinished last line; a CR there already reads as part of one.
QString breakAfterLastLine(const QString& text, const QString& lineBreak) {
  return text.endsWith(u'\r') ? QStringLiteral("\n") : lineBreak;
}

AppError writeFailure(const QString& path) {
  return AppError("Não é possível gravar o arquivo: " + QDir::toNativeSeparators(path));
}

// Windows never writes a file that carries the read-only attribute, whoever asks. The mode
// bits, not WriteUser, which would let an account that may override permissions through.
bool markedReadOnly(const QFileInfo& info) {
  return !(info.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return defaultValue;
  const QString text = decode(file.readAll()).text;
  file.close();
  const Place place = locate(text, section, key);
  if (!place.keyFound) return defaultValue;
  const QStringView value =
      QStringView(text).sliced(place.valueStart, place.valueEnd - place.valueStart);
  return unquoted(trimBlanks(value));
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
  bool ok = false;
  const int value = readString(section, key, QString()).toInt(&ok, 10);
  return ok ? value : defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
  for (const QString* part : {&section, &key, &value}) {
    if (part->contains(u'\n') || part->contains(u'\r')) {
      throw AppError("Não é possível gravar uma quebra de linha no arquivo: " +
                     QDir::toNativeSeparators(path_));
    }
  }

  Content content;
  const QFileInfo info(path_);
  if (info.exists()) {
    QFile file(path_);
    if (!info.isFile() || markedReadOnly(info) || !file.open(QIODevice::ReadOnly)) {
      throw writeFailure(path_);
    }
    content = decode(file.readAll());
  }

  QString& text = content.text;
  const QString stored = quotedIfNeeded(value);
  const Place place = locate(text, section, key);
  if (place.keyFound) {
    text.replace(place.valueStart, place.valueEnd - place.valueStart, stored);
  } else {
    const QString lineBreak = lineBreakOf(text);
    QString added;
    qsizetype at = text.size();
    if (place.sectionFound) {
      at = place.sectionEnd;
      if (!place.sectionEndsLine) added += breakAfterLastLine(text, lineBreak);
    } else {
      if (!text.isEmpty() && !text.endsWith(u'\n')) added += breakAfterLastLine(text, lineBreak);
      added += u'[' + section + u']' + lineBreak;
    }
    added += key + u'=' + stored + lineBreak;
    text.insert(at, added);
  }

  const QByteArray bytes = encode(text, content.encoding);
  QSaveFile file(path_);
  // A folder that refuses new files may still hold a writable settings file.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw writeFailure(path_);
  }
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) const {
  writeString(section, key, QString::number(value));
}
