// Finding the simulator on generated installations: which versions count as
// installed, which one is active, and the folders of each.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "simulator/install_dir.h"
#include "simulator/installed_versions.h"
#include "simulator/user_files.h"
#include "tests/simulator/sim_fixture.h"

using namespace sim_test;

namespace {

std::string trimmed(const Field<256>& f) { return f.str(); }

std::string docs_of(const SimInstall& setup) {
  SimVersion none;
  none.pilot.clear();
  return pilot_dir_of(setup, none);
}

TEST_F(Simulator, OnlyCondor2IsActiveWhateverTheDates) {
  SimVersion& v2 = add(2);
  v2.log_time = 1000;
  v2.flight_plan_time = 1000;
  make();
  EXPECT_EQ(check_condor_install(" "), 2);
  EXPECT_TRUE(inst00.qc2);
  EXPECT_FALSE(inst00.qc3);
  EXPECT_EQ(inst00.cndrvers, 2);
  EXPECT_EQ(trimmed(inst00.instpath2), install_dir_of(v2));
  EXPECT_EQ(trimmed(inst00.pilpath2), pilot_dir_of(setup, v2));
  EXPECT_EQ(trimmed(inst00.rootpath2), docs_of(setup) + "\\Condor\\");
  get_active_condor_version();
  EXPECT_EQ(inst00.cndrvers, 2);
  EXPECT_EQ(trimmed(inst00.cndrinstpath), install_dir_of(v2));
  EXPECT_EQ(trimmed(inst00.cndrpilpath), trimmed(inst00.pilpath2));
  EXPECT_EQ(trimmed(inst00.cndrrootpath), trimmed(inst00.rootpath2));
}

TEST_F(Simulator, Condor3FoldersComeFromTheDocumentsFolderAndTheLastPilot) {
  SimVersion& v3 = add(3);
  make();
  EXPECT_EQ(check_condor_install(" "), 3);
  EXPECT_EQ(inst00.cndrvers, 3);
  std::string docs = docs_of(setup);
  ASSERT_FALSE(docs.empty());
  if (!windows_build()) {
    // Wine's profile folder of the login user.
    EXPECT_EQ(docs.rfind("C:\\users\\", 0), 0u) << docs;
  }
  EXPECT_EQ(trimmed(inst00.pilpath3), docs + "\\Condor3\\Pilots\\" + v3.pilot);
  EXPECT_EQ(trimmed(inst00.rootpath3), docs + "\\Condor3\\");
  EXPECT_EQ(trimmed(inst00.cndrinstpath), install_dir_of(v3));
  EXPECT_EQ(trimmed(inst00.cndrpilpath), trimmed(inst00.pilpath3));
}

// Dates of the four candidate files; -1: the file is not there.
struct Dates {
  const char* what;
  std::int64_t fpl3, fpl2, log3, log2;
  int active;
};

TEST_F(Simulator, ActiveInstallationIsTheOneFlownLast) {
  const Dates cases[] = {
      {"Condor 2's flight plan newest", 100, 400, 200, 300, 2},
      {"Condor 3's log newest", 100, 200, 400, 300, 3},
      {"equal flight plans, older logs", 300, 300, 100, 200, 3},
      {"equal logs newest", 100, 200, 300, 300, 3},
      {"Condor 2's log newest, no flight plans", -1, -1, 100, 200, 2},
      {"only Condor 3's flight plan", 500, -1, 100, 200, 3},
      {"none of the four files", -1, -1, -1, -1, 2},
  };
  int n = 0;
  for (const Dates& c : cases) {
    SCOPED_TRACE(c.what);
    ++n;
    setup.versions.clear();
    const std::int64_t base = 1600000000;
    for (int v : {2, 3}) {
      SimVersion& s = add(v);
      s.install_dir = folder("Case" + std::to_string(n) + "\\Condor" + std::to_string(v));
      s.pilot += std::to_string(n);
      std::int64_t fpl = v == 3 ? c.fpl3 : c.fpl2, log = v == 3 ? c.log3 : c.log2;
      s.flight_plan = fpl >= 0;
      s.flight_plan_time = base + fpl;
      s.log_time = base + (log >= 0 ? log : 0);
    }
    make();
    inst00 = CondorInstall{};
    EXPECT_EQ(check_condor_install(" "), 3);
    // Both installed: undecided, with the Condor 3 folders.
    EXPECT_EQ(inst00.cndrvers, 0);
    EXPECT_EQ(trimmed(inst00.cndrinstpath), install_dir_of(version(3)));
    // A log that is gone by now takes no part.
    for (const SimVersion& s : setup.versions)
      if ((s.version == 3 ? c.log3 : c.log2) < 0)
        fs::remove(fixture_host_path(setup, install_dir_of(s) + "\\Logs\\Logfile.txt"));
    get_active_condor_version();
    EXPECT_EQ(inst00.cndrvers, c.active);
    const SimVersion& a = version(c.active);
    EXPECT_EQ(trimmed(inst00.cndrinstpath), install_dir_of(a));
    EXPECT_EQ(trimmed(inst00.cndrpilpath), pilot_dir_of(setup, a));
  }
}

TEST_F(Simulator, NeitherVersionInstalled) {
  make();
  testing::internal::CaptureStdout();
  int found = check_condor_install(" ");
  get_active_condor_version();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(found, 0);
  EXPECT_FALSE(inst00.qc2);
  EXPECT_FALSE(inst00.qc3);
  EXPECT_EQ(inst00.cndrvers, 0);
  EXPECT_TRUE(inst00.cndrinstpath.is_blank());
  EXPECT_NE(out.find("*** Condor2 installation not detected on this computer ***"), std::string::npos) << out;
  EXPECT_NE(out.find("*** Condor3 installation not detected on this computer ***"), std::string::npos) << out;
}

TEST_F(Simulator, FolderWithoutTheProgramIsNotAnInstallation) {
  add(2);
  add(3).program = false;
  make();
  EXPECT_EQ(check_condor_install(" "), 2);
  EXPECT_TRUE(inst00.qc2);
  EXPECT_FALSE(inst00.qc3);
  get_active_condor_version();
  EXPECT_EQ(inst00.cndrvers, 2);
}

TEST_F(Simulator, KeyWithoutInstallFolderIsNotAnInstallation) {
  // The key exists (it holds the last pilot) but not the install folder.
  SimVersion& v3 = add(3);
  v3.registered = false;
  make();
  Field<256> path("not touched");
  EXPECT_EQ(get_condor_inst_dir(3, path, true), 0);
  EXPECT_TRUE(path.is_blank());
  EXPECT_EQ(check_condor_install(" "), 0);
  EXPECT_FALSE(inst00.qc3);
}

// An install folder whose name leaves no room for the log's name (239
// characters here) or does not fit the registry buffer at all: no lookup
// under a cut name, and the user is told why it is not taken.
TEST_F(Simulator, InstallFolderWithAnOverlongNameIsRefusedWithItsReason) {
  const std::string base = folder("");
  for (std::size_t total : {239u, 240u, 300u}) {
    SCOPED_TRACE(total);
    setup.versions.clear();
    SimVersion& v3 = add(3);
    // Components of at most 200 characters, as every file system allows.
    std::string name = base;
    while (name.size() < total) {
      std::size_t part = std::min<std::size_t>(200, total - name.size() - (name.back() == '\\' ? 0 : 1));
      if (name.back() != '\\') name += "\\";
      name += std::string(part, 'L');
    }
    ASSERT_EQ(name.size(), total);
    v3.install_dir = name;
    make();
    inst00 = CondorInstall{};
    Field<256> path("not touched");
    testing::internal::CaptureStdout();
    int version = get_condor_inst_dir(3, path, false);
    std::string out = testing::internal::GetCapturedStdout();
    bool fits = total <= 239;
    EXPECT_EQ(version, fits ? 3 : 0);
    EXPECT_EQ(trimmed(path), fits ? name : "");
    const std::string refused = "*** Condor3 install folder: its name is longer than 239 characters ***";
    EXPECT_EQ(out.find(refused) != std::string::npos, !fits) << out;
    // The name is shown when the registry could give it whole.
    if (total == 240) {
      EXPECT_NE(out.find(name), std::string::npos) << out;
    }
    EXPECT_EQ(out.find("not detected"), std::string::npos) << out;
  }
}

TEST_F(Simulator, VersionLineOfTheLog) {
  struct Case {
    const char* what;
    const char* line;
    int line_no;
    int version;
  } cases[] = {
      {"third line", "Condor version: 3004", 3, 3},
      {"sixth line", "Condor version: 3004", 6, 3},
      {"seventh line", "Condor version: 3004", 7, 0},
      {"no version line", "", 0, 0},
      {"not an integer", "Condor version: 2.2.0", 2, 0},
      {"another version", "Condor version: 2204", 1, 2},
      {"blanks before the number", "Condor version:    3100", 1, 3},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setup.versions.clear();
    SimVersion& v3 = add(3);
    v3.install_dir = folder("Log" + std::to_string(++n));
    v3.version_line = c.line;
    v3.version_line_no = c.line_no;
    make();
    inst00 = CondorInstall{};
    Field<256> path;
    EXPECT_EQ(get_condor_inst_dir(3, path, true), c.version);
    EXPECT_EQ(trimmed(path), v3.install_dir);
    // Only the version asked for counts as installed.
    EXPECT_EQ(check_condor_install(" "), c.version == 3 ? 3 : 0);
    EXPECT_EQ(inst00.qc3, c.version == 3);
  }
}

TEST_F(Simulator, InstallFoldersWithBlanksOrATrailingBackslash) {
  SimVersion& v3 = add(3);
  v3.install_dir = folder("Program Files\\Condor3");
  SimVersion& v2 = add(2);
  v2.install_dir = folder("Condor2") + "\\";
  make();
  EXPECT_EQ(check_condor_install(" "), 3);
  EXPECT_TRUE(inst00.qc2);
  EXPECT_TRUE(inst00.qc3);
  EXPECT_EQ(trimmed(inst00.instpath3), v3.install_dir);
  EXPECT_EQ(trimmed(inst00.instpath2), v2.install_dir);
}

TEST_F(Simulator, KnownInstallFolderIsTakenWithoutTheRegistry) {
  make();
  inst00.instpath3 = "X:\\Known\\Condor3";
  Field<256> path;
  EXPECT_EQ(get_condor_inst_dir(-3, path, true), 3);
  EXPECT_EQ(trimmed(path), "X:\\Known\\Condor3");
  // Not known yet: the registry, which has no Condor 2.
  EXPECT_EQ(get_condor_inst_dir(-2, path, true), 0);
  EXPECT_TRUE(path.is_blank());
}

TEST(SimulatorStop, UnsupportedVersionStopsThroughTheMessagePath) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        // The console dialog writes to standard output; the check reads
        // standard error.
        std::fflush(stdout);
        dup2(fileno(stderr), fileno(stdout));
        Field<256> path;
        get_condor_inst_dir(4, path, true);
      },
      testing::ExitedWithCode(0), "get_condor_inst_dir : incorrect Condor version");
}

