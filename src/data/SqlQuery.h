#pragma once

#include <QMap>
#include <QString>

#include "firebird/Connection.h"

// A query component: a statement text on a connection with named parameters (":ANO"), the
// source that a provider fills an in-memory set from.
class SqlQuery {
 public:
  SqlQuery(fb::Connection& connection, QString sql)
      : SQL(std::move(sql)), connection_(connection) {}

  fb::Connection& connection() const { return connection_; }

  QString SQL;
  QMap<QString, QString> Params;  // by name, without the colon; sent as text

  // The statement with each :NAME outside quotes turned into "?", and its values in order.
  QString positionalSql(QStringList* values) const;

 private:
  fb::Connection& connection_;
};
