#ifndef VESSORY_CONSOLE_TERMINAL_WIDTH_H_
#define VESSORY_CONSOLE_TERMINAL_WIDTH_H_

#include <cstdio>

namespace vessory::console {

// The number of columns of the terminal `stream` writes to, as the terminal says now (it may
// change between calls when the window is resized), else the COLUMNS variable, else 0 when
// neither tells.
int terminalColumns(std::FILE* stream);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_TERMINAL_WIDTH_H_
