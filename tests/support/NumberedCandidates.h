#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>

namespace tavrel::test {

// Candidates told apart by a number n alone: CNPJ n in 14 digits, name "CANDIDATO n", year
// 2019, legal nature 4090, CNAE 8411600, CNPJ date 26/09/2018 14:30.
QString NumberedCnpj(int n);
QString NumberedName(int n);

// n's detail line of the fixed-column layout, without its line break.
QByteArray NumberedCandidate(int n);

// A fixed-column file of the candidates numbered so, in this order, each line ended by LF.
QByteArray NumberedCandidates(std::initializer_list<int> numbers);
// The same for first, first + 1, ..., first + count - 1.
QByteArray NumberedCandidates(int first, int count);

}  // namespace tavrel::test
