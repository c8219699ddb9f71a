#include "common/Clock.h"

namespace {
std::optional<QDateTime> fixedNow;
}

QDateTime Now() {
  return fixedNow ? *fixedNow : QDateTime::currentDateTime();
}

QDate Today() {
  return Now().date();
}

void SetNow(std::optional<QDateTime> fixed) {
  fixedNow = std::move(fixed);
}
