// The program run as a process on generated installations: what it offers,
// what it reports, what it leaves behind, and a stop that stops.
#include "tests/app/app_fixture.h"
#include "tests/app/form_closer.h"

using namespace app_test;

namespace {

void expect_no_listing_left(const fs::path& run, const fs::path& program) {
  for (const std::string& f : tree_of(run)) EXPECT_TRUE(f == "Logfile.txt" || f == "frm_forms.log") << f;
  EXPECT_EQ(tree_of(program).size(), 2u);  // the program and its form
}

TEST_F(AppTest, RunOffersTheActiveInstallationsTowplanesAndMovesNothingWithoutTheDialog) {
  SimVersion& v2 = install(2);
  v2.towplanes = {"C2ONLY"};
  v2.flight_plan_time = v2.log_time = 1600000000;
  SimVersion& v3 = install(3);
  v3.towplanes = {"DR400", "A&B", "T^(1)", "Piper Cub", "50%TUG", kLongName};
  v3.gliders = {"ASK21"};
  v3.folders = {"Docs"};
  v3.hidden_planes = false;
  v3.flight_plan_time = 1600000100;
  v3.log_time = 1600000900;  // flown last
  make();
  fs::path program = program_dir();
  std::string planes = host(install_dir_of(v3) + "\\Planes"), hidden = install_dir_of(v3) + "\\Hidden_Planes\\";
  std::vector<std::string> before = tree_of(planes);
  FormCloser closer;
  Output o = run_program(program);

  EXPECT_TRUE(o.has("MKDIR \"" + hidden + "\"\n")) << o.out;
  EXPECT_TRUE(fs::is_directory(host(hidden)));
  EXPECT_TRUE(o.has("npln 6\n1 T^(1)\n2 Piper Cub\n3 DR400\n4 " + kLong32 + "\n5 A&B\n6 50%TUG\n"));
  EXPECT_TRUE(o.has("npln NForm NFound NAct 6 6 5 5 0\n"));
  EXPECT_TRUE(o.box("Missing towplanes:\n" + kLong32));
  EXPECT_TRUE(o.logged("ASK21: not a Condor towplane") && o.logged("Docs: not a Condor towplane"));
  if (windows_build()) {
    // The form's window was shown, then closed as its close box would.
    EXPECT_EQ(closer.closed(), 1);
    EXPECT_TRUE(o.has("frm_do_form : -999\n")) << o.out;
  } else {
    // Without a window the form ends at once and the user is told why.
    EXPECT_TRUE(o.box("The form's window could not be opened:\nno display can be reached (DISPLAY is not set)"));
    EXPECT_TRUE(o.logged("The form's window could not be opened:"));
    EXPECT_TRUE(o.has("frm_do_form : 0\n"));
  }
  EXPECT_EQ(tree_of(planes), before);
  expect_no_listing_left(run_dir(), program);
}

TEST_F(AppTest, RunStopsWhenATowplanesDataFileIsFoundTwice) {
  fs::path program = program_dir();
  for (int in_one_tree : {0, 1}) {
    SCOPED_TRACE(in_one_tree);
    setup.versions.clear();
    SimVersion& v = install(2);
    v.install_dir = folder("Case " + std::to_string(in_one_tree));
    v.towplanes = {"DR400", "PAWNEE"};
    if (in_one_tree) v.towplanes.push_back(kLongName);  // missing: the count alone would not tell
    else v.hidden_towplanes = {"DR400"};
    make();
    std::string planes = v.install_dir + "\\Planes\\";
    if (in_one_tree) write_file(host(planes + "PAWNEE\\Old\\PAWNEE.dta"), "a copy");
    FormCloser closer;
    Output o = run_program(program);
    EXPECT_EQ(closer.closed(), 0);  // no form was shown
    EXPECT_TRUE(o.box("Some towplanes found both in \n" + planes + "\n" + v.install_dir + "\\Hidden_Planes\\")) << o.out;
    EXPECT_FALSE(o.has("Missing towplanes") || o.has("frm_do_form"));
    expect_no_listing_left(run_dir(), program);
  }
}

TEST_F(AppTest, AProgramFolderThatCannotBeWrittenLeavesTheListingFileToTheCurrentFolder) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400"};
  v.hidden_towplanes = {"PAWNEE"};
  make();
  fs::path program = program_dir();
  // A folder holding the name of the writable test's file: nothing can be
  // written under that name, as in a folder of an installation for all users.
  fs::create_directory(program / "tmp_TMP_tmp_TMP_tmp_TMP_tmp_TMP_tmp.txt");
  std::vector<std::string> before = tree_of(program);
  FormCloser closer;
  Output o = run_program(program);
  EXPECT_TRUE(o.has("The program's folder is not writable: the listing file goes to the current folder: " +
                    program_path(run_dir() / "Vantyr_planes_list.txt") + "\n"))
      << o.out;
  EXPECT_TRUE(o.has("npln NForm NFound NAct 2 2 2 1 1\n")) << o.out;  // both towplanes located
  EXPECT_TRUE(o.has("frm_do_form")) << o.out;
  EXPECT_EQ(tree_of(program), before);
  for (const std::string& f : tree_of(run_dir())) EXPECT_TRUE(f == "Logfile.txt" || f == "frm_forms.log") << f;
}

// A folder of the listing file's name beside the program: no listing could
// be written, and every towplane would be "missing". The run stops with the
// reason and leaves the folder.
TEST_F(AppTest, AListingFileNameTakenByAFolderStopsTheRun) {
  install(3).towplanes = {"DR400"};
  make();
  fs::path program = program_dir();
  write_file(program / "Vantyr_planes_list.txt" / "kept.txt", "kept");
  FormCloser closer;
  Output o = run_program(program);
  EXPECT_EQ(closer.closed(), 0);  // no form was shown
  EXPECT_TRUE(o.box("The listing file " + program_path(program / "Vantyr_planes_list.txt") +
                    " cannot be written:\na folder or a read-only file has its name.\nRemove it and start Vantyr again"))
      << o.out;
  EXPECT_EQ(read_lines(program / "Vantyr_planes_list.txt" / "kept.txt"), std::vector<std::string>{"kept"});
}

}  // namespace