TEST_F(Simulator, PlainDocumentsFolder) {
  setup.documents = folder("Docs");
  add(2);
  add(3);
  make();
  EXPECT_EQ(check_condor_install(" "), 3);
  EXPECT_EQ(trimmed(inst00.rootpath2), setup.documents + "\\Condor\\");
  EXPECT_EQ(trimmed(inst00.rootpath3), setup.documents + "\\Condor3\\");
}

TEST_F(Simulator, WithoutLastPilotTheFlightPlanIsLookedForInTheDocumentsFolder) {
  setup.documents = folder("Docs");
  SimVersion& v2 = add(2);
  v2.pilot.clear();
  v2.flight_plan_time = 1600000900;
  v2.log_time = 1600000100;
  SimVersion& v3 = add(3);
  v3.flight_plan_time = 1600000500;
  v3.log_time = 1600000200;
  make();
  EXPECT_EQ(check_condor_install(" "), 3);
  EXPECT_EQ(trimmed(inst00.pilpath2), setup.documents);
  get_active_condor_version();
  EXPECT_EQ(inst00.cndrvers, 2);
  // The Condor 2 key was never written without its pilot: the lookup of the
  // pilot folder for a blank version marker reads Condor 2's key.
  Field<256> pilot;
  EXPECT_EQ(get_condor_2_path(" ", false, true, pilot), 1);
  EXPECT_EQ(trimmed(pilot), setup.documents);
}

