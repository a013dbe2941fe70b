// Command lines that name folders and files: quoting, the length limit and
// the traced run.
#include "app/command_lines.h"

#include "common/command_interpreter.h"
#include "common/trace.h"

std::string quoted(std::string_view name) { return "\"" + std::string(trim_right(name)) + "\""; }

bool make_command(std::string_view text, Field<256>& line) {
  line.blank();
  if (static_cast<int>(text.size()) > line.size()) {
    trace("command line too long, not run:", text);
    return false;
  }
  line = text;
  return true;
}

void run_traced(const Field<256>& line, int& exitstat, int& cmdstat) {
  trace(line);
  exitstat = 0;
  cmdstat = 0;
  run_command(line.trimmed(), exitstat, cmdstat);
  trace("exitstat=", exitstat, "cmdstat=", cmdstat);
}
