#include "firebird/Client.h"

#include <QFileInfo>
#include <QLibrary>
#include <map>
#include <memory>

#include "common/Win1252.h"
#include "firebird/Error.h"

namespace fb {

namespace {

#ifdef Q_OS_WIN
const char* const kDefaultLibrary = "fbclient.dll";
#else
const char* const kDefaultLibrary = "libfbclient.so.2";
#endif

using GetMasterInterface = Firebird::IMaster* (*)();

}  // namespace

Client& Client::load(const QString& libraryPath) {
  const QString file = QFileInfo::exists(libraryPath) ? libraryPath : QString(kDefaultLibrary);
  static std::map<QString, std::unique_ptr<Client>> loaded;
  auto found = loaded.find(file);
  if (found != loaded.end()) return *found->second;

  QLibrary library(file);
  library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  auto getMaster = reinterpret_cast<GetMasterInterface>(library.resolve("fb_get_master_interface"));
  if (getMaster == nullptr) {
    throw Error(QStringLiteral("Unable to load the Firebird client library %1: %2")
                    .arg(file, library.errorString()));
  }
  auto client = std::unique_ptr<Client>(new Client(getMaster()));
  return *loaded.emplace(file, std::move(client)).first->second;
}

Client::Client(Firebird::IMaster* master)
    : master_(master), util_(master->getUtilInterface()), provider_(master->getDispatcher()) {}

QString Client::formatStatus(Firebird::IStatus* status) const {
  char buffer[4096];
  util_->formatStatus(buffer, sizeof buffer, status);
  return win1252::decode(QByteArray(buffer));
}

}  // namespace fb
