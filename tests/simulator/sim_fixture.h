// A generated simulator installation for one test: on Linux a Wine prefix of
// its own (WINEPREFIX points to it while the test runs); in the Windows build
// the registry of the Wine prefix the test runs in, with the installation in
// a temporary folder and a pilot of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "simulator/installed_versions.h"
#include "tests/support/temp_tree.h"
#include "tools/condor_fixture/condor_fixture.h"

namespace sim_test {

using namespace test_support;

class Simulator : public ::testing::Test {
 protected:
  void SetUp() override {
    inst00 = CondorInstall{};
    // Room for both versions: references that add() gives stay valid.
    spec.versions.reserve(2);
    spec.prefix = (tmp.path() / "prefix").string();
    set_env("WINEPREFIX", spec.prefix);
    fs::create_directories(tmp.path() / "run");
    here = std::make_unique<InFolder>(tmp.path() / "run");
  }
  void TearDown() override {
    here.reset();
    if (made) {
      // The Windows build works in the prefix the tests share: its pilot
      // folders and registry entries go again.
      for (const std::string& pilot : pilot_files) {
        std::error_code ec;
        fs::path p = fixture_host_path(spec, pilot);
        if (p.filename() == "FlightPlan.fpl") {
          fs::remove(p, ec);
          continue;
        }
        fs::remove_all(p, ec);
        // The Pilots folder and the version's folder, when nothing else is there.
        fs::remove(p.parent_path(), ec);
        fs::remove(p.parent_path().parent_path(), ec);
      }
      remove_condor_registry(spec);
    }
    inst00 = CondorInstall{};
  }

  // A version with the defaults of the test: its own install folder (the
  // usual C:\CondorN on Linux) and, in the Windows build, a pilot name of its
  // own so that pilot folders of parallel runs never meet.
  SimVersion& add(int version) {
    if (spec.versions.size() >= spec.versions.capacity()) ADD_FAILURE() << "more versions than the fixture holds";
    spec.versions.emplace_back();
    SimVersion& v = spec.versions.back();
    v.version = version;
    if (windows_build()) {
      v.install_dir = tmp.program() + "\\Condor" + std::to_string(version);
      v.pilot = "Pilot" + std::to_string(std::random_device{}());
    }
    return v;
  }

  // A folder the test may name in the installation: on Linux inside the
  // prefix (drive D:), in the Windows build in the temporary folder.
  std::string folder(const std::string& name) const {
    return windows_build() ? tmp.program() + "\\" + name : "D:\\" + name;
  }

  void make() {
    std::string err = make_condor_install(spec);
    made = true;
    if (windows_build()) {
      for (const SimVersion& v : spec.versions) {
        std::string pilot = pilot_dir_of(spec, v);
        if (pilot.empty() || !v.flight_plan) continue;
        pilot_files.push_back(v.pilot.empty() ? pilot + "\\FlightPlan.fpl" : pilot);
      }
    }
    ASSERT_EQ(err, "");
  }

  SimVersion& version(int v) {
    for (SimVersion& s : spec.versions)
      if (s.version == v) return s;
    return spec.versions.front();
  }

  TempDir tmp{"vantyr-sim"};
  SimInstall spec;
  std::unique_ptr<InFolder> here;
  bool made = false;
  std::vector<std::string> pilot_files;  // made in the shared prefix (Windows build)
};

}  // namespace sim_test
