// Runs one command line of the command interpreter and waits for it.
// `exitstat` receives the exit status of the command line (0 success,
// 1 failure, 9009 unknown command), `cmdstat` 0 when the command line could be
// run at all, non-zero when the interpreter itself could not be started.
// Windows: cmd.exe /S /C "<line>". Linux: the built-in interpreter for the
// command forms the program issues.
#pragma once

#include <string_view>

void run_command(std::string_view line, int& exitstat, int& cmdstat);
