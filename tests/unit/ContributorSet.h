#pragma once

#include "data/ContributorFields.h"
#include "dataset/ClientDataSet.h"

#include <ostream>
#include <vector>

// The columns the tests of in-memory sets look at; every other column of a row stays null.
struct Contributor {
  FieldValue cod;
  FieldValue tipo;
  FieldValue cnpj;
  FieldValue nome;
  FieldValue dataCnpj;
};

inline int FieldOf(const std::vector<FieldDef>& fields, const QString& name) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// Rows as a provider would hand them over for these fields.
inline RowStore ContributorRows(const std::vector<FieldDef>& fields,
                                const std::vector<Contributor>& contributors) {
  RowStore rows(fields);
  for (const Contributor& c : contributors) {
    std::vector<FieldValue> values(fields.size());
    values[FieldOf(fields, "COD_CAM")] = c.cod;
    values[FieldOf(fields, "TIPO_CAM")] = c.tipo;
    values[FieldOf(fields, "CNPJ_CAM")] = c.cnpj;
    values[FieldOf(fields, "NOME_CAM")] = c.nome;
    values[FieldOf(fields, "DATACNPJ_CAM")] = c.dataCnpj;
    rows.append(values);
  }
  return rows;
}

// An open set with the given fields and rows.
inline void OpenWith(ClientDataSet& set, std::vector<FieldDef> fields,
                     const std::vector<Contributor>& contributors) {
  set.close();
  set.setFields(std::move(fields));
  set.open(ContributorRows(set.fields(), contributors));
}

// COD_CAM of every row, in the present order (0 for a null code).
inline std::vector<qint32> CodesInOrder(const ClientDataSet& set) {
  std::vector<qint32> codes;
  const int cod = set.fieldIndex("COD_CAM");
  for (qsizetype i = 0; i < set.recordCount(); ++i) {
    const FieldValue value = set.valueAt(i, cod);
    codes.push_back(isNull(value) ? 0 : std::get<qint32>(value));
  }
  return codes;
}

inline QDateTime Stamp(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

// Readable failures for cell values.
inline void PrintTo(const FieldValue& value, std::ostream* os) {
  if (isNull(value)) {
    *os << "null";
  } else if (const auto* integer = std::get_if<qint32>(&value)) {
    *os << *integer;
  } else if (const auto* bytes = std::get_if<QByteArray>(&value)) {
    *os << '"' << bytes->toHex(' ').toStdString() << '"';
  } else {
    *os << std::get<QDateTime>(value).toString(Qt::ISODate).toStdString();
  }
}
