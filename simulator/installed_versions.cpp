// Installed versions and the active one.
#include "simulator/installed_versions.h"

#include <cstdint>
#include <string>

#include "common/logging.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/trace.h"
#include "simulator/install_dir.h"
#include "simulator/prefix_search.h"
#include "simulator/user_files.h"

CondorInstall inst00;

namespace installed_versions {

// Whether `instpath` holds the simulator's program.
static bool has_program(const Field<256>& instpath) {
  return file_exists(std::string(instpath.trimmed()) + "\\Condor.exe");
}

// Fills a pilot or user files folder of one version. A lookup that finds no
// folder leaves the field blank (never the version marker), so that no file
// is looked for in a folder that is not one.
static void user_folder(std::string_view msgpltfldr, bool qpilot, bool v3, Field<256>& folder) {
  folder = v3 ? "3" : "";
  if (get_condor_2_path(msgpltfldr, false, qpilot, folder) == 0) folder.blank();
}

// Modification time of `file` in `folder`; -1 when the folder is unknown or
// the file is missing.
static std::int64_t date_in(const Field<256>& folder, const char* file) {
  if (folder.is_blank()) return -1;
  Field<256> name(std::string(folder.trimmed()) + file);
  return modified_date(name.trimmed());
}

static void copy_active(int version) {
  if (version == 2) {
    inst00.cndrrootpath = inst00.rootpath2;
    inst00.cndrpilpath = inst00.pilpath2;
    inst00.cndrinstpath = inst00.instpath2;
  } else {
    inst00.cndrpilpath = inst00.pilpath3;
    inst00.cndrrootpath = inst00.rootpath3;
    inst00.cndrinstpath = inst00.instpath3;
  }
}

}  // namespace installed_versions

int check_condor_install(std::string_view msgpltfldr) {
  choose_wine_prefix();
  return find_condor_install(msgpltfldr, true);
}

int find_condor_install(std::string_view msgpltfldr, bool reported) {
  using namespace installed_versions;
  inst00.qc2 = get_condor_inst_dir(2, inst00.instpath2, !reported) == 2;
  if (inst00.qc2) inst00.qc2 = has_program(inst00.instpath2);
  inst00.qc3 = get_condor_inst_dir(3, inst00.instpath3, !reported) == 3;
  if (inst00.qc3) inst00.qc3 = has_program(inst00.instpath3);

  int result = 0;
  if (inst00.qc2) {
    if (reported) log_message_f("Condor 2 install path: " + std::string(inst00.instpath2.trimmed()));
    user_folder(msgpltfldr, true, false, inst00.pilpath2);
    user_folder(msgpltfldr, false, false, inst00.rootpath2);
    result = 2;
  }
  if (inst00.qc3) {
    if (reported) log_message_f("Condor 3 install path: " + std::string(inst00.instpath3.trimmed()));
    user_folder(msgpltfldr, true, true, inst00.pilpath3);
    user_folder(msgpltfldr, false, true, inst00.rootpath3);
    result = 3;
  }

  if (inst00.qc2 && inst00.qc3) {
    inst00.cndrvers = 0;
    copy_active(3);
  } else if (inst00.qc2) {
    inst00.cndrvers = 2;
    copy_active(2);
  } else if (inst00.qc3) {
    inst00.cndrvers = 3;
    copy_active(3);
  }
  return result;
}

void get_active_condor_version() {
  using namespace installed_versions;
  if (!inst00.qc2 && !inst00.qc3) check_condor_install(" ");
  trace("get_active_condor_version");
  trace("");

  if (inst00.qc2 && inst00.qc3) {
    // The installation flown last; when none of the four files is there,
    // Condor 2.
    UseDate dates[4];
    use_dates(dates);
    int last = used_last(dates, 4);
    inst00.cndrvers = last >= 0 && dates[last].owner == 3 ? 3 : 2;
  } else if (inst00.qc2) {
    inst00.cndrvers = 2;
  } else if (inst00.qc3) {
    inst00.cndrvers = 3;
  }
  copy_active(inst00.cndrvers);
  trace(inst00.cndrvers, inst00.cndrinstpath, inst00.cndrpilpath);
}

void use_dates(UseDate (&dates)[4]) {
  using installed_versions::date_in;
  const char* const plan = "\\FlightPlan.fpl";
  const char* const log = "\\Logs\\Logfile.txt";
  dates[0] = {inst00.qc3 ? date_in(inst00.pilpath3, plan) : -1, 3};
  dates[1] = {inst00.qc2 ? date_in(inst00.pilpath2, plan) : -1, 2};
  dates[2] = {inst00.qc3 ? date_in(inst00.instpath3, log) : -1, 3};
  dates[3] = {inst00.qc2 ? date_in(inst00.instpath2, log) : -1, 2};
}

int used_last(const UseDate* dates, int count) {
  std::int64_t newest = 0;
  int last = -1;
  for (int i = 0; i < count; ++i) {
    if (dates[i].time > newest) {
      newest = dates[i].time;
      last = i;
    }
  }
  return last;
}
