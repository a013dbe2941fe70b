// Applying the user's choice on real folders: exactly the towplanes whose
// tick changed move, in both directions, and the box says what moved and
// what could not.
#include "tests/app/app_fixture.h"

using namespace app_test;

namespace {

// The folder names in a folder of the installation, sorted.
std::vector<std::string> names_in(const std::string& host_dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(host_dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

Output applied() {
  testing::internal::CaptureStdout();
  apply_selection();
  return Output{without_cr(testing::internal::GetCapturedStdout()), {}};
}

TEST_F(AppTest, MovesExactlyTheChangedTicksAndReportsThemByteForByte) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE", "A&B", "50%TUG", "X&MKDIR INJECTED", "KEEP"};
  v.hidden_towplanes = {"ASK13", "T^(1)", "Piper Cub", "HIDDEN"};
  v.folders = {"ASK13"};  // not an aircraft, in the way of the hidden ASK13
  prepare();
  for (const char* n : {"DR400", "PAWNEE", "A&B", "50%TUG", "X&MKDIR INJECTED"}) tick(n, false);
  for (const char* n : {"T^(1)", "Piper Cub", "ASK13"}) tick(n, true);
  Output o = applied();

  std::string planes = towplanes::path.str(), hidden = towplanes::path2.str();
  EXPECT_TRUE(o.box(" X&MKDIR INJECTED, PAWNEE, DR400, A&B: DEACTIVATED\n  moved to: " + hidden + "\n\n" +
                    " T^(1), Piper Cub: ACTIVATED\n  moved to: " + planes + "\n\n" +
                    "Not moved:\n ASK13: a folder of that name is already in " + planes +
                    "\n 50%TUG: its name holds \"%\" or a double quote, which a command line cannot carry"))
      << o.out;
  EXPECT_EQ(names_in(host(planes)), (std::vector<std::string>{"50%TUG", "ASK13", "KEEP", "Piper Cub", "T^(1)"}));
  EXPECT_EQ(names_in(host(hidden)),
            (std::vector<std::string>{"A&B", "ASK13", "DR400", "HIDDEN", "PAWNEE", "X&MKDIR INJECTED"}));
  // No other command ran (MKDIR INJECTED would make a folder here), and no
  // listing file is left.
  EXPECT_EQ(tree_of(run_dir()), (std::vector<std::string>{"Logfile.txt", "frm_forms.log"}));
  EXPECT_FALSE(fs::exists(tmp.path() / "Vantyr_planes_list.txt"));
}

TEST_F(AppTest, ButtonsTickOrUntickAllButAnUnfoundTowplaneNeverMoves) {
  SimVersion& v = install(2);
  v.towplanes = {"DR400", kLongName};
  v.hidden_towplanes = {"PAWNEE"};
  v.hidden_gliders = {kLongName.substr(0, 32)};  // named as the long towplane is kept
  prepare();
  int button_type = 2;
  frm_callback(6, 2, button_type);
  for (int i = 1; i <= 3; ++i) {
    int iv = -1, type = 0;
    float rv = 0;
    Field<255> cv;
    frm_get_value(i, iv, rv, cv, type);
    EXPECT_EQ(iv, 0) << i;
  }
  button_type = 3;
  frm_callback(6, 1, button_type);
  Output o = applied();
  std::string planes = towplanes::path.str(), hidden = towplanes::path2.str();
  EXPECT_TRUE(o.box(" PAWNEE: ACTIVATED\n  moved to: " + planes)) << o.out;
  EXPECT_EQ(names_in(host(planes)), (std::vector<std::string>{kLongName, "DR400", "PAWNEE"}));
  EXPECT_EQ(names_in(host(hidden)), (std::vector<std::string>{kLongName.substr(0, 32)}));
}

TEST_F(AppTest, NoChangeOrAVanishedFolderShowsNoBox) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE"};
  v.hidden_planes = false;
  prepare();
  EXPECT_TRUE(exists(towplanes::path2.str()));  // made by MKDIR
  EXPECT_FALSE(applied().has("Vantyr\n"));
  fs::remove_all(host(towplanes::path.str() + "DR400"));
  tick("DR400", false);
  Output o = applied();
  EXPECT_TRUE(o.has("**** " + towplanes::path.str() + "DR400  DOES NOT EXIST")) << o.out;
  EXPECT_FALSE(o.has("Vantyr\n"));
  EXPECT_TRUE(exists(towplanes::path.str() + "PAWNEE"));
}

}  // namespace
