#include "NumberedCandidates.h"

#include "CampaignLines.h"

namespace tavrel::test {

QString NumberedCnpj(int n) {
  return QString("%1").arg(n, 14, 10, QChar('0'));
}

QString NumberedName(int n) {
  return QString("CANDIDATO %1").arg(n);
}

QByteArray NumberedCandidate(int n) {
  return FixedColumnLine("02", NumberedCnpj(n), CandidateNameField("2019", NumberedName(n)), "4090",
                         "8411600", "260920181430");
}

QByteArray NumberedCandidates(std::initializer_list<int> numbers) {
  QByteArray bytes;
  for (const int n : numbers) bytes += NumberedCandidate(n) + "\n";
  return bytes;
}

QByteArray NumberedCandidates(int first, int count) {
  QByteArray bytes;
  for (int n = first; n < first + count; ++n) bytes += NumberedCandidate(n) + "\n";
  return bytes;
}

}  // namespace tavrel::test
