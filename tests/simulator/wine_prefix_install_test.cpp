// An installation made by the generator in the real Wine prefix of the tests
// (registry entries through `wine reg`), found by the Windows build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "tests/support/temp_tree.h"
#include "tools/condor_fixture/condor_fixture.h"

using namespace test_support;

namespace {

std::string shell_quote(const std::string& s) { return "'" + s + "'"; }

TEST(WinePrefixInstall, WindowsBuildFindsWhatWineRegWrote) {
  const char* src = std::getenv("VANTYR_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  const char* prefix_env = std::getenv("VANTYR_WINEPREFIX");
  std::string prefix = prefix_env ? prefix_env : std::string(src) + "/build/wine-prefix";
  ASSERT_TRUE(fs::exists(prefix + "/system.reg")) << prefix;
  std::string probe = VANTYR_DISCOVERY_PROBE;
  ASSERT_TRUE(fs::exists(probe)) << probe << " is missing: build the Windows build first";

  TempDir tmp("vantyr-wine-install");
  std::string inst2 = program_path(tmp.path() / "Condor2");
  std::string inst3 = program_path(tmp.path() / "Program Files" / "Condor3");
  std::string pilot = "Probe" + fs::path(tmp.path()).filename().string().substr(20);
  std::string tool = std::string(VANTYR_FIXTURE_TOOL);
  // Condor 3 flown last by its log; Condor 2's flight plan is older.
  std::string cmd = shell_quote(tool) + " --prefix " + shell_quote(prefix) + " --wine --condor 2 --install-dir " + shell_quote(inst2) +
                    " --pilot " + shell_quote(pilot) + " --log-date @1600000100 --flight-plan-date @1600000200" +
                    " --condor 3 --install-dir " + shell_quote(inst3) + " --pilot " + shell_quote(pilot) +
                    " --log-date @1600000900 --flight-plan-date @1600000300 --towplane DR400 >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  fs::path out = tmp.path() / "probe.txt";
  std::string run = "cd " + shell_quote(tmp.path().string()) + " && VANTYR_DIALOGS=console " + shell_quote(std::string(src) + "/scripts/wine-run.sh") +
                    " " + shell_quote(probe) + " > " + shell_quote(out.string()) + " 2>/dev/null";
  int probe_status = std::system(run.c_str());

  // The registry of the shared prefix gets its Condor entries back out, and
  // the pilots' folders in its profile go.
  SimInstall spec;
  spec.prefix = prefix;
  spec.real_wine = true;
  remove_condor_registry(spec);
  std::error_code ec;
  for (const auto& user : fs::directory_iterator(fixture_host_path(spec, "C:\\users"), ec)) {
    for (const char* version : {"Condor", "Condor3"}) {
      fs::path pilots = user.path() / "Documents" / version / "Pilots";
      fs::remove_all(pilots / pilot, ec);
      fs::remove(pilots, ec);  // when nothing else is there
      fs::remove(pilots.parent_path(), ec);
    }
  }

  ASSERT_EQ(probe_status, 0) << run;
  std::map<std::string, std::string> got;
  for (const std::string& l : read_lines(out)) {
    std::size_t eq = l.find('=');
    if (eq != std::string::npos && l.find(' ') > eq) got[l.substr(0, eq)] = l.substr(eq + 1);
  }
  EXPECT_EQ(got["found"], "3");
  EXPECT_EQ(got["qc2"], "1");
  EXPECT_EQ(got["qc3"], "1");
  EXPECT_EQ(got["cndrvers"], "3");
  EXPECT_EQ(got["cndrinstpath"], inst3);
  std::string pil = got["cndrpilpath"];
  std::string tail = "\\Documents\\Condor3\\Pilots\\" + pilot;
  ASSERT_GE(pil.size(), tail.size());
  EXPECT_EQ(pil.substr(pil.size() - tail.size()), tail);
}

}  // namespace
