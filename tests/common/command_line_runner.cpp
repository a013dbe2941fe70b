// Runs the command lines of a file, one per line, through the command
// interpreter, and writes "exitstat cmdstat" for each to a second file. The
// Windows build's copy lets a Linux test run the same lines through the real
// cmd.exe under Wine: a command line read from a file reaches cmd.exe exactly
// as the program builds it, which an argument of the wine command would not.
#include <cstdio>
#include <string>

#include "common/command_interpreter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: command_line_runner LINES RESULTS\n");
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!in || !out) {
    std::fprintf(stderr, "command_line_runner: cannot open the files\n");
    return 2;
  }
  std::string line;
  for (int c; (c = std::fgetc(in)) != EOF || !line.empty();) {
    if (c != '\n' && c != EOF) {
      if (c != '\r') line.push_back(static_cast<char>(c));
      continue;
    }
    int exitstat = -99, cmdstat = -99;
    run_command(line, exitstat, cmdstat);
    std::fprintf(out, "%d %d\n", exitstat, cmdstat);
    std::fflush(out);
    line.clear();
    if (c == EOF) break;
  }
  std::fclose(in);
  std::fclose(out);
  return 0;
}
