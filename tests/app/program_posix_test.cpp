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

TEST_F(AppTest, UnwritableListingFoldersStopTheRunAtStart) {
  install(3).towplanes = {"DR400"};
  make();
  fs::path program = program_dir();
  // Root writes through permissions: the program runs as nobody then.
  std::string as_user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
  const std::string tail = " folder is not writable\nChange the access rights of the folder\nOr install in another location";
  for (const fs::path& folder : {program, run_dir()}) {
    fs::permissions(folder, fs::perms(0555));
    Output o = run_program(program, as_user);
    fs::permissions(folder, fs::perms(0777));
    EXPECT_TRUE(o.box("The " + program_path(folder) + tail) && !o.has("frm_do_form")) << o.out;
  }
}

}  // namespace
