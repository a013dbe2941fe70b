// Path and file utilities on Windows-style paths, file times, waits for
// files, sleeping and elapsed time.
#include "common/paths.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "common/messages.h"
#include "common/platform.h"
#include "common/stop.h"
#include "common/trace.h"

namespace paths {

SleepFunction wait_sleep = nullptr;
TimeOfDayFunction time_of_day = nullptr;

void wait_pause(int ms) {
  if (wait_sleep != nullptr) {
    wait_sleep(ms);
  } else {
    My_Sleep(ms);
  }
}

int now_of_day_ms() {
  if (time_of_day != nullptr) return time_of_day();
  LocalTime t = local_time();
  return ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

constexpr int kPollMs = 2000;
// The waits give up after 12 hours: the counter counts seconds, 2 per poll.
constexpr int kWaitLimit = 43199;

// Ends the program with the message of a wait that ran out of time.
[[noreturn]] void wait_timed_out(std::string_view names) {
  Field<512> msg(std::string("waiting for") + std::string(names) + " : 12 hours");
  int status = 1;
  error_message(status, msg, qline);
  stop_program();
}

}  // namespace paths

using namespace paths;

void extract_name(std::string_view path, FieldRef name) {
  std::string_view p = trim_right(path);
  std::size_t k = p.rfind('\\');
  name = k == std::string_view::npos ? p : p.substr(k + 1);
}

void extract_path_name(std::string_view path, FieldRef folder, FieldRef name) {
  Field<1024> p(path);
  std::string_view t = p.trimmed();
  if (t.empty()) {
    folder.blank();
    name.blank();
  } else if (t == "..") {
    folder = "..\\";
    name.blank();
  } else {
    std::size_t k = t.rfind('\\');
    if (k == std::string_view::npos) {
      folder = ".\\";
      name = t;
    } else {
      folder = t.substr(0, k + 1);
      name = t.substr(k + 1);
    }
  }
}

void updir(std::string_view path, FieldRef parent) {
  std::string_view p = trim_right(path);
  // The last character is not looked at: a trailing backslash does not count.
  std::size_t k = p.size() >= 2 ? p.rfind('\\', p.size() - 2) : std::string_view::npos;
  if (k == std::string_view::npos) {
    parent.blank();
  } else if (k == 0) {
    parent = p;
  } else {
    parent = p.substr(0, k);
  }
}

int delete_file(std::string_view fnam) {
  std::string_view name = trim_right(fnam);
  if (!file_exists(name)) {
    trace("delete_file", name, "INEXISTING");
    return -1;
  }
  // Opened as an existing file for writing first, so that a file that
  // cannot be written (locked, read-only) is reported as such.
  std::FILE* f = open_file(name, "r+b");
  int open_status = f != nullptr ? 0 : (errno != 0 ? errno : -1);
  trace("delete_file", name, "OPEN", open_status);
  if (f == nullptr) return open_status;
  std::fclose(f);
  int delete_status = remove_path(name);
  trace("delete_file", name, "DELETE", delete_status);
  return delete_status;
}

bool folder_writable(std::string_view folder) {
  std::string_view dir = trim_right(folder);
  // The test file name is not cut to a path field: a cut name could be the
  // name of another file, which the test would overwrite and delete.
  std::string test_file = std::string(dir) + "\\tmp_TMP_tmp_TMP_tmp_TMP_tmp_TMP_tmp.txt";
  trace("check_writable_folder", test_file);

  constexpr int kNotRun = -1;
  int open_status = kNotRun, rewind_status = kNotRun, write_status = kNotRun, close_status = kNotRun;
  std::FILE* f = open_file(test_file, "w");
  open_status = f != nullptr ? 0 : (errno != 0 ? errno : -1);
  if (f != nullptr) {
    std::rewind(f);
    rewind_status = std::ferror(f) ? EIO : 0;
    if (rewind_status == 0) {
      std::fputs("TMP TMP TMP TMPTMP TMPTMP TMP TMP TMP TMP TMP\n", f);
      write_status = std::ferror(f) ? EIO : 0;
    }
    // Closed with deletion in any case: the test leaves nothing behind.
    bool flushed = std::fclose(f) == 0;
    int removed = remove_path(test_file);
    close_status = !flushed ? EIO : removed;
  }
  trace("check_writable_folder", open_status, rewind_status, write_status, close_status);
  return open_status == 0 && rewind_status == 0 && write_status == 0 && close_status == 0;
}

void check_writable_folder(std::string_view folder, std::string_view msg_tit) {
  if (folder_writable(folder)) return;
  std::string_view dir = trim_right(folder);
  std::string text;
  if (qfr) {
    text = "Le dossier " + std::string(dir) + " n'est pas accessible en \xE9" "criture" +
           "/Modifiez les droit d'acc\xE8" "s du dossier" + "/Ou installez Quenar \xE0 un autre emplacement";
  } else {
    text = "The " + std::string(dir) + " folder is not writable/Change the access rights of the folder" +
           "/Or install in another location";
  }
  Field<512> msg(text);
  int status = 1;
  error_message_tit(status, msg_tit, msg, qline);
  stop_program();
}

std::int64_t modified_date(std::string_view infile) {
  std::int64_t t = file_mtime(trim_right(infile));
  trace("modified_date", infile, t);
  return t;
}

bool is_file_updated(std::int64_t t_start, std::string_view infile) {
  std::int64_t t = modified_date(infile);
  return t != -1 && t >= t_start;
}

void wait_for_file(std::int64_t t_start, std::string_view infile) {
  std::string_view name = trim_right(infile);
  int counter = 0;
  trace("waiting for", name, counter, t_start);
  for (;;) {
    if (is_file_updated(t_start, name)) {
      wait_pause(kPollMs);
      return;
    }
    wait_pause(kPollMs);
    if (counter > kWaitLimit) wait_timed_out(name);
    counter += 2;
    if (counter % 10 == 0) trace("waiting for", name, counter, t_start);
  }
}

void wait_for_2_files(std::int64_t t_start, std::string_view infile1, std::string_view infile2, int& nmod) {
  std::string_view name1 = trim_right(infile1), name2 = trim_right(infile2);
  int counter = 0;
  trace("waiting for", name1, name2, counter, t_start);
  for (;;) {
    std::int64_t t1 = modified_date(name1), t2 = modified_date(name2);
    std::int64_t newer = t1 >= t2 ? t1 : t2;
    if (newer != -1 && newer >= t_start) {
      nmod = t1 >= t2 ? 1 : 2;
      wait_pause(kPollMs);
      return;
    }
    wait_pause(kPollMs);
    if (counter > kWaitLimit) wait_timed_out(std::string(name1) + " " + std::string(name2));
    counter += 2;
    if (counter % 10 == 0) trace("waiting for", name1, name2, counter, t_start);
  }
}

void set_wait_sleep(SleepFunction sleep) { wait_sleep = sleep; }

void set_time_of_day(TimeOfDayFunction clock) { time_of_day = clock; }

void My_Sleep(int dwMilliseconds) { sleep_milliseconds(dwMilliseconds); }

int elapsed_ms() {
  static bool started = false;
  static int start = 0;
  int now = now_of_day_ms();
  if (!started) {
    started = true;
    start = now;
    return 0;
  }
  int d = now - start;
  return d < 0 ? d + 86400000 : d;
}

double elapsed_time() {
  static bool started = false;
  static double start = 0;
  double now = now_of_day_ms() * 0.001;
  if (!started) {
    started = true;
    start = now;
    return 0;
  }
  double d = now - start;
  return d < 0 ? d + 86400 : d;
}