TEST_F(Simulator, MissingDocumentsVariable) {
  setup.documents = "%VANTYR_NO_SUCH_VARIABLE%\\Documents";
  SimVersion& v3 = add(3);
  v3.flight_plan = false;
  make();
  testing::internal::CaptureStdout();
  int found = check_condor_install(" ");
  get_active_condor_version();
  std::string out = testing::internal::GetCapturedStdout();
  // Installed all the same; its user folders are unknown, never the marker.
  EXPECT_EQ(found, 3);
  EXPECT_TRUE(inst00.qc3);
  EXPECT_TRUE(inst00.pilpath3.is_blank());
  EXPECT_TRUE(inst00.rootpath3.is_blank());
  EXPECT_EQ(trimmed(inst00.cndrinstpath), install_dir_of(v3));
  EXPECT_NE(out.find("get_condor_user_path"), std::string::npos) << out;
  EXPECT_NE(out.find("Error getting environment variable\nVANTYR_NO_SUCH_VARIABLE"), std::string::npos) << out;
}

TEST_F(Simulator, MissingDocumentsEntry) {
  setup.documents_registered = false;
  SimVersion& v3 = add(3);
  v3.flight_plan = false;
  make();
  testing::internal::CaptureStdout();
  Field<256> folder("3");
  int r = get_condor_2_path(" ", false, false, folder);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r, 0);
  EXPECT_EQ(trimmed(folder), "3");
  EXPECT_NE(out.find("User Shell Folders NOT READABLE"), std::string::npos) << out;
}

