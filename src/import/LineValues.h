#pragma once

#include <QString>

// The seven values one accepted line of a campaign file gives, all as text.
struct LineValues {
  QString Tipo;
  QString CNPJ;
  QString Nome;
  QString Ano;
  QString NatJur;
  QString Cnae;
  QString DataCNPJ;

  bool operator==(const LineValues&) const = default;
};

inline const QString kPartido = QStringLiteral("PARTIDO");
inline const QString kCandidato = QStringLiteral("CANDIDATO");

// Whether a line with this type is imported: a non-empty, case-exact piece of
// "PARTIDO,CANDIDATO", so "DATO" passes and "partido" does not.
bool acceptsTipo(const QString& Tipo);
