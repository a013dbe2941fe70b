// Which folders are towplanes, and where each towplane of the form lies.
#include <array>
#include <span>

#include "tests/app/app_fixture.h"

using namespace app_test;

namespace {

TEST_F(AppTest, ListsOnlyTowplanesAndStoresNoMoreThanTheListHolds) {
  SimVersion& v = install(2);
  v.towplanes = {"PAWNEE", "DR400", kLongName};
  v.gliders = {"ASK21"};
  v.folders = {"Docs"};
  make();
  std::string planes = install_dir_of(v) + "\\Planes\\";
  write_file(host(planes + "PAWNEE\\PAWNEE.pol"), "a glider's polar");

  std::array<Field<32>, 2> list;
  int n = 0;
  testing::internal::CaptureStdout();
  read_tow(planes, n, std::span(list.data(), 1));
  std::string out = without_cr(testing::internal::GetCapturedStdout());
  EXPECT_EQ(n, 2);  // counted on past the list's end, without storing
  EXPECT_TRUE(list[0].str() == "DR400" || list[0].str() == kLongName.substr(0, 32)) << list[0].str();
  EXPECT_TRUE(list[1].is_blank());
  EXPECT_NE(out.find("DIR /AD /B \"" + planes + "\" > \""), std::string::npos) << out;
  std::vector<std::string> log = read_lines(run_dir() / "Logfile.txt");
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (std::vector<std::string>{"ASK21: not a Condor towplane", "Docs: not a Condor towplane",
                                           "PAWNEE: not a Condor towplane"}));
  EXPECT_EQ(tree_of(run_dir()), std::vector<std::string>{"Logfile.txt"});  // the listing is gone

  n = 0;
  read_tow(planes, n, list);
  std::vector<std::string> names{list[0].str(), list[1].str()};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{kLongName.substr(0, 32), "DR400"}));
}

TEST_F(AppTest, LocatesEachTowplaneByItsDataFileAndReportsTheMissing) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", kLongName};
  v.hidden_towplanes = {"PAWNEE"};
  prepare();
  EXPECT_EQ(towplanes::nfound, 2);
  EXPECT_EQ(towplanes::nact, 1);
  EXPECT_EQ(towplanes::ninact, 1);
  int long_one = frm_get_number(kLongName.substr(0, 32));
  EXPECT_EQ(towplanes::qfound, (std::array<bool, 32>{true, true}));  // PAWNEE, DR400, not the long one
  testing::internal::CaptureStdout();
  report_missing();
  Output o{without_cr(testing::internal::GetCapturedStdout()), {}};
  EXPECT_TRUE(o.box("Missing towplanes:\n" + kLongName.substr(0, 32))) << o.out;
  int active = 1;
  float rv = 0;
  Field<127> cv;
  frm_get_prop(1, long_one, 101, active, rv, cv);
  EXPECT_EQ(active, 0);

  // A folder that is gone is not listed: the current folder is not listed
  // in its place.
  write_file(run_dir() / "old" / "PAWNEE.dta", "a data file");
  fs::remove_all(host(towplanes::path2.str()));
  locate_towplanes();
  EXPECT_EQ(towplanes::nfound, 1);
}

}  // namespace
