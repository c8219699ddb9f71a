// Times a run over a known number of lines: the whole, and the moment each tenth of the lines is
// passed, so that a run that slows down as it goes shows it.
#pragma once

#include <QElapsedTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "PeakMemory.h"

namespace bench {

class TenthsClock {
 public:
  // Called as each tenth is passed, 1 to 10, with the seconds since the start.
  std::function<void(int tenth, double seconds)> onTenth;

  void start() {
    clock_.start();
    processorStart_ = std::clock();
  }

  void lineDone(qint64 done, qint64 total) {
    while (total > 0 && tenths_.size() < 10 && done >= total * qint64(tenths_.size() + 1) / 10) {
      tenths_.push_back(clock_.nsecsElapsed());
      if (onTenth) onTenth(static_cast<int>(tenths_.size()), tenths_.back() / 1e9);
    }
  }

  // "lines: N  seconds: S  lines/s: R  peak RSS: K kB  cpu: C s", then the rate of each tenth.
  // The processor time is this process's own: with the same round trips, what a program spends
  // beyond its floor shows there, steadier than in the seconds that include the server's.
  void report(qint64 lines) const {
    const double seconds = clock_.nsecsElapsed() / 1e9;
    const double processor = double(std::clock() - processorStart_) / CLOCKS_PER_SEC;
    std::printf("lines: %lld  seconds: %.2f  lines/s: %.0f  peak RSS: %ld kB  cpu: %.2f s\n",
                static_cast<long long>(lines), seconds, lines / seconds, PeakRssKb(), processor);
    qint64 previous = 0;
    for (std::size_t i = 0; i < tenths_.size(); ++i) {
      std::printf("tenth %zu: %.0f lines/s\n", i + 1,
                  (lines / 10.0) / ((tenths_[i] - previous) / 1e9));
      previous = tenths_[i];
    }
  }

 private:
  QElapsedTimer clock_;
  std::clock_t processorStart_ = 0;
  std::vector<qint64> tenths_;  // nanoseconds from the start
};

}  // namespace bench
