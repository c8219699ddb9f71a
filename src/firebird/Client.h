#pragma once

#include <ibase.h>

#include <QString>

namespace fb {

// The classic C API's entry points, resolved from the client library at run time. Typed from
// the declarations of ibase.h, so each keeps its calling convention (stdcall on 32-bit Windows,
// cdecl for the varargs ones).
struct ClientFunctions {
  decltype(&isc_attach_database) attachDatabase;
  decltype(&isc_detach_database) detachDatabase;
  decltype(&isc_database_info) databaseInfo;
  decltype(&isc_start_transaction) startTransaction;
  decltype(&isc_commit_transaction) commitTransaction;
  decltype(&isc_commit_retaining) commitRetaining;
  decltype(&isc_rollback_transaction) rollbackTransaction;
  decltype(&isc_dsql_allocate_statement) allocateStatement;
  decltype(&isc_dsql_prepare) prepare;
  decltype(&isc_dsql_describe) describe;
  decltype(&isc_dsql_describe_bind) describeBind;
  decltype(&isc_dsql_execute) execute;
  decltype(&isc_dsql_execute2) execute2;
  decltype(&isc_dsql_fetch) fetch;
  decltype(&isc_dsql_free_statement) freeStatement;
  decltype(&isc_dsql_sql_info) sqlInfo;
  decltype(&fb_interpret) interpret;
};

// One client library, loaded once and never unloaded: every client from Firebird 1.5 to 5,
// 32- or 64-bit as the program is, exports these functions.
class Client {
 public:
  // Loads the library at libraryPath; when no file is there, the platform's default client.
  // Throws fb::Error with a text for the operator saying which file and why it cannot serve.
  static Client& load(const QString& libraryPath);

  const ClientFunctions& api() const { return api_; }

  // The library's own text for a failed call's status vector (its errors, not its warnings),
  // one message a line, each after the first led by '-'; decoded from the connection's code page.
  QString formatStatus(const ISC_STATUS* status) const;

 private:
  explicit Client(const ClientFunctions& api) : api_(api) {}

  ClientFunctions api_;
};

}  // namespace fb
