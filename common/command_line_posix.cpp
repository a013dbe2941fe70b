// Reading a command line of the built-in interpreter (Linux): expansion,
// splitting and the checks of every form. Nothing here runs a command or
// touches a file.
#include "common/command_line_posix.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/platform_posix.h"

extern char** environ;

namespace command_interpreter {

bool resolve(const WinPath& cur, const std::string& arg, WinPath& out, std::string& why) {
  if (arg.find('/') != std::string::npos) {
    why = "forward slash in a path";
    return false;
  }
  std::string rest;
  if (std::size_t n = platform_posix::host_root_length(arg); n > 0) {
    out.drive = kHostDrive;
    out.parts.clear();
    rest = arg.substr(n);
  } else if (arg.size() >= 2 && arg[0] == '\\' && arg[1] == '\\') {
    why = "network path";
    return false;
  } else if (arg.size() >= 2 && arg[1] == ':') {
    char d = upper(arg[0]);
    if (d < 'A' || d > 'Z') {
      why = "drive letter";
      return false;
    }
    if (arg.size() == 2 || arg[2] != '\\') {
      why = "path relative to the current folder of a drive";
      return false;
    }
    out.drive = d;
    out.parts.clear();
    rest = arg.substr(3);
  } else if (!arg.empty() && arg[0] == '\\') {
    out.drive = cur.drive;
    out.parts.clear();
    rest = arg.substr(1);
  } else {
    out = cur;
    rest = arg;
  }
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t j = rest.find('\\', i);
    if (j == std::string::npos) j = rest.size();
    std::string part = rest.substr(i, j - i);
    if (part == "..") {
      if (!out.parts.empty()) out.parts.pop_back();
    } else if (!part.empty() && part != ".") {
      out.parts.push_back(part);
    }
    i = j + 1;
  }
  return true;
}

// ---------------------------------------------------------------- parsing

// A form the interpreter refuses: the whole line runs nothing.
struct Refusal {
  bool refused = false;
  std::string why;
  void set(std::string w) {
    if (!refused) {
      refused = true;
      why = std::move(w);
    }
  }
};

static std::string env_value(const std::string& name, bool& found) {
  found = false;
  if (name.empty()) return {};
  if (const char* v = std::getenv(name.c_str())) {
    found = true;
    return utf8_to_cp1252(v);
  }
  // Windows variable names do not depend on case.
  for (char** e = environ; e && *e; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (!eq) continue;
    if (same_name(std::string_view(*e, static_cast<std::size_t>(eq - *e)), name)) {
      found = true;
      return utf8_to_cp1252(eq + 1);
    }
  }
  return {};
}

// %NAME% expansion of a command line, before anything else and regardless of
// quotes, as cmd.exe does it outside batch files: a defined name is replaced
// by its value; an undefined one keeps "%NAME" and scanning goes on at its
// closing "%"; a lone "%" stays.
static std::string expand_variables(const std::string& line, Refusal& refusal) {
  std::string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '%') {
      out += line[i++];
      continue;
    }
    std::size_t close = line.find('%', i + 1);
    if (close == std::string::npos) {
      out += line.substr(i);
      break;
    }
    std::string name = line.substr(i + 1, close - i - 1);
    bool found = false;
    std::string value;
    std::size_t colon = name.find(':');
    if (colon != std::string::npos) {
      env_value(name.substr(0, colon), found);
      if (found) {
        refusal.set("substring or substitution of a variable (%" + name + "%)");
        return line;
      }
    } else {
      value = env_value(name, found);
    }
    if (found) {
      out += value;
      i = close + 1;
    } else {
      out += '%';
      out += name;
      i = close;
    }
  }
  return out;
}

