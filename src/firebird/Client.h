#pragma once

#include <firebird/Interface.h>

#include <QString>

namespace fb {

// The client library's entry points, loaded at run time. One instance per library file, alive
// until the program ends (the library is never unloaded).
class Client {
 public:
  // Loads the library at libraryPath; when no file is there, the platform's default client.
  static Client& load(const QString& libraryPath);

  Firebird::IMaster* master() const { return master_; }
  Firebird::IUtil* util() const { return util_; }
  Firebird::IProvider* provider() const { return provider_; }

  // The library's formatted text for a status vector, decoded from the connection's code page.
  QString formatStatus(Firebird::IStatus* status) const;

 private:
  explicit Client(Firebird::IMaster* master);

  Firebird::IMaster* master_;
  Firebird::IUtil* util_;
  Firebird::IProvider* provider_;
};

}  // namespace fb
