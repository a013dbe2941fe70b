// Faults between the scan and OK, on real folders: what the user is told,
// and that afterwards every towplane folder exists exactly once, with the
// same files and bytes, where it is expected.
#include <sys/stat.h>

#include "tests/app/fault_fixture.h"

using namespace app_test;

namespace {

// Changed behind the program's back between the scan and OK: a towplane
// folder deleted, one renamed, one replaced by a file of its name, a hidden
// one renamed, and a folder of a towplane's name put in its way. Only the
// towplane left as it was moves; the one in the way is reported. A file of
// the moving towplane is held open: the folder moves whole on Linux and
// under Wine (on Windows itself the move fails and is reported as not moved,
// as any failed MOVE is), and the open file still reads as before.
TEST_F(FaultTest, ChangesBetweenTheScanAndOkMoveNothingElse) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE", "HUSKY", "ROBIN"};
  v.hidden_towplanes = {"WILGA", "CUB"};
  make();
  unique_contents();
  scan();
  fs::path planes = root() / "Planes", hidden = root() / "Hidden_Planes";
  fs::remove_all(planes / "DR400");
  fs::rename(planes / "PAWNEE", planes / "PAWNEE old");
  fs::rename(planes / "ROBIN", planes / "ROBIN.bak");
  write_file(planes / "ROBIN", "a file of the towplane's name");
  write_file(hidden / "HUSKY" / "notes.txt", "the user's own folder");
  fs::rename(hidden / "CUB", hidden / "CUB2");
  remember();
  std::ifstream held(hidden / "WILGA" / "WILGA.dta", std::ios::binary);
  ASSERT_TRUE(held.is_open());

  for (const char* n : {"DR400", "PAWNEE", "HUSKY", "ROBIN"}) tick(n, 0);
  for (const char* n : {"WILGA", "CUB"}) tick(n, 1);
  Output o = output_of(apply_selection);

  std::string p = towplanes::path.str(), h = towplanes::path2.str();
  EXPECT_TRUE(o.box(" WILGA: ACTIVATED\n  moved to: " + p + "\n\nNot moved:\n HUSKY: a folder of that name is already in " + h))
      << o.out;
  for (std::string gone : {p + "DR400", p + "PAWNEE", p + "ROBIN", h + "CUB"})
    EXPECT_TRUE(o.has("**** " + gone + "  DOES NOT EXIST")) << gone;
  std::string bytes((std::istreambuf_iterator<char>(held)), {});
  EXPECT_EQ(bytes, before.at("Hidden_Planes/WILGA/WILGA.dta"));
  held.close();
  expect_installation(moved(before, "Hidden_Planes/WILGA", "Planes/WILGA"));
}

// Hidden_Planes is a file: MKDIR fails, the towplanes of Planes are offered,
// and one unticked stays where it is with the reason.
TEST_F(FaultTest, AHiddenPlanesThatIsAFileIsLeftAlone) {
  SimVersion& v = install(2);
  v.towplanes = {"DR400", "PAWNEE"};
  v.hidden_planes = false;
  make();
  write_file(root() / "Hidden_Planes", "a file, not a folder");
  unique_contents();
  remember();
  scan();
  EXPECT_EQ(towplanes::npln, 2);
  EXPECT_EQ(towplanes::nact, 2);
  tick("DR400", 0);
  Output o = output_of(apply_selection);
  EXPECT_TRUE(o.box("Not moved:\n DR400: the folder " + towplanes::path2.str() + " does not exist")) << o.out;
  expect_installation(before);
}

// Hidden_Planes on another file system (a link to a folder there, as a
// junction to another drive would be on Windows): a folder cannot be renamed
// across. The built-in MOVE fails; Wine's cmd.exe moves nothing and still
// answers 0, which the check after every move catches. Either way the user
// is told and nothing is half moved.
TEST_F(FaultTest, AHiddenPlanesOnAnotherFileSystemIsReportedAndNothingIsHalfMoved) {
  fs::path shm_root = windows_build() ? fs::path("Z:\\dev\\shm") : fs::path("/dev/shm");
  std::error_code ec;
  struct stat a {}, b {};
  if (::stat(shm_root.string().c_str(), &b) != 0 || ::stat(tmp.path().string().c_str(), &a) != 0 || a.st_dev == b.st_dev)
    GTEST_SKIP() << "/dev/shm is not another file system than the temporary folder's";
  struct Elsewhere {
    fs::path p;
    ~Elsewhere() {
      std::error_code e;
      fs::remove_all(p, e);
    }
  } shm{shm_root / ("vantyr-hidden-" + tmp.path().filename().string())};
  SimVersion& v = install(3);
  v.towplanes = {"DR400"};
  v.hidden_planes = false;
  make();
  fs::create_directory(shm.p);
  fs::create_directory_symlink(shm.p, root() / "Hidden_Planes", ec);
  if (ec || !fs::is_directory(root() / "Hidden_Planes", ec))
    GTEST_SKIP() << "no folder link can be made here (the Windows build's library makes none): " << ec.message();
  unique_contents();
  remember();
  scan();
  tick("DR400", 0);
  Output o = output_of(apply_selection);
  EXPECT_TRUE(o.box(windows_build() ? "Not moved:\n DR400: the folder did not move" : "Not moved:\n DR400: MOVE failed with exit status 1"))
      << o.out;
  expect_installation(before);
  EXPECT_TRUE(fs::is_empty(shm.p));
}

// The simulator's log cannot be read (a folder in its place): the version
// is not confirmed and no installation is found.
TEST_F(FaultTest, AnUnreadableSimulatorLogFindsNoInstallation) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400"};
  v.log = false;
  make();
  fs::create_directories(root() / "Logs" / "Logfile.txt");
  remember();
  EXPECT_EQ(check_condor_install(" "), 0);
  expect_installation(before);
}

}  // namespace
