#pragma once

#include <QString>
#include <QtGlobal>

class Tdm;

// What the operator asks the search for: the year, the contributor type ("TODOS" for all), the
// column a text is looked for in ("NENHUM" for none) and that text.
struct SearchFilter {
  QString year;
  QString type;
  QString column;
  QString text;
};

// The statement that lists a filter's contributors, or why there is none.
struct SearchStatement {
  enum class Refusal { None, NoYear, InvalidDate };
  Refusal refusal = Refusal::None;
  QString sql;
};

// Every value joined into the statement is a quoted literal.
SearchStatement ComposeSearch(const SearchFilter& filter);

// Runs the statement into the data module's viewing set; the number of rows it then holds.
qsizetype ListContributors(Tdm& module, const QString& sql);

// The licensee's name, from the company row COD_EMP = 1; empty when there is none.
QString LicenseeName(Tdm& module);
