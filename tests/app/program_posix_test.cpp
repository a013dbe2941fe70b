// The stops of a run (Linux build): each shows its message box and ends the
// run before the form, with exit status 0.
#include <unistd.h>

#include "tests/app/app_fixture.h"

using namespace app_test;

namespace {

std::string shipped_form(const std::string& version) {
  std::ifstream f(built("Vantyr_form.frm"));
  std::string text((std::istreambuf_iterator<char>(f)), {});
  return text.replace(text.find("Version=1200"), 12, "Version=" + version);
}

TEST_F(AppTest, StopsEndTheRunWithTheirMessage) {
  make();  // no installation
  Output o = run_program(program_dir());
  EXPECT_TRUE(o.box("*** No Condor installation found (2 or 3) ***") && o.logged("*** No Condor installation found (2 or 3) ***")) << o.out;
  o = run_program(program_dir(), "LC_ALL= LC_MESSAGES= LANG=fr_FR.UTF-8");
  EXPECT_TRUE(o.box("*** Aucune installation de Condor (2 ou 3) trouv\xE9" "e ***")) << o.out;

  install(3).towplanes = {"DR400", "PAWNEE", "ASK"};
  make();
  EXPECT_TRUE(run_program(program_dir(shipped_form("1300"))).box("Version numbers do not match:\nApp:1200\nForm:1300"));
  EXPECT_TRUE(run_program(program_dir(shipped_form("1250"))).has("frm_do_form : 0\n"));
  o = run_program(program_dir("[General]\nVersion=1200\n[Input-boxes]\n{Txt=a; Name=a; Type=TCK; Pos=9,9}\n"));
  EXPECT_TRUE(o.box("Too many towplanes") && !o.has("frm_do_form")) << o.out;  // 3 towplanes, 1 input
  fs::remove(program_dir() / "Vantyr_form.frm");
  o = run_program(tmp.path() / "Vantyr Program");
  EXPECT_TRUE(o.box(program_path(tmp.path() / "Vantyr Program" / "Vantyr_form.frm") + " ERROR OPENING")) << o.out;

  for (int i = 0; i < 31; ++i) version(3).hidden_towplanes.push_back("TUG" + std::to_string(i));
  make();
  o = run_program(program_dir());  // 34 towplanes
  EXPECT_TRUE(o.box("Too many towplanes") && !o.has("frm_do_form")) << o.out;

  version(3).install_dir = folder("50%Games\\Condor3");
  make();
  EXPECT_TRUE(run_program(program_dir()).box("The folder " + folder("50%Games\\Condor3\\Planes\\") +
                                             " holds \"%\" or a double quote:\nthe command interpreter cannot take it "
                                             "as a name.\nRename it or install in another location"));
}

// Installed for all users: the program's folder belongs to root. Root writes
// through permissions, so the program runs as nobody then.
TEST_F(AppTest, OnlyAnUnwritableCurrentFolderStopsTheRun) {
  install(3).towplanes = {"DR400"};
  make();
  fs::path program = program_dir();
  std::string as_user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
  fs::permissions(run_dir(), fs::perms(0777));
  fs::permissions(program, fs::perms(0555));
  Output o = run_program(program, as_user);
  EXPECT_TRUE(o.has("the listing file goes to the current folder: " + program_path(run_dir() / "Vantyr_planes_list.txt")))
      << o.out;
  EXPECT_TRUE(o.has("npln NForm NFound NAct 1 1 1 1 0\n") && o.has("frm_do_form : 0\n")) << o.out;
  EXPECT_EQ(tree_of(program).size(), 2u);  // the program and its form

  fs::permissions(run_dir(), fs::perms(0555));
  o = run_program(program, as_user);
  fs::permissions(program, fs::perms(0777));
  fs::permissions(run_dir(), fs::perms(0777));
  EXPECT_TRUE(o.box("The " + program_path(run_dir()) +
                    " folder is not writable\nChange the access rights of the folder\nOr install in another location") &&
              !o.has("frm_do_form"))
      << o.out;
}

}  // namespace
