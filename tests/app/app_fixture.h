// A generated simulator installation for the towplane manager's tests: the
// program's steps run in this process (prepare), or the program run as a
// process of its own (run_program).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/towplanes.h"
#include "forms/my_forms.h"
#include "tests/simulator/sim_fixture.h"

namespace app_test {

using namespace sim_test;

// Standard output of a run (line ends as LF) and its log.
struct Output {
  std::string out;
  std::vector<std::string> log;
  bool has(const std::string& text) const { return out.find(text) != std::string::npos; }
  // A message box as the console dialog writes it: the title, then the text.
  bool box(const std::string& text) const { return has("Vantyr\n" + text + "\n"); }
  bool logged(const std::string& l) const { return std::find(log.begin(), log.end(), l) != log.end(); }
};

inline std::string without_cr(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

inline std::string built(const std::string& name) { return std::string(std::getenv("VANTYR_BINARY_DIR")) + "/app/" + name; }
inline std::string program_file() { return windows_build() ? "Vantyr.exe" : "vantyr"; }

// A towplane name of 40 characters; the program keeps its first 32.
inline const std::string kLongName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD";
inline const std::string kLong32 = kLongName.substr(0, 32);

class AppTest : public Simulator {
 protected:
  // Condor `version` in a folder whose name holds a blank.
  SimVersion& install(int version) {
    SimVersion& v = add(version);
    v.install_dir = folder("Program Files\\Condor" + std::to_string(version));
    return v;
  }
  std::string host(const std::string& win) const { return fixture_host_path(setup, win); }
  fs::path run_dir() const { return tmp.path() / "run"; }

  // The built program and its form (or `form`) in a folder with a blank.
  fs::path program_dir(const std::string& form = "") {
    fs::path dir = tmp.path() / "Vantyr Program";
    fs::create_directories(dir);
    fs::copy_file(built(program_file()), dir / program_file(), fs::copy_options::overwrite_existing);
    fs::remove(dir / "Vantyr_form.frm");
    if (form.empty()) fs::copy_file(built("Vantyr_form.frm"), dir / "Vantyr_form.frm");
    else write_file(dir / "Vantyr_form.frm", form);
    return dir;
  }

  // Runs the program in the run folder without input; `env` goes before it
  // (Linux). VANTYR_DIALOGS=console is set for every test. On Linux the run
  // has no display, so its form cannot open a window and the run goes on
  // past the form at once; tests/app/interactive_test.cpp drives the form.
  Output run_program(const fs::path& dir, const std::string& env = "") {
    fs::path out = tmp.path() / "out.txt";
    std::string prog = (dir / program_file()).string(), run = run_dir().string();
    std::string cmd = windows_build() ? "cd /d \"" + run + "\" && \"" + prog + "\" < NUL > \"" + out.string() + "\" 2>&1"
                                      : "cd '" + run + "' && env -u DISPLAY " + env + " '" + prog + "' < /dev/null > '" +
                                            out.string() + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream f(out, std::ios::binary);
    return {without_cr(std::string(std::istreambuf_iterator<char>(f), {})), read_lines(run_dir() / "Logfile.txt")};
  }

  // The program's steps up to the form, with the shipped form.
  void prepare() {
    make();
    scan();
  }
  // The same on an installation made already.
  void scan() {
    ASSERT_GT(check_condor_install(" "), 0);
    get_active_condor_version();
    set_towplane_folders(inst00.cndrinstpath.view());
    towplanes::tmpfil = program_path(tmp.path() / "Vantyr_planes_list.txt");
    ASSERT_EQ(frm_read_form(program_path(built("Vantyr_form.frm"))), 0);
    list_towplanes();
    fill_form();
    locate_towplanes();
  }

  void tick(const std::string& name, int on) {
    ASSERT_GT(frm_get_number(name), 0) << name;
    frm_set_value(frm_get_number(name), on, static_cast<float>(on), on ? "1" : "0", false);
  }

  // Standard output of one step run in this process.
  template <class Step>
  Output output_of(Step step) {
    testing::internal::CaptureStdout();
    step();
    return {without_cr(testing::internal::GetCapturedStdout()), read_lines(run_dir() / "Logfile.txt")};
  }
};

}  // namespace app_test
