#include "cli/ConsolePanel.h"

#include <QTime>

#include "cli/StopSignal.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr qint64 kBarEveryMs = 200;
constexpr qint64 kLineEveryMs = 5000;
constexpr int kBarWidth = 30;

QString Duration(qint64 seconds) {
  return QTime(0, 0)
      .addSecs(static_cast<int>(std::min<qint64>(seconds, 86399)))
      .toString("HH:mm:ss");
}

}  // namespace

ConsolePanel::ConsolePanel(std::FILE* out, bool quiet)
    : out_(out), quiet_(quiet), terminal_(isatty(fileno(out)) != 0) {}

void ConsolePanel::message(dialogs::BoxKind kind, const QString&, const QString& text) {
  if (quiet_ && kind != dialogs::BoxKind::Error) return;
  // The boxes break their lines with a carriage return alone, which a terminal would overwrite.
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  // A box that came in the middle of the file names the line in work.
  say(read_ < lines_ ? "linha " + QString::number(read_ + 1) + ": " + lines : lines);
}

bool ConsolePanel::confirm(const QString&, const QString&) {
  return false;
}

dialogs::FileChoice ConsolePanel::openFile(const QString&, const QStringList&, int) {
  return {};
}

void ConsolePanel::started() {
  run_.start();
}

void ConsolePanel::counted(qint64 lines) {
  lines_ = lines;
}

void ConsolePanel::lineDone(qint64 read, qint64) {
  read_ = read;
  if (quiet_) return;
  const qint64 now = run_.elapsed();
  if (now - shownAt_ < (terminal_ ? kBarEveryMs : kLineEveryMs)) return;
  shownAt_ = now;
  showProgress();
}

void ConsolePanel::finished() {
  if (!quiet_ && terminal_) showProgress();
  clearBar();
}

void ConsolePanel::failed() {
  clearBar();
}

bool ConsolePanel::stopRequested() {
  return StopSignal::requested();
}

void ConsolePanel::say(const QString& text) {
  clearBar();
  std::fputs(text.toUtf8().constData(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void ConsolePanel::showProgress() {
  const double seconds = run_.elapsed() / 1000.0;
  const qint64 perSecond = seconds > 0 ? static_cast<qint64>(read_ / seconds) : 0;
  const int percent = lines_ > 0 ? static_cast<int>(read_ * 100 / lines_) : 100;
  const QString left = perSecond > 0 ? Duration((lines_ - read_) / perSecond) : "--:--:--";
  const QString figures = QString("%1 de %2 linhas (%3%), %4 linhas/s, faltam %5")
                              .arg(read_)
                              .arg(lines_)
                              .arg(percent)
                              .arg(perSecond)
                              .arg(left);
  if (!terminal_) {
    std::fprintf(out_, "%s\n", figures.toUtf8().constData());
    std::fflush(out_);
    return;
  }
  const int filled = kBarWidth * percent / 100;
  const QString bar = '[' + QString(filled, u'#') + QString(kBarWidth - filled, u'-') + "] ";
  // Back to the line's start and over whatever the last bar left.
  std::fprintf(out_, "\r%s%s\033[K", bar.toUtf8().constData(), figures.toUtf8().constData());
  std::fflush(out_);
  barShown_ = true;
}

void ConsolePanel::clearBar() {
  if (!barShown_) return;
  std::fputc('\n', out_);
  barShown_ = false;
}
