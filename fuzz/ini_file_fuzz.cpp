#include "FuzzSupport.h"

#include "common/AppError.h"
#include "common/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <utility>
#include <vector>

// The input is a first line "section TAB key TAB value" (UTF-8), then the bytes of the file;
// without a line break there is no file.

namespace {

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

bool hasBlankEnds(const QString& name) {
  return !name.isEmpty() && (isBlank(name.front()) || isBlank(name.back()));
}

// Names that the profile rules can find again, on Windows too: no blanks at the ends, no ']'
// in a section, no '=' in a key, and no key that reads as a comment or a section.
bool holdable(const QString& section, const QString& key) {
  return !hasBlankEnds(section) && !section.contains(u']') && !hasBlankEnds(key) &&
         !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'[');
}

// The keys whose values must outlive a write to another key.
std::vector<std::pair<QString, QString>> probes(const QString& section) {
  std::vector<std::pair<QString, QString>> keys;
  for (const QString& probed : {section, QStringLiteral("VOQ"), QStringLiteral("IMPORTACNPJ")}) {
    for (const char* name : {"Servidor", "PATH_ARQ_CNPJ", "EXTENSAO_ARQ", "A", "B"}) {
      keys.emplace_back(probed, QString::fromLatin1(name));
    }
  }
  return keys;
}

QStringList readAll(const IniFile& ini, const std::vector<std::pair<QString, QString>>& keys) {
  QStringList values;
  for (const auto& [section, key] : keys) values.append(ini.readString(section, key, "?none"));
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // In the current folder, the run's own: an abort skips the removal.
  static const QTemporaryDir dir(QStringLiteral("tavrel-ini-XXXXXX"));
  const QByteArray input = fuzzBytes(data, size);
  const qsizetype newline = input.indexOf('\n');
  const QStringList header =
      QString::fromUtf8(newline < 0 ? input : input.first(newline)).split(u'\t');
  const QString section = header.value(0);
  const QString key = header.value(1);
  const QString value = header.value(2);

  const IniFile ini(dir.filePath(QStringLiteral("fuzz.ini")));
  QFile::remove(ini.path());
  if (newline >= 0) {
    QFile file(ini.path());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(input.sliced(newline + 1)) == input.size() - newline - 1);
  }

  const auto keys = probes(section);
  const QStringList before = readAll(ini, keys);

  try {
    ini.writeString(section, key, value);
  } catch (const AppError&) {
    FUZZ_CHECK(value.contains(u'\r') || section.contains(u'\r') || key.contains(u'\r'));
    return 0;
  }
  if (!holdable(section, key)) return 0;

  FUZZ_CHECK(ini.readString(section, key, "?none") == value);
  const QStringList after = readAll(ini, keys);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const auto& [probedSection, probedKey] = keys[i];
    const bool written = probedSection.compare(section, Qt::CaseInsensitive) == 0 &&
                         probedKey.compare(key, Qt::CaseInsensitive) == 0;
    if (!written) FUZZ_CHECK(after.at(i) == before.at(i));
  }
  return 0;
}
