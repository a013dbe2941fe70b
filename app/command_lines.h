// Command lines that name folders and files.
//
// Every name goes on a command line in double quotes, so that blanks and the
// characters "&", "^", "(" and ")" stay part of the name and never start or
// change a command. cmd.exe expands %NAME% even inside double quotes, and a
// double quote inside a name would end the quoting: a name holding "%" or
// '"' is never put on a command line at all.
#pragma once

#include <string>
#include <string_view>

#include "common/command_interpreter.h"
#include "common/field.h"

// The trimmed name in double quotes.
std::string quoted(std::string_view name);

// Command lines are 256-character fields. A text that does not fit is not
// cut (a cut line could name another folder): false, `line` left blank.
bool make_command(std::string_view text, Field<256>& line);

// Runs the command line through the command interpreter, waits for it, and
// writes the line and its statuses to the console.
void run_traced(const Field<256>& line, int& exitstat, int& cmdstat);
