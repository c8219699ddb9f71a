#include "data/UpdateStatements.h"

#include <QStringList>

#include "common/AppError.h"

namespace {

QString quoted(const QString& name) {
  return u'"' + name + u'"';
}

}  // namespace

QString InsertSql(const QString& table, const std::vector<FieldDef>& fields) {
  QStringList names, marks;
  for (const FieldDef& f : fields) {
    names << quoted(f.name);
    marks << QStringLiteral("?");
  }
  return QStringLiteral("insert into %1\n  (%2)\nvalues\n  (%3)")
      .arg(quoted(table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

UpdateStatement ModifyStatement(const QString& table, const std::vector<FieldDef>& fields,
                                const std::vector<FieldValue>& original,
                                const std::vector<FieldValue>& current,
                                const QStringList& alwaysWritten, const QString& keyField) {
  UpdateStatement statement;
  QStringList assignments;
  int key = -1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const QString& name = fields[i].name;
    if (name.compare(keyField, Qt::CaseInsensitive) == 0) key = static_cast<int>(i);
    if (original[i] != current[i] || alwaysWritten.contains(name, Qt::CaseInsensitive)) {
      assignments << quoted(name) + QStringLiteral(" = ?");
      statement.params.push_back(current[i]);
    }
  }
  if (key < 0) throw AppError(QStringLiteral("Field '%1' not found").arg(keyField));
  statement.params.push_back(original[key]);
  statement.sql =
      QStringLiteral("update %1 set\n  %2\nwhere\n  %3 = ?")
          .arg(quoted(table), assignments.join(QStringLiteral(",\n  ")), quoted(fields[key].name));
  return statement;
}
