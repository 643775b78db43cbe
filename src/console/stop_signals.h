#ifndef VESSORY_CONSOLE_STOP_SIGNALS_H_
#define VESSORY_CONSOLE_STOP_SIGNALS_H_

namespace vessory::console {

// The signals that ask the console tool to stop (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl-C
// and Ctrl-Break, taken as SIGINT). Once caught, the run stops at its next record as the
// window's Exit does, closes every output whole, and the tool ends with 128 + the signal's
// number. A second signal of the same kind ends the process at once, as it would without this.
//
// installStopSignals() is called once, by main, before the run; the rest only read the flag.
void installStopSignals();
// The signal caught so far, or 0.
int stopSignal();
// For tests: as if `signal` had been caught (0 forgets it).
void setStopSignal(int signal);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_STOP_SIGNALS_H_
