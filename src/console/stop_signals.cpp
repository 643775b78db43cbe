#include "console/stop_signals.h"

#include <csignal>
#include <initializer_list>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace vessory::console {

namespace {

volatile std::sig_atomic_t caught = 0;

#ifdef _WIN32
// Runs on a thread of its own; the run reads the flag at its next record.
BOOL WINAPI onConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (caught != 0) return FALSE;  // a second press: the default, which ends the process
  caught = SIGINT;
  return TRUE;
}
#else
void onSignal(int signal) {
  caught = signal;
  // A second signal of the kind finds the default action.
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  sigemptyset(&plain.sa_mask);
  sigaction(signal, &plain, nullptr);
}
#endif

}  // namespace

void installStopSignals() {
#ifdef _WIN32
  SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  // Reading goes on where the signal met it; the run stops at the next record.
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the shell set to be ignored (nohup, a background job) stays ignored.
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
#endif
}

int stopSignal() { return caught; }

void setStopSignal(int signal) { caught = signal; }

}  // namespace vessory::console
