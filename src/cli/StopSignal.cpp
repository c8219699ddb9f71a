#include "cli/StopSignal.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace StopSignal {

namespace {

std::atomic<bool> stop{false};
std::atomic<bool> done{false};

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (stop.exchange(true)) return FALSE;  // a second one: the default, which ends the program
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    // Windows ends the program when this returns: give the run the time to roll back.
    for (int waited = 0; !done && waited < 4500; waited += 50) Sleep(50);
  }
  return TRUE;
}
#else
void OnSignal(int signal) {
  stop = true;
  std::signal(signal, SIG_DFL);
}
#endif

}  // namespace

void install() {
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  // The client library's calls in progress go on; the run stops between lines.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

bool requested() {
  return stop;
}

void handled() {
  done = true;
}

}  // namespace StopSignal
