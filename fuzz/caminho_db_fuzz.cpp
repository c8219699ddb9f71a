#include "FuzzSupport.h"

#include "common/AppError.h"
#include "common/IniFile.h"
#include "common/InstallDir.h"
#include "common/TrataErros.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

// The input is a first line with the code (UTF-8), then the bytes of voq.ini.
//
// Some codes create a folder under those voq.ini names. So that no input creates one outside
// the scratch folder, each folder key is rewritten to lie under it before the call.

namespace {

const QString kSection = QStringLiteral("VOQ");
const char* const kFolderKeys[] = {"Caminho_Base_Dados", "Caminho_TabDef", "Diretorio_Servidor",
                                   "Diretorio_XUT"};

struct Scratch {
  // In the current folder, the run's own: an abort skips the removal.
  QTemporaryDir dir{QDir::current().absoluteFilePath(QStringLiteral("tavrel-caminho-XXXXXX"))};
  QString install = dir.filePath(QStringLiteral("install"));
  QString root = dir.filePath(QStringLiteral("root"));
};

const Scratch& scratch() {
  static const Scratch made;
  return made;
}

bool isSeparator(QChar c) {
  return c == u'/' || c == u'\\';
}

// Both separators divide folders when the paths are used here.
bool hasParentPart(const QString& path) {
  qsizetype start = 0;
  for (qsizetype i = 0; i <= path.size(); ++i) {
    if (i < path.size() && !isSeparator(path.at(i))) continue;
    if (QStringView(path).sliced(start, i - start) == u"..") return true;
    start = i + 1;
  }
  return false;
}

QString confined(QString value) {
  value.replace(u'\r', u'_');  // a line break cannot be written back
  while (hasParentPart(value)) value.replace(QStringLiteral(".."), QStringLiteral("__"));
  return scratch().root + u'/' + value;
}

bool inside(const QString& folder) {
  return folder.startsWith(scratch().root + u'/') && !hasParentPart(folder);
}

std::optional<QString> caminho(const QString& Tipo) {
  try {
    return CaminhoDB(Tipo);
  } catch (const AppError& error) {
    FUZZ_CHECK(error.message().startsWith(QStringLiteral("Não é possível criar o diretório: ")));
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const Scratch& made = scratch();
  FUZZ_CHECK(made.dir.isValid() && QDir().mkpath(made.install));
  // The paths are cut after "VOQ7"; a scratch folder with it in its name would be cut too.
  FUZZ_CHECK(!made.root.contains(QStringLiteral("VOQ7"), Qt::CaseInsensitive));
  FUZZ_CHECK(!hasParentPart(made.root));
  SetInstallDir(made.install);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Scratch& made = scratch();
  // SGB_DADOS is there already, so that the folders a level below it can be made.
  FUZZ_CHECK(QDir(made.root).removeRecursively() &&
             QDir().mkpath(made.root + QStringLiteral("/SGB_DADOS")));

  const QByteArray input = fuzzBytes(data, size);
  const qsizetype newline = input.indexOf('\n');
  const QString Tipo = QString::fromUtf8(newline < 0 ? input : input.first(newline));
  const IniFile ini(made.install + QStringLiteral("/voq.ini"));
  QFile file(ini.path());
  FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  if (newline >= 0) file.write(input.sliced(newline + 1));
  file.close();

  for (const char* key : kFolderKeys) {
    ini.writeString(kSection, key, confined(ini.readString(kSection, key, QString())));
    FUZZ_CHECK(inside(ini.readString(kSection, key, QString())));
  }

  const std::optional<QString> first = caminho(Tipo);
  // A folder made by the first call is found by the second.
  FUZZ_CHECK(caminho(Tipo) == first);
  return 0;
}
