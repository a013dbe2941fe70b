// Install directory lookup and the program's own folder.
#include "simulator/install_dir.h"

#include <cstdio>
#include <string>

#include "common/convert.h"
#include "common/cstring_bridge.h"
#include "common/logging.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/stop.h"
#include "common/text_utils.h"
#include "common/trace.h"
#include "simulator/installed_versions.h"

namespace install_dir {

// Reads one line of a text file as a field of `width` characters: a longer
// line is cut (its rest skipped), the line end (LF or CR LF) is not part of
// it. Returns false at the end of the file or on a read error.
static bool read_line(std::FILE* f, std::string& line, std::size_t width) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() <= width) line.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > width) line.resize(width);
  return true;
}

// The major version named by the version line among the first six lines of
// the simulator's log, or 0.
static int log_version(std::string_view logfile) {
  std::FILE* f = open_file(logfile, "r");
  if (!f) return 0;
  int version = 0;
  std::string line;
  const std::string_view marker = "Condor version:";
  for (int n = 0; n < 6 && read_line(f, line, 132); ++n) {
    if (line.compare(0, marker.size(), marker) != 0) continue;
    int v = 0;
    if (read_int(std::string_view(line).substr(marker.size()), v)) version = v / 1000;
    break;
  }
  std::fclose(f);
  return version;
}

}  // namespace install_dir

int get_condor_inst_dir(int nc, FieldRef path, bool silent) {
  if (nc == -2 || nc == -3) {
    const Field<256>& known = nc == -2 ? inst00.instpath2 : inst00.instpath3;
    if (!known.is_blank()) {
      path = known.view();
      return -nc;
    }
    nc = -nc;
  }
  const char* key = nullptr;
  switch (nc) {
    case 1: key = "SOFTWARE\\Condor\\"; break;
    case 2: key = "SOFTWARE\\Condor2\\"; break;
    case 3: key = "SOFTWARE\\Condor3\\"; break;
    default: {
      trace(nc);
      int status = 1;
      Field<512> msg("get_condor_inst_dir : incorrect Condor version");
      error_message(status, msg, false);
      stop_program();
    }
  }

  RegValue value{};
  int len = 0;
  int status = RdUsrReg(key, "InstallDir", value, len);
  // A folder whose name, with the log's, does not fit a path field would be
  // looked for under a cut name: it is refused, saying so, and not taken for
  // a missing installation.
  const std::string_view log_name = "\\Logs\\Logfile.txt";
  const std::size_t longest = static_cast<std::size_t>(path.size()) - log_name.size();
  std::string_view folder = status == 0 ? trim_right(std::string_view(value.data())) : std::string_view();
  if (status == reg_more_data || folder.size() > longest) {
    std::string line = "*** Condor" + std::to_string(nc) + " install folder: its name is longer than " +
                       std::to_string(longest) + " characters ***";
    if (!folder.empty()) line += " " + std::string(folder);
    if (!silent) {
      log_message_f(line);
      int msg_status = 0;
      Field<512> msg(line);
      error_message(msg_status, msg, true);
    }
    path.blank();
    return 0;
  }
  if (status != 0) {
    if (!silent) {
      // Told on the console, not in a box: a user with only one of the two
      // versions would otherwise be told at every start that the other one
      // is missing, as if something were wrong.
      int msg_status = 0;
      Field<512> msg("*** Condor" + std::to_string(nc) + " installation not detected on this computer ***");
      error_message(msg_status, msg, true);
    }
    trace(status);
    path.blank();
    return 0;
  }

  int ls = 0;
  strcpy_c2f(value.data(), path, ls);
  Field<256> logfile(std::string(path.trimmed()) + std::string(log_name));
  trace(path);
  trace(logfile);
  int version = install_dir::log_version(logfile.trimmed());
  trace(version);
  return version;
}

void get_inst_path(FieldRef instpath) {
  char name[512];
  int n = GetExePath(name, static_cast<int>(sizeof name));
  if (n > 0) {
    Field<512> full;
    int ls = 0;
    strcpy_c2f(name, full, ls);
    Field<256> file;
    extract_path_name(full.trimmed(), instpath, file);
  } else {
    instpath.blank();
  }
  if (instpath.size() > 1 && instpath[1] == ':') majusc(FieldRef(instpath.data(), 1));
}
