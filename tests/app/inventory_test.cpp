// The towplane list holds 32 names; where a towplane lies is found by its
// data file; a towplane found nowhere is reported and made inactive.
#include <set>
#include <span>

#include "common/codepage.h"
#include "tests/app/app_fixture.h"

using namespace app_test;

namespace {

TEST_F(AppTest, ListingCountsOnPastTheListsEndWithoutStoring) {
  SimVersion& v = install(2);
  v.towplanes = {"PAWNEE", "DR400", kLongName};
  v.gliders = {"ASK21"};
  make();
  std::string planes = install_dir_of(v) + "\\Planes\\";
  write_file(host(planes + "PAWNEE\\PAWNEE.pol"), "a glider's polar");
  std::array<Field<32>, 2> list;
  int n = 0;
  read_tow(planes, n, std::span(list.data(), 1));
  EXPECT_EQ(n, 2);
  EXPECT_TRUE(list[1].is_blank());
  n = 0;
  read_tow(planes, n, list);
  EXPECT_EQ((std::set<std::string>{list[0].str(), list[1].str()}), (std::set<std::string>{kLong32, "DR400"}));
}

TEST_F(AppTest, UnfoundTowplaneIsReportedAndInactiveAndAGoneFolderIsNotListed) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", kLongName};
  v.hidden_towplanes = {"PAWNEE"};
  prepare();
  EXPECT_EQ(towplanes::qfound, (std::array<bool, 32>{true, true}));  // PAWNEE, DR400, not the long one
  EXPECT_TRUE(output_of(report_missing).box("Missing towplanes:\n" + kLong32));
  int active = 1;
  float rv;
  Field<127> cv;
  frm_get_prop(1, 3, 101, active, rv, cv);
  EXPECT_EQ(active, 0);
  // Without its folder a pass lists nothing, not the current folder instead.
  write_file(run_dir() / "old" / "PAWNEE.dta", "a data file");
  fs::remove_all(host(towplanes::path2.str()));
  locate_towplanes();
  EXPECT_EQ(towplanes::nfound, 1);
}

// Names in another case than the program asks for count as Wine counts
// them, and a second scan sees what changed on the disk after the first.
TEST_F(AppTest, NamesInAnotherCaseCountAndASecondScanSeesWhatChanged) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE"};
  v.gliders = {"ASK21"};
  prepare();
  EXPECT_EQ(towplanes::qact, (std::array<bool, 32>{true, true}));  // PAWNEE, DR400
  std::string planes = towplanes::path.str(), hidden = towplanes::path2.str();
  fs::rename(host(planes + "DR400\\DR400E.mfg"), host(planes + "DR400\\dr400e.MFG"));
  fs::rename(host(planes + "ASK21\\ASK21.pol"), host(planes + "ASK21\\ask21.POL"));
  fs::rename(host(planes + "PAWNEE"), host(hidden + "PAWNEE"));
  list_towplanes();
  fill_form();
  locate_towplanes();
  EXPECT_EQ(towplanes::npln, 2);
  EXPECT_EQ(towplanes::towlist[0].str(), "PAWNEE");
  EXPECT_EQ(towplanes::nfound, 2);
  EXPECT_EQ(towplanes::qact, (std::array<bool, 32>{false, true}));
}

// cmd.exe writes its listings in its console's code page, not the program's:
// a folder name outside ASCII, in the installation's path or a towplane's
// name, is still listed and located.
TEST_F(AppTest, NamesOutsideAsciiAreListedAndLocated) {
  // The generator takes names on Linux in UTF-8, as Wine keeps them.
  auto named = [](const std::string& s) { return windows_build() ? s : cp1252_to_utf8(s); };
  SimVersion& v = install(3);
  v.install_dir = folder(named("Jeux vid\xE9o\\Condor3"));
  v.towplanes = {named("D\xE9panneur")};
  v.hidden_towplanes = {"PAWNEE"};
  prepare();
  EXPECT_EQ(towplanes::npln, 2);
  EXPECT_EQ(towplanes::towlist[1].str(), "D\xE9panneur");
  EXPECT_EQ(towplanes::nfound, 2);
  EXPECT_EQ(towplanes::qact, (std::array<bool, 32>{false, true}));
}

}  // namespace
