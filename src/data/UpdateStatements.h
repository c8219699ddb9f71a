#pragma once

#include <QString>
#include <vector>

#include "dataset/FieldDef.h"
#include "dataset/FieldValue.h"

// The statements by which a posted change reaches its table: names in double quotes, values
// as positional parameters.
struct UpdateStatement {
  QString sql;
  std::vector<FieldValue> params;
};

// Every field, in order; the parameters are the change's values, in the same order.
QString InsertSql(const QString& table, const std::vector<FieldDef>& fields);

// The fields whose value differs from the fetched one, plus those always written, in field
// order; the condition names the key field alone, with its fetched value.
UpdateStatement ModifyStatement(const QString& table, const std::vector<FieldDef>& fields,
                                const std::vector<FieldValue>& original,
                                const std::vector<FieldValue>& current,
                                const QStringList& alwaysWritten, const QString& keyField);
