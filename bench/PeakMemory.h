#pragma once

#include <QByteArray>
#include <QFile>

namespace bench {

// The process's peak resident memory in kB, -1 when unknown.
inline long PeakRssKb() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

}  // namespace bench
