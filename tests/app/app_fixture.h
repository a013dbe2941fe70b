// A generated simulator installation for the towplane manager's tests, with
// the program's steps run in this process (prepare) or the program run as a
// process of its own (run_program).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/towplanes.h"
#include "forms/my_forms.h"
#include "tests/simulator/sim_fixture.h"

namespace app_test {

using namespace sim_test;

// What a run wrote: standard output (line ends as LF) and the log.
struct Output {
  std::string out;
  std::vector<std::string> log;
  bool has(const std::string& text) const { return out.find(text) != std::string::npos; }
  // A message box as the console dialog writes it: title line, then the text.
  bool box(const std::string& text) const { return has("Vantyr\n" + text + "\n"); }
  bool logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
};

inline std::string without_cr(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

inline std::string built(const std::string& name) {
  const char* dir = std::getenv("VANTYR_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/app/" + name;
}

inline std::string program_file() { return windows_build() ? "Vantyr.exe" : "vantyr"; }

// A towplane name of 40 characters; the program keeps its first 32.
inline const std::string kLongName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD";

class AppTest : public Simulator {
 protected:
  // Condor `version` under a folder whose name holds a blank.
  SimVersion& install(int version) {
    SimVersion& v = add(version);
    v.install_dir = folder("Program Files\\Condor" + std::to_string(version));
    return v;
  }
  std::string host(const std::string& win) const { return fixture_host_path(setup, win); }
  bool exists(const std::string& win) const { return fs::exists(host(win)); }
  fs::path run_dir() const { return tmp.path() / "run"; }

  // Copies the built program and its form into a folder whose name holds a
  // blank; `form` replaces the form's text when given.
  fs::path program_dir(const std::string& form = "") {
    fs::path dir = tmp.path() / "Vantyr Program";
    fs::create_directories(dir);
    fs::copy_file(built(program_file()), dir / program_file(), fs::copy_options::overwrite_existing);
    if (form.empty()) {
      fs::copy_file(built("Vantyr_form.frm"), dir / "Vantyr_form.frm", fs::copy_options::overwrite_existing);
    } else {
      write_file(dir / "Vantyr_form.frm", form);
    }
    return dir;
  }

  // Runs the program from `dir` in the run folder, with VANTYR_DIALOGS=console
  // (set for every test) and no input; `env` goes before it (Linux).
  Output run_program(const fs::path& dir, const std::string& env = "") {
    fs::path out = tmp.path() / "out.txt";
    std::string prog = (dir / program_file()).string();
    std::string cmd = windows_build()
                          ? "cd /d \"" + run_dir().string() + "\" && \"" + prog + "\" < NUL > \"" + out.string() + "\" 2>&1"
                          : "cd '" + run_dir().string() + "' && " + env + " '" + prog + "' < /dev/null > '" + out.string() + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return collect(out);
  }

  Output collect(const fs::path& out) {
    Output o;
    std::ifstream f(out, std::ios::binary);
    o.out = without_cr(std::string(std::istreambuf_iterator<char>(f), {}));
    o.log = read_lines(run_dir() / "Logfile.txt");
    return o;
  }

  // The program's steps up to the form, in this process: the installation,
  // the shipped form, the towplanes listed, the form filled, the towplanes
  // located.
  void prepare() {
    make();
    ASSERT_EQ(check_condor_install(" "), setup.versions.back().version);
    get_active_condor_version();
    set_towplane_folders(inst00.cndrinstpath.view());
    towplanes::tmpfil = program_path(tmp.path() / "Vantyr_planes_list.txt");
    ASSERT_EQ(frm_read_form(program_path(built("Vantyr_form.frm"))), 0);
    list_towplanes();
    fill_form();
    locate_towplanes();
  }

  // Sets the tick of the towplane named `name`.
  void tick(const std::string& name, bool on) {
    int n = frm_get_number(name);
    ASSERT_GT(n, 0) << name;
    frm_set_value(n, on ? 1 : 0, on ? 1.0f : 0.0f, on ? "1" : "0", false);
  }
};

}  // namespace app_test
