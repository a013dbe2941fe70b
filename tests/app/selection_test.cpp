// Applying the user's choice on real folders: exactly the towplanes whose
// tick changed move, both ways, and the box says what moved and what not.
#include "tests/app/app_fixture.h"

using namespace app_test;

namespace {

std::vector<std::string> names_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(AppTest, MovesExactlyTheChangedTicksAndReportsThemByteForByte) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE", "A&B", "50%TUG", "X&MKDIR INJECTED", "KEEP"};
  v.hidden_towplanes = {"ASK13", "T^(1)", "Piper Cub", "HIDDEN"};
  v.folders = {"ASK13"};  // not an aircraft, in the way of the hidden ASK13
  prepare();
  for (const char* n : {"DR400", "PAWNEE", "A&B", "50%TUG", "X&MKDIR INJECTED"}) tick(n, 0);
  for (const char* n : {"T^(1)", "Piper Cub", "ASK13"}) tick(n, 1);
  Output o = output_of(apply_selection);

  std::string planes = towplanes::path.str(), hidden = towplanes::path2.str();
  EXPECT_TRUE(o.box(" X&MKDIR INJECTED, PAWNEE, DR400, A&B: DEACTIVATED\n  moved to: " + hidden + "\n\n" +
                    " T^(1), Piper Cub: ACTIVATED\n  moved to: " + planes + "\n\nNot moved:\n" +
                    " ASK13: a folder of that name is already in " + planes + "\n" +
                    " 50%TUG: its name holds \"%\" or a double quote, which a command line cannot carry"))
      << o.out;
  EXPECT_EQ(names_in(host(planes)), (std::vector<std::string>{"50%TUG", "ASK13", "KEEP", "Piper Cub", "T^(1)"}));
  EXPECT_EQ(names_in(host(hidden)), (std::vector<std::string>{"A&B", "ASK13", "DR400", "HIDDEN", "PAWNEE", "X&MKDIR INJECTED"}));
  // No other command ran (MKDIR INJECTED would make a folder here), and no
  // listing file is left.
  EXPECT_EQ(tree_of(run_dir()), (std::vector<std::string>{"Logfile.txt", "frm_forms.log"}));
  EXPECT_FALSE(fs::exists(tmp.path() / "Vantyr_planes_list.txt"));
}

TEST_F(AppTest, ButtonsTickOrUntickAllButAnUnfoundTowplaneNeverMoves) {
  SimVersion& v = install(2);
  v.towplanes = {"DR400", kLongName};
  v.hidden_towplanes = {"PAWNEE"};
  v.hidden_gliders = {kLong32};  // named as the long towplane is kept
  prepare();
  int type = 2;
  frm_callback(6, 2, type);
  for (int i = 1, iv = -1, t; i <= 3; ++i) {
    float rv;
    Field<255> cv;
    frm_get_value(i, iv, rv, cv, t);
    EXPECT_EQ(iv, 0) << i;
  }
  type = 3;
  frm_callback(6, 1, type);
  Output o = output_of(apply_selection);
  EXPECT_TRUE(o.box(" PAWNEE: ACTIVATED\n  moved to: " + towplanes::path.str())) << o.out;
  EXPECT_EQ(names_in(host(towplanes::path.str())), (std::vector<std::string>{kLongName, "DR400", "PAWNEE"}));
  EXPECT_EQ(names_in(host(towplanes::path2.str())), std::vector<std::string>{kLong32});
}

TEST_F(AppTest, NoChangeOrAVanishedFolderShowsNoBox) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE"};
  v.hidden_planes = false;
  prepare();
  EXPECT_TRUE(fs::is_directory(host(towplanes::path2.str())));  // made by MKDIR
  EXPECT_FALSE(output_of(apply_selection).has("Vantyr\n"));
  fs::remove_all(host(towplanes::path.str() + "DR400"));
  tick("DR400", 0);
  Output o = output_of(apply_selection);
  EXPECT_TRUE(o.has("**** " + towplanes::path.str() + "DR400  DOES NOT EXIST")) << o.out;
  EXPECT_FALSE(o.has("Vantyr\n"));
  EXPECT_TRUE(fs::exists(host(towplanes::path.str() + "PAWNEE")));
}

}  // namespace
