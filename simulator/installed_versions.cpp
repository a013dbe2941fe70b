// Installed versions and the active one.
#include "simulator/installed_versions.h"

#include <cstdint>
#include <string>

#include "common/logging.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/trace.h"
#include "simulator/install_dir.h"
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
  using namespace installed_versions;
  inst00.qc2 = get_condor_inst_dir(2, inst00.instpath2, false) == 2;
  if (inst00.qc2) inst00.qc2 = has_program(inst00.instpath2);
  inst00.qc3 = get_condor_inst_dir(3, inst00.instpath3, false) == 3;
  if (inst00.qc3) inst00.qc3 = has_program(inst00.instpath3);

  int result = 0;
  if (inst00.qc2) {
    log_message_f("Condor 2 install path: " + std::string(inst00.instpath2.trimmed()));
    user_folder(msgpltfldr, true, false, inst00.pilpath2);
    user_folder(msgpltfldr, false, false, inst00.rootpath2);
    result = 2;
  }
  if (inst00.qc3) {
    log_message_f("Condor 3 install path: " + std::string(inst00.instpath3.trimmed()));
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
    // The installation flown last: the newest of the two flight plans and the
    // two logs, taken in this order, each only when strictly newer, so that
    // on equal times the earlier candidate wins.
    const struct {
      std::int64_t time;
      int version;
    } candidates[] = {
        {date_in(inst00.pilpath3, "\\FlightPlan.fpl"), 3},
        {date_in(inst00.pilpath2, "\\FlightPlan.fpl"), 2},
        {date_in(inst00.instpath3, "\\Logs\\Logfile.txt"), 3},
        {date_in(inst00.instpath2, "\\Logs\\Logfile.txt"), 2},
    };
    std::int64_t newest = 0;
    int version = 0;
    for (const auto& c : candidates) {
      if (c.time > newest) {
        newest = c.time;
        version = c.version;
      }
    }
    inst00.cndrvers = version == 3 ? 3 : 2;
  } else if (inst00.qc2) {
    inst00.cndrvers = 2;
  } else if (inst00.qc3) {
    inst00.cndrvers = 3;
  }
  copy_active(inst00.cndrvers);
  trace(inst00.cndrvers, inst00.cndrinstpath, inst00.cndrpilpath);
}
