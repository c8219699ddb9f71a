#pragma once

#include <QString>

// The suite's installation paths, resolved from voq.ini beside the executable, which is read
// afresh at every call. Tipo is a short code ("B", "DLLFB", "BKAD", ...), without regard to
// case. Codes that need a working folder create it, one level only, and throw AppError
// "Não é possível criar o diretório: <folder>" when they cannot.
//
// Codes beginning with "DA" or "BA" give their path without looking at the year or the number
// that may follow the two letters: the year worked out from them never reaches the result.
QString CaminhoDB(QString Tipo);

// Shows the operator, in error boxes captioned "Erro", the explanation of each kind of database
// failure recognised in Msg (dependent rows, duplicate key, missing required value), or Msg
// itself when none is. Always true.
bool Tratar_Erro(QString Msg);
