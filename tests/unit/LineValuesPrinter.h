#pragma once

#include "import/LineValues.h"

#include <ostream>

// Readable failures for tables of expected line values.
inline void PrintTo(const LineValues& v, std::ostream* os) {
  *os << "{Tipo=\"" << v.Tipo.toStdString() << "\" CNPJ=\"" << v.CNPJ.toStdString() << "\" Nome=\""
      << v.Nome.toStdString() << "\" Ano=\"" << v.Ano.toStdString() << "\" NatJur=\""
      << v.NatJur.toStdString() << "\" Cnae=\"" << v.Cnae.toStdString() << "\" DataCNPJ=\""
      << v.DataCNPJ.toStdString() << "\"}";
}