// Splits the line at "&" and takes out the "> target" of each command.
// Characters between quotes, and characters after "^", are plain text.
static std::vector<Command> split_commands(const std::string& line, Refusal& refusal) {
  std::vector<Command> cmds(1);
  bool quoted = false;
  std::size_t i = 0;
  auto cur = [&]() -> Command& { return cmds.back(); };
  while (i < line.size() && !refusal.refused) {
    char c = line[i];
    if (quoted) {
      cur().text += c;
      if (c == '"') quoted = false;
      ++i;
      continue;
    }
    switch (c) {
      case '"':
        quoted = true;
        cur().text += c;
        ++i;
        break;
      case '^':
        if (i + 1 >= line.size()) {
          refusal.set("\"^\" at the end of the line");
        } else {
          cur().text += line[i + 1];
          i += 2;
        }
        break;
      case '&':
        if (i + 1 < line.size() && line[i + 1] == '&') {
          refusal.set("\"&&\"");
        } else {
          cmds.emplace_back();
          ++i;
        }
        break;
      case '|':
        refusal.set(i + 1 < line.size() && line[i + 1] == '|' ? "\"||\"" : "pipe \"|\"");
        break;
      case '<':
        refusal.set("input redirection \"<\"");
        break;
      case '(':
        if (cur().text.find_first_not_of(" \t,;=@") == std::string::npos) {
          refusal.set("command block \"(\"");
        } else {
          cur().text += c;
          ++i;
        }
        break;
      case '>': {
        if (i + 1 < line.size() && line[i + 1] == '>') {
          refusal.set("appending redirection \">>\"");
          break;
        }
        if (i + 1 < line.size() && line[i + 1] == '&') {
          refusal.set("handle redirection \">&\"");
          break;
        }
        const std::string& t = cur().text;
        if (!t.empty() && t.back() >= '0' && t.back() <= '9' && (t.size() == 1 || is_delim(t[t.size() - 2]))) {
          refusal.set("redirection of a numbered handle");
          break;
        }
        if (cur().redirect) {
          refusal.set("more than one \">\" in a command");
          break;
        }
        ++i;
        while (i < line.size() && is_delim(line[i])) ++i;
        std::string target;
        bool q = false;
        while (i < line.size()) {
          char d = line[i];
          if (q) {
            if (d == '"') q = false;
            else target += d;
            ++i;
            continue;
          }
          if (d == '"') {
            q = true;
            ++i;
          } else if (d == '^' && i + 1 < line.size()) {
            target += line[i + 1];
            i += 2;
          } else if (is_delim(d) || d == '&' || d == '|' || d == '<' || d == '>') {
            break;
          } else {
            target += d;
            ++i;
          }
        }
        cur().redirect = true;
        cur().target = target;
        break;
      }
      default:
        cur().text += c;
        ++i;
    }
  }
  return cmds;
}

static Args split_args(const std::string& text) {
  Args a;
  std::size_t i = 0;
  while (i < text.size() && (is_delim(text[i]) || text[i] == '@')) ++i;
  std::size_t start = i;
  if (i < text.size() && text[i] == '"') {
    // A command name in quotes names a program (never an internal command),
    // quotes and all.
    std::size_t close = text.find('"', i + 1);
    i = close == std::string::npos ? text.size() : close + 1;
  }
  while (i < text.size() && !is_delim(text[i]) && text[i] != '/' && text[i] != '"') ++i;
  a.name = upper(text.substr(start, i - start));
  a.rest = text.substr(i);
  while (i < text.size()) {
    while (i < text.size() && is_delim(text[i])) ++i;
    if (i >= text.size()) break;
    std::string tok;
    bool q = false;
    bool sw = text[i] == '/';
    if (sw) ++i;
    while (i < text.size()) {
      char c = text[i];
      if (q) {
        if (c == '"') q = false;
        else tok += c;
        ++i;
        continue;
      }
      if (c == '"') {
        q = true;
        ++i;
      } else if (is_delim(c) || (sw && c == '/')) {
        break;
      } else {
        tok += c;
        ++i;
      }
    }
    if (sw) a.switches.push_back(upper(tok));
    else a.operands.push_back(tok);
  }
  return a;
}

