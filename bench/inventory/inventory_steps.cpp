// The towplane inventory and locating steps of the program, timed: the
// installation of $WINEPREFIX is found as the program finds it, the form
// definition beside this program is read, then listing the towplanes,
// filling the form and locating them run exactly as in the program's run.
// Standard output gets one line: the milliseconds of those steps (elapsed,
// then processor time) and what they found (towplanes listed, found, active,
// hidden); the program's trace goes to standard error, its log to
// Logfile.txt in the current folder.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/towplanes.h"
#include "common/platform.h"
#include "forms/my_forms.h"
#include "simulator/install_dir.h"
#include "simulator/installed_versions.h"

using namespace towplanes;

// Processor time of the process so far (user and system), in milliseconds.
static double cpu_ms() {
  struct rusage u;
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

int main(int /*argc*/, char** argv) {
  set_program_name(argv[0]);
  std::FILE* results = take_standard_output();
  if (results == nullptr) return 2;

  Field<32> prompt;
  if (check_condor_install(prompt.view()) == 0) {
    std::fprintf(stderr, "inventory_steps: no Condor installation\n");
    return 1;
  }
  get_inst_path(instpath);
  fnam = instpath.str() + std::string(kFormFile);
  tmpfil = instpath.str() + std::string(kListingFile);
  if (frm_read_form(fnam.trimmed()) != 0) {
    std::fprintf(stderr, "inventory_steps: %s cannot be read\n", std::string(fnam.trimmed()).c_str());
    return 1;
  }
  get_active_condor_version();
  set_towplane_folders(inst00.cndrinstpath.view());

  double cpu_start = cpu_ms();
  auto start = std::chrono::steady_clock::now();
  list_towplanes();
  fill_form();
  locate_towplanes();
  auto end = std::chrono::steady_clock::now();
  double cpu = cpu_ms() - cpu_start;

  std::fflush(stdout);
  double ms = std::chrono::duration<double, std::milli>(end - start).count();
  std::fprintf(results, "%.3f %.3f %d %d %d %d\n", ms, cpu, npln, nfound, nact, ninact);
  std::fclose(results);
  return 0;
}
