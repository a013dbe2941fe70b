// Runs one command line of the command interpreter and waits for it.
// `exitstat` receives the exit status of the command line (0 success,
// 1 failure, 9009 unknown command), `cmdstat` 0 when the command line could be
// run at all, non-zero when the interpreter itself could not be started.
// Windows: cmd.exe /D /V:OFF /S /C "<line>". Linux: the built-in interpreter for the
// command forms the program issues.
#pragma once

#include <string>
#include <string_view>

#include "common/field.h"

void run_command(std::string_view line, int& exitstat, int& cmdstat);

// A line that a command line wrote to a file (a DIR listing), as the
// program's single-byte text. cmd.exe writes such files in the code page of
// its console (the OEM one, unless chcp changed it), so names outside ASCII
// need converting; the built-in interpreter writes the program's own.
std::string command_output_text(std::string_view bytes);

// Whether the (trimmed) name can stand on a command line in double quotes:
// cmd.exe expands %NAME% even inside them, and a double quote inside the
// name would end the quoting. A folder that fails this is never named on a
// command line.
inline bool quotable(std::string_view name) { return trim_right(name).find_first_of("%\"") == std::string_view::npos; }