TEST_F(Simulator, RegistryValuesAndMissingOnes) {
  SimVersion& v3 = add(3);
  v3.registered = false;  // the key holds the last pilot only
  make();
  RegValue value;
  value.fill('Q');
  int len = 0;
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Condor3\\", "LastPlayer", value, len), 0);
  EXPECT_EQ(std::string(value.data()), v3.pilot);
  EXPECT_EQ(len, static_cast<int>(v3.pilot.size()) + 1);
  // Key names do not depend on case or a trailing backslash.
  len = 0;
  EXPECT_EQ(RdUsrReg("software\\condor3", "lastplayer", value, len), 0);
  // A key without the value: not found, nothing filled.
  value.fill('Q');
  len = 7;
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Condor3\\", "InstallDir", value, len), reg_not_found);
  EXPECT_EQ(len, 7);
  EXPECT_EQ(value[0], 'Q');
  // A missing key.
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Condor2\\", "InstallDir", value, len), reg_not_found);
  EXPECT_EQ(len, 7);
}

TEST(SimulatorProgram, ProgramFolderEndsWithABackslashAndAnUpperCaseDrive) {
  Field<256> instpath;
  get_inst_path(instpath);
  std::string p = instpath.str();
  ASSERT_GE(p.size(), 4u);
  EXPECT_EQ(p[1], ':');
  EXPECT_TRUE(p[0] >= 'A' && p[0] <= 'Z') << p;
  EXPECT_EQ(p.back(), '\\');
  std::string tail = "\\tests\\simulator\\";
  ASSERT_GE(p.size(), tail.size());
  EXPECT_EQ(p.substr(p.size() - tail.size()), tail) << p;
}

}  // namespace
