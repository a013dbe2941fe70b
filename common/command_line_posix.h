// The built-in command interpreter's reading of a command line (Linux):
// variables expanded, the line split into commands at "&", each command's
// "> target" taken out, each command split into its name and arguments, and
// every form checked. Reading runs nothing and touches no file: it lives
// apart from the commands themselves, so that whatever reads command lines
// alone (the fuzz test) cannot run one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace command_interpreter {

inline char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = upper(c);
  return u;
}

inline bool same_name(std::string_view a, std::string_view b) { return upper(a) == upper(b); }

inline bool has_wildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// Separators of arguments outside quotes.
inline bool is_delim(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '='; }

// The drive of host folders named as Wine names a folder outside every
// drive, \\?\unix\ and the host path.
constexpr char kHostDrive = '?';

// An absolute Windows path: drive letter (upper case) and its folder parts.
struct WinPath {
  char drive = 'Z';
  std::vector<std::string> parts;
  std::string str() const {
    std::string s = drive == kHostDrive ? std::string("\\\\?\\unix") : std::string(1, drive) + ":";
    s += "\\";
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i) s += '\\';
      s += parts[i];
    }
    return s;
  }
  bool is_root() const { return parts.empty(); }
  WinPath parent() const {
    WinPath p = *this;
    if (!p.parts.empty()) p.parts.pop_back();
    return p;
  }
  WinPath child(const std::string& name) const {
    WinPath p = *this;
    p.parts.push_back(name);
    return p;
  }
};

// Resolves `arg` against the current folder `cur`. Returns false for path
// forms the interpreter does not take (network names, another drive's
// current folder, forward slashes), with the reason in `why`.
bool resolve(const WinPath& cur, const std::string& arg, WinPath& out, std::string& why);

struct Command {
  std::string text;         // the command without its redirection, quotes kept
  bool redirect = false;    // "> target" given
  std::string target;       // redirection target, quotes removed
};

// The command name and its arguments. Arguments are separated by blanks,
// tabs, ",", ";" and "=" outside quotes; a switch ("/X") is an argument of its
// own even when written against the previous one ("DIR/B", "/AD/B").
struct Args {
  std::string name;
  std::vector<std::string> switches;  // upper case, without "/"
  std::vector<std::string> operands;  // quotes removed
  std::string rest;                   // the raw text after the name (for CD)
};

// A command line as read: its commands and their arguments, or the form
// that makes the interpreter refuse the whole line.
struct ParsedLine {
  std::vector<Command> commands;
  std::vector<Args> args;  // one per command
  bool refused = false;
  std::string why;
};

ParsedLine parse_command_line(std::string_view line);

}  // namespace command_interpreter
