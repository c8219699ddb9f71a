#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavrel::test {

// The rows of the lines' table of an audit file, each split into its fields.
QList<QStringList> AuditRows(const QString& path);
// A value of the audit file's head or end ("Login", "Importados", "Situação", ...); for a name
// both have ("Término"), the end's.
QString AuditFooter(const QString& path, const QString& name);

}  // namespace tavrel::test