// cmd.exe's internal commands that this interpreter does not carry: naming one
// is a refused form, not an unknown command.
static bool is_cmd_builtin(const std::string& n) {
  static const char* const names[] = {"ASSOC", "BREAK", "CALL", "CLS", "COLOR", "COPY", "DATE", "DEL", "ECHO",
                                      "ENDLOCAL", "ERASE", "EXIT", "FOR", "FTYPE", "GOTO", "IF", "MKLINK", "PATH",
                                      "PAUSE", "POPD", "PROMPT", "PUSHD", "RD", "REM", "REN", "RENAME", "RMDIR",
                                      "SET", "SETLOCAL", "SHIFT", "START", "TIME", "TITLE", "TYPE", "VER", "VERIFY",
                                      "VOL"};
  for (const char* b : names)
    if (n == b) return true;
  return false;
}

// The checks of a command's form, made for every command of a line before
// the first one runs. Path forms do not depend on the current folder, so a
// placeholder folder serves.
static void check_path(const std::string& arg, const std::string& what, Refusal& refusal) {
  WinPath p, dummy;
  std::string why;
  if (!resolve(dummy, arg, p, why)) refusal.set(what + " of a " + why);
}

static void check_command(const Command& c, const Args& a, Refusal& refusal) {
  if (c.redirect && !c.target.empty() && !same_name(c.target, "NUL") && !same_name(c.target, "NUL:"))
    check_path(c.target, "redirection", refusal);
  if (a.name.empty()) {
    if (c.redirect) refusal.set("redirection without a command");
    return;
  }
  if (a.name == "DIR") {
    bool bare = false, sub = false;
    for (const std::string& s : a.switches) {
      if (s == "B") bare = true;
      else if (s == "S") sub = true;
      else if (s != "AD" && s != "A:D") refusal.set("DIR switch /" + s);
    }
    if (sub && !bare) refusal.set("DIR /S without /B");
    if (a.operands.size() > 1) refusal.set("DIR of more than one name");
    if (a.operands.size() == 1) {
      check_path(a.operands[0], "DIR", refusal);
      WinPath p, dummy;
      std::string why;
      if (resolve(dummy, a.operands[0], p, why))
        for (std::size_t i = 0; i + 1 < p.parts.size(); ++i)
          if (has_wildcard(p.parts[i])) refusal.set("DIR with a wildcard in a folder name");
    }
  } else if (a.name == "MKDIR" || a.name == "MD") {
    if (!a.switches.empty()) refusal.set("MKDIR switch /" + a.switches[0]);
    if (a.operands.size() > 1) refusal.set("MKDIR of more than one folder");
    if (a.operands.size() == 1) {
      check_path(a.operands[0], "MKDIR", refusal);
      if (has_wildcard(a.operands[0])) refusal.set("MKDIR with a wildcard");
    }
  } else if (a.name == "CD" || a.name == "CHDIR") {
    for (const std::string& s : a.switches)
      if (s != "D") refusal.set("CD switch /" + s);
    for (const std::string& o : a.operands) check_path(o, "CD", refusal);
  } else if (a.name == "CHCP") {
    if (!a.switches.empty()) refusal.set("chcp switch /" + a.switches[0]);
    if (a.operands.size() > 1) refusal.set("chcp with more than one argument");
  } else if (a.name == "MOVE") {
    if (!a.switches.empty()) refusal.set("MOVE switch /" + a.switches[0]);
    if (a.operands.size() > 2) refusal.set("MOVE of more than one name");
    for (const std::string& o : a.operands) {
      check_path(o, "MOVE", refusal);
      if (has_wildcard(o)) refusal.set("MOVE with a wildcard");
    }
  } else if (is_cmd_builtin(a.name)) {
    refusal.set("command " + a.name);
  }
}

ParsedLine parse_command_line(std::string_view line_in) {
  ParsedLine parsed;
  Refusal refusal;
  std::string line = expand_variables(std::string(line_in), refusal);
  if (!refusal.refused) parsed.commands = split_commands(line, refusal);
  for (const Command& c : parsed.commands) {
    parsed.args.push_back(split_args(c.text));
    if (!refusal.refused) check_command(c, parsed.args.back(), refusal);
  }
  if (parsed.commands.size() > 1)
    for (const Args& a : parsed.args)
      if (a.name.empty()) refusal.set("empty command beside \"&\"");
  parsed.refused = refusal.refused;
  parsed.why = refusal.why;
  return parsed;
}

}  // namespace command_interpreter
