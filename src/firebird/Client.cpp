#include "firebird/Client.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <map>
#include <memory>

#include "common/Win1252.h"
#include "firebird/Error.h"
#include "firebird/LibraryFile.h"

namespace fb {

namespace {

#ifdef Q_OS_WIN
const QString kDefaultLibrary = QStringLiteral("fbclient.dll");
#else
const QString kDefaultLibrary = QStringLiteral("libfbclient.so.2");
#endif
constexpr int kProgramBits = QT_POINTER_SIZE * 8;

// The file a failed load is explained by: the one named, or the default client in the
// program's folder, where the system looks first; empty when neither is there.
QString fileToExplain(const QString& named) {
  if (QFileInfo::exists(named)) return named;
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(kDefaultLibrary);
  return QFileInfo::exists(beside) ? QDir::toNativeSeparators(beside) : QString();
}

Error loadFailure(const QString& named, const QString& systemText) {
  const QString file = fileToExplain(named);
  if (file.isEmpty()) {
    return Error(QStringLiteral("Biblioteca cliente do Firebird não encontrada: %1 não existe e %2 "
                                "não está na pasta do programa nem no caminho de busca do sistema.")
                     .arg(named, kDefaultLibrary));
  }
  const int bits = libraryBits(file);
  if (bits == 0) {
    return Error(QStringLiteral("%1 não é uma biblioteca cliente do Firebird.").arg(file));
  }
  if (bits != kProgramBits) {
    return Error(
        QStringLiteral("A biblioteca cliente do Firebird %1 é de %2 bits e este programa é "
                       "de %3 bits: use um cliente do Firebird de %3 bits ou a versão de "
                       "%2 bits deste programa.")
            .arg(file)
            .arg(bits)
            .arg(kProgramBits));
  }
  return Error(QStringLiteral("Não foi possível carregar a biblioteca cliente do Firebird %1: %2")
                   .arg(file, systemText));
}

template <class Function>
void resolve(QLibrary& library, const char* name, Function& into) {
  into = reinterpret_cast<Function>(library.resolve(name));
  if (into == nullptr) {
    throw Error(QStringLiteral("%1 não é uma biblioteca cliente do Firebird: não tem a função %2.")
                    .arg(QDir::toNativeSeparators(library.fileName()), QLatin1String(name)));
  }
}

ClientFunctions resolveAll(QLibrary& library) {
  ClientFunctions f{};
  resolve(library, "isc_attach_database", f.attachDatabase);
  resolve(library, "isc_detach_database", f.detachDatabase);
  resolve(library, "isc_database_info", f.databaseInfo);
  resolve(library, "isc_start_transaction", f.startTransaction);
  resolve(library, "isc_commit_transaction", f.commitTransaction);
  resolve(library, "isc_commit_retaining", f.commitRetaining);
  resolve(library, "isc_rollback_transaction", f.rollbackTransaction);
  resolve(library, "isc_dsql_allocate_statement", f.allocateStatement);
  resolve(library, "isc_dsql_prepare", f.prepare);
  resolve(library, "isc_dsql_describe", f.describe);
  resolve(library, "isc_dsql_describe_bind", f.describeBind);
  resolve(library, "isc_dsql_execute", f.execute);
  resolve(library, "isc_dsql_execute2", f.execute2);
  resolve(library, "isc_dsql_fetch", f.fetch);
  resolve(library, "isc_dsql_free_statement", f.freeStatement);
  resolve(library, "isc_dsql_sql_info", f.sqlInfo);
  resolve(library, "fb_interpret", f.interpret);
  return f;
}

}  // namespace

Client& Client::load(const QString& libraryPath) {
  const QString file = QFileInfo::exists(libraryPath) ? libraryPath : kDefaultLibrary;
  static std::map<QString, std::unique_ptr<Client>> loaded;
  auto found = loaded.find(file);
  if (found != loaded.end()) return *found->second;

  QLibrary library(file);
  if (!library.load()) throw loadFailure(libraryPath, library.errorString());
  auto client = std::unique_ptr<Client>(new Client(resolveAll(library)));
  return *loaded.emplace(file, std::move(client)).first->second;
}

QString Client::formatStatus(const ISC_STATUS* status) const {
  // Only the errors: the warnings that may follow them are no part of the failure.
  std::vector<ISC_STATUS> errors;
  for (const ISC_STATUS* v = status; *v != isc_arg_end && *v != isc_arg_warning;) {
    const int words = *v == isc_arg_cstring ? 3 : 2;
    errors.insert(errors.end(), v, v + words);
    v += words;
  }
  errors.push_back(isc_arg_end);

  QByteArray text;
  char line[1024];
  const ISC_STATUS* next = errors.data();
  while (api_.interpret(line, sizeof line, &next) > 0) {
    if (!text.isEmpty()) text += "\n-";
    text += line;
  }
  return win1252::decode(text);
}

}  // namespace fb
