// "Landscape" lists gathered from a generated simulator installation (on
// Linux a Wine prefix of the test's own; in the Windows build the registry
// of the Wine prefix the test runs in, and the real cmd.exe).
#include <gtest/gtest.h>

#include <fstream>

#include "common/codepage.h"
#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window_state.h"
#include "tests/simulator/sim_fixture.h"

namespace fw = forms_window;

namespace {

constexpr const char* kDefinition =
    "[Input-boxes]\n"
    "{Txt=Landscape,ignored,entries; Name=land; Type=DDL; Size=12; Pos=10,100}\n"
    "{Txt=Mode,Fast,Slow; Name=mode; Type=DDL; Size=6; Pos=10,70}\n"
    "{Txt=A; Name=a; Type=TCK; Pos=10,40}\n"
    "{Txt=B; Name=b; Type=TCK; Pos=60,40}\n"
    "[Radio-buttons]\n"
    "{Set=a,b}\n"
    "[Buttons]\n"
    "{Txt=OK; Type=OK; Pos=C50%,5; Size=80}\n";

class Landscapes : public sim_test::Simulator {
 protected:
  // Reads the definition and hands it to the window; the console output.
  std::string create_form() {
    std::ofstream("land.frm", std::ios::binary) << kDefinition;
    testing::internal::CaptureStdout();
    int result = frm_read_form("land.frm");
    frm_create_form();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0) << out;
    return out;
  }
};

TEST_F(Landscapes, TheListHoldsTheLandscapesOfTheActiveInstallation) {
  SimVersion& v = add(3);
  // The generator takes names on Linux in UTF-8, as Wine keeps them; cmd.exe
  // lists them in its console's code page, which the list must not show.
  std::string vallee = test_support::windows_build() ? "Vall\xE9" "e" : cp1252_to_utf8("Vall\xE9" "e");
  v.landscapes = {"Slovenia3", "AA3", "Provence", vallee};
  make();
  // A folder without its terrain file is no landscape.
  test_support::write_file(fixture_host_path(setup, install_dir_of(v) + "\\Landscapes\\Unfinished\\readme.txt"), "x");

  fw::LndDDL = -1;
  std::string out = create_form();
  EXPECT_EQ(fw::LndDDL, 0) << out;
  ASSERT_EQ(fw::ddl_nbli[0], 4) << out;
  EXPECT_EQ(fw::ddl_entry(0, 0), "AA3");
  EXPECT_EQ(fw::ddl_entry(0, 1), "Provence");
  EXPECT_EQ(fw::ddl_entry(0, 2), "Slovenia3");
  EXPECT_EQ(fw::ddl_entry(0, 3), "Vall\xE9" "e");
  EXPECT_EQ(my_forms::ddl_nbli(1), 4);
  // The other list and the rest of the form follow.
  EXPECT_EQ(fw::ddl_nbli[1], 2);
  EXPECT_EQ(fw::nb_rdio, 1);
  EXPECT_EQ(fw::nb_butt, 1);
  EXPECT_FALSE(test_support::fs::exists("Landscapes_tmp.txt"));

  // A landscape chosen in the model is written to data files by its name.
  ASSERT_EQ(frm_set_value(1, 2, 0.0f, "Provence", true), 1);
  EXPECT_EQ(fw::inpt_cval[0].view(), "Provence");
  ASSERT_EQ(frm_write_form_data("values.txt"), 0);
  EXPECT_EQ(test_support::read_lines("values.txt")[0], "land=Provence");
}

TEST_F(Landscapes, AFolderHoldingAPercentSignIsNeverListed) {
  // "%VANTYR_LAND%" on the command line would list C:\CondorX3's folder.
  SimVersion& v = add(3);
  std::string base = v.install_dir.empty() ? "C:\\Condor" : v.install_dir;
  std::string steered = base + "X3";
  v.install_dir = base + "%VANTYR_LAND%3";
  v.landscapes = {"Alpha", "Elsewhere"};
  make();
  test_support::write_file(fixture_host_path(setup, steered + "\\Landscapes\\Elsewhere\\Elsewhere.trn"), "x");
  test_support::set_env("VANTYR_LAND", "X");

  fw::nb_butt = 0;
  std::string out = create_form();
  test_support::set_env("VANTYR_LAND", "");
  EXPECT_EQ(fw::ddl_nbli[0], 0) << out;
  EXPECT_NE(out.find("Landscapes\\ holds \"%\" or a double quote:\nthe landscape list stays empty"), std::string::npos)
      << out;
  EXPECT_EQ(fw::nb_butt, 1);  // the rest of the form follows
}

TEST_F(Landscapes, WithoutAnInstallationTheHandOverStopsAtTheList) {
  fw::nb_rdio = 0;
  fw::nb_butt = 0;
  std::string out = create_form();
  EXPECT_NE(out.find("*** No Condor installation found (2 or 3) ***"), std::string::npos) << out;
  bool logged = false;
  for (const std::string& l : test_support::read_lines("Logfile.txt"))
    logged = logged || l.find("*** No Condor installation found (2 or 3) ***") != std::string::npos;
  EXPECT_TRUE(logged);
  EXPECT_EQ(fw::nb_inpt, 4);  // the boxes were handed over
  EXPECT_EQ(fw::nb_rdio, 0);  // the groups and buttons were not
  EXPECT_EQ(fw::nb_butt, 0);
}

}  // namespace
