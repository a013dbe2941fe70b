// Fuzz target: any bytes as a command line of the built-in interpreter, read
// (variables expanded, split, every form checked) and never run: the
// program holds the reading step only (see CMakeLists.txt).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/command_line_posix.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A variable for the expansion to find, with characters that matter.
  setenv("VANTYR_FUZZ", "a&b \"c\" %d% >e", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace command_interpreter;
  ParsedLine p = parse_command_line(std::string_view(reinterpret_cast<const char*>(data), size));
  if (p.args.size() != p.commands.size()) std::abort();
  if (p.refused && p.why.empty()) std::abort();
  // Every redirection target and operand of an accepted line is a path form
  // the commands can resolve.
  if (!p.refused) {
    WinPath cur, out;
    std::string why;
    for (const Args& a : p.args)
      for (const std::string& o : a.operands)
        if ((a.name == "MOVE" || a.name == "MKDIR" || a.name == "MD") && !resolve(cur, o, out, why)) std::abort();
  }
  return 0;
}
