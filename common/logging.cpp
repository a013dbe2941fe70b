// The log: each message goes line by line to standard output and then to the
// log file, framed by a banner when it carries a level marker.
#include "common/logging.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "common/cstring_bridge.h"
#include "common/field.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text_utils.h"
#include "common/trace.h"

namespace logging {

constexpr int kMessageWidth = 1024;

// The log file; no folder part, so it lies in the current folder.
Field<256> filnam("Logfile.txt");
// The log channel: open only while a message is written, unless a caller
// already had it open.
std::FILE* channel = nullptr;

std::string repeat(std::string_view s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

struct Level {
  std::string_view marker;
  std::string banner;
};
const Level kLevels[] = {
    {"{W}", "+ WARNING " + repeat("+-", 34)},
    {"{I}", "+ INFO " + repeat("+-", 36)},
    {"{E}", "+ ERROR " + repeat("+-", 35)},
};
const std::string kFooter = repeat("+-", 39);

// One line: first to the console, then to the log when it is open.
void put_line(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  if (channel != nullptr) {
    std::fwrite(line.data(), 1, line.size(), channel);
    std::fputc('\n', channel);
  }
}

std::string two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Starts a new log file named `name`, or after the program file when `name`
// is blank (its extension replaced by the date and time and ".log").
void create_log(std::string_view name) {
  LocalTime t = local_time();
  std::string year = std::to_string(t.year);
  filnam = trim_left(name);
  if (filnam.is_blank()) {
    // The program may have been started as ./vantyr or C:/tools/Vantyr.exe:
    // "/" separates folders in its name as "\" does.
    std::string started = program_name();
    std::replace(started.begin(), started.end(), '/', '\\');
    Field<256> program;
    extract_name(started, program);
    std::string stem(program.trimmed());
    stem = stem.substr(0, std::min(stem.find('.'), stem.size()));
    filnam = stem + "_" + year + "_" + two(t.month) + "_" + two(t.day) + "-" + two(t.hour) + "_" + two(t.minute) +
             "_" + two(t.second) + ".log";
  }
  std::FILE* f = open_file(filnam.trimmed(), "w");
  int status = f != nullptr ? 0 : (errno != 0 ? errno : -1);
  if (f != nullptr) {
    std::string stamp = year + "-" + two(t.month) + "-" + two(t.day) + " " + two(t.hour) + ":" + two(t.minute) +
                        ":" + two(t.second);
    std::fprintf(f, "%s\n\n", stamp.c_str());
    std::fclose(f);
  }
  trace("CREATE", filnam, status);
}

}  // namespace logging

using namespace logging;

void log_message_f(std::string_view msg_in) {
  Field<kMessageWidth> msg(msg_in);
  if (msg.view().substr(0, 6) == "CREATE") {
    create_log(msg.view().substr(6));
    return;
  }

  bool was_open = channel != nullptr;
  if (!was_open) {
    // A log that cannot be opened (an unwritable folder) loses its lines;
    // the console still gets them.
    channel = open_file(filnam.trimmed(), "a");
  }

  Field<kMessageWidth> text;
  const Level* level = nullptr;
  if (!msg.is_blank()) {
    for (const Level& l : kLevels) {
      if (msg.view().substr(0, 3) == l.marker) level = &l;
    }
    text = level != nullptr ? msg.view().substr(3) : msg.view();
  }
  if (level != nullptr) put_line(level->banner);

  make_printable(text);
  std::string_view t = text.trimmed();
  if (t.empty()) {
    put_line(" ");
  } else if (t.front() == '"' && t.back() == '"') {
    put_line(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string_view());
  } else {
    std::size_t start = 0;
    for (;;) {
      std::size_t slash = t.find('/', start);
      put_line(trim_right(t.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start)));
      if (slash == std::string_view::npos) break;
      start = slash + 1;
    }
  }

  if (level != nullptr) put_line(kFooter);
  if (channel != nullptr) {
    std::fflush(channel);
    if (!was_open) {
      std::fclose(channel);
      channel = nullptr;
    }
  }
}

void log_message(const char* string) {
  Field<kMessageWidth> msg;
  int ls = 0;
  strcpy_c2f(string, msg, ls);
  log_message_f(msg.view());
}
