// The program without WINEPREFIX (Linux): it finds the simulator's prefix in
// a fake home folder, lists and moves that installation's towplanes, finds
// its own folder whatever the prefix's Z: drive is, and says where it looked
// when no prefix holds the simulator.
#include "tests/app/app_fixture.h"
#include "tests/simulator/prefix_layouts.h"

using namespace app_test;
using namespace prefix_test;

namespace {

const std::int64_t t = 1600000000;

bool is_dir(const SimInstall& s, const std::string& win) { return fs::is_directory(fixture_host_path(s, win)); }

TEST_F(AppTest, TheTowplanesOfThePrefixUsedLastAreListedAndMoved) {
  FakeHome h;
  SimInstall wine = FakeHome::simulator(h.wine(), 3, t + 100, t, {"DR400", "PAWNEE"});
  SimInstall bottle = FakeHome::simulator(h.bottle("Condor", false), 3, t + 200, t, {"DR400", "ROBIN"});
  bottle.versions[0].hidden_towplanes = {"ASK13"};
  ASSERT_EQ(make_condor_install(wine), "");
  ASSERT_EQ(make_condor_install(bottle), "");
  scan();
  EXPECT_EQ(towplanes::npln, 3);  // ROBIN, DR400, ASK13: not ~/.wine's PAWNEE
  EXPECT_EQ(frm_get_number("PAWNEE"), 0);
  tick("DR400", 0);
  tick("ASK13", 1);
  output_of(apply_selection);
  EXPECT_TRUE(is_dir(bottle, "C:\\Condor3\\Hidden_Planes\\DR400") && is_dir(bottle, "C:\\Condor3\\Planes\\ASK13"));
  EXPECT_TRUE(is_dir(wine, "C:\\Condor3\\Planes\\DR400") && !is_dir(wine, "C:\\Condor3\\Hidden_Planes\\DR400"));
}

TEST_F(AppTest, ProtonPlayerWithTheSimulatorOnASecondDiskGetsItsForm) {
  FakeHome h;
  SimInstall wine = FakeHome::simulator(h.wine(), 3, t, t, {"OLDTUG"});
  const fs::path lib2 = h.disk2() / "SteamLibrary";
  h.steam_libraries(h.steam(), {h.steam(), lib2});
  SimInstall proton = FakeHome::simulator(FakeHome::proton(lib2, 2001), 3, t + 100, t, {"DR400", "PAWNEE"}, "steamuser");
  proton.versions[0].install_dir = program_path(lib2 / "steamapps/common/Condor3");
  ASSERT_EQ(make_condor_install(wine), "");
  ASSERT_EQ(make_condor_install(proton), "");
  Output o = run_program(program_dir());
  const std::string chosen = fs::canonical(proton.prefix).string();
  EXPECT_TRUE(o.has("Wine prefix chosen: " + chosen + "\n") && o.has("\n1 PAWNEE\n2 DR400\n") &&
              o.has("frm_do_form : 0\n") && !o.has("OLDTUG"))
      << o.out;
  EXPECT_TRUE(o.logged("Wine prefix: " + chosen + " (used last; also holding the simulator: " +
                       fs::canonical(h.wine()).string() + ")"))
      << testing::PrintToString(o.log);
}

TEST_F(AppTest, ProgramFolderIsFoundWhateverTheZDriveAndTheSearchSaysWhereItLooked) {
  FakeHome h;
  const std::string none = "*** No Condor installation found (2 or 3) ***";
  const std::string where = "Looked in ~/.wine, Steam (0 libraries), Lutris and Bottles: 0 Wine prefixes, none with the simulator";
  Output o = run_program(program_dir());
  EXPECT_TRUE(o.box(none + "\n" + where) && o.logged(none) && o.logged(where)) << o.out;

  SimInstall wine = FakeHome::simulator(h.wine(), 3, t, t, {"DR400", "PAWNEE"});
  ASSERT_EQ(make_condor_install(wine), "");
  const fs::path z = h.wine() / "dosdevices/z:";
  const std::string listing = program_path(program_dir() / "Vantyr_planes_list.txt").substr(2);
  fs::remove(z);
  fs::create_directory_symlink(h.home(), z);  // Z: remapped to the home folder
  o = run_program(program_dir());
  EXPECT_TRUE(o.has("\\\\?\\unix" + listing) && o.has("\n1 PAWNEE\n2 DR400\n") &&
              o.has("npln NForm NFound NAct 2 2 2 2 0\n") && o.has("frm_do_form : 0\n"))
      << o.out;
  fs::remove(z);  // no Z: at all
  o = run_program(program_dir());
  EXPECT_TRUE(o.has("Z:" + listing) && o.has("npln NForm NFound NAct 2 2 2 2 0\n") && o.has("frm_do_form : 0\n"))
      << o.out;
}

}  // namespace
