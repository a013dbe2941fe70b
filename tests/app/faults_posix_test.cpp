// Faults that need the Linux host to make them: folders an unprivileged user
// cannot write, a Hidden_Planes on another file system, a registry file cut
// short. What the user is told, and that every towplane folder is still
// there exactly once, complete.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "tests/app/fault_fixture.h"

using namespace app_test;

namespace {

constexpr uid_t kNobody = 65534;

// Runs `step` in a child process as the unprivileged user nobody (CI runs
// as root, and root writes through permissions), or as this user when it is
// not root; returns what the child wrote to standard output.
template <class Step>
std::string as_nobody(const fs::path& out, Step step) {
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0 || dup2(fd, 1) < 0 || dup2(fd, 2) < 0) _exit(3);
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
                           setresuid(kNobody, kNobody, kNobody) != 0))
      _exit(4);
    step();
    std::fflush(stdout);
    _exit(0);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  return without_cr(read_file(out));
}

// Gives the folder and everything below it to nobody.
void give_to_nobody(const fs::path& dir) {
  if (geteuid() != 0) return;
  EXPECT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
  for (const auto& e : fs::recursive_directory_iterator(dir)) EXPECT_EQ(::lchown(e.path().c_str(), kNobody, kNobody), 0);
}

// A read-only Planes: neither deactivating nor activating can move a folder;
// both are reported, and nothing moves.
TEST_F(FaultTest, AReadOnlyPlanesMovesNothingAndSaysSo) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "PAWNEE"};
  v.hidden_towplanes = {"WILGA"};
  make();
  unique_contents();
  scan();
  give_to_nobody(root());
  give_to_nobody(run_dir());
  fs::permissions(tmp.path(), fs::perms(0755));
  fs::permissions(root() / "Planes", fs::perms(0555));
  remember();
  tick("DR400", 0);
  tick("WILGA", 1);
  std::string out = as_nobody(tmp.path() / "child.txt", apply_selection);
  fs::permissions(root() / "Planes", fs::perms(0755));
  EXPECT_NE(out.find("Vantyr\nNot moved:\n WILGA: MOVE failed with exit status 1\n DR400: MOVE failed with exit status 1\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Access is denied."), std::string::npos) << out;
  expect_installation(before);
}

// user.reg cut short in the middle of a line: a value without its closing
// quote is no value, so a cut install folder never names another folder
// (here a complete installation at the cut name).
TEST_F(FaultTest, AUserRegCutMidLineNamesNoOtherFolder) {
  SimVersion& v = install(3);
  v.install_dir = "D:\\Condor3 Sim";
  v.towplanes = {"DR400"};
  make();
  fs::path reg = fs::path(setup.prefix) / "user.reg";
  std::string whole = read_file(reg);
  std::size_t at = whole.find("\"InstallDir\"=\"D:\\\\Condor3 Sim\"");
  ASSERT_NE(at, std::string::npos) << whole;
  // A complete installation at the name a cut value would give.
  write_file(root().parent_path() / "Condor3" / "Condor.exe", "MZ");
  write_file(root().parent_path() / "Condor3" / "Logs" / "Logfile.txt", "Condor\r\nx\r\nCondor version: 3004\r\n");
  for (std::size_t cut : {at + 6, at + 25, at + 27, at + 29, whole.find("[Software\\\\Condor3]") + 14}) {
    SCOPED_TRACE(whole.substr(0, cut).substr(at > 40 ? at - 40 : 0));
    write_file(reg, whole.substr(0, cut));
    inst00 = CondorInstall{};
    EXPECT_EQ(check_condor_install(" "), 0);
    EXPECT_TRUE(inst00.cndrinstpath.is_blank());
  }
  // Cut after the install folder's line: that installation, whole.
  write_file(reg, whole.substr(0, whole.find('\n', at) + 1));
  inst00 = CondorInstall{};
  EXPECT_EQ(check_condor_install(" "), 3);
  EXPECT_EQ(inst00.cndrinstpath.str(), "D:\\Condor3 Sim");
}

// Folder names on a Linux disk that the program's code page cannot hold: a
// character outside Windows-1252 comes back as "?", names no folder and is
// not offered; a byte that is not UTF-8 stands for itself, and that folder
// moves under the very name it has.
TEST_F(FaultTest, NamesOutsideTheCodePage) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400", "\xC5\x81o\xC5\x9B", "Caf\xE9"};
  make();
  unique_contents();
  remember();
  scan();
  ASSERT_EQ(towplanes::npln, 2);
  for (int i = 1; i <= towplanes::npln; ++i) frm_set_value(i, 0, 0.0f, "0", false);
  Output o = output_of(apply_selection);
  EXPECT_TRUE(o.box(" DR400, Caf\xE9: DEACTIVATED\n  moved to: " + towplanes::path2.str())) << o.out;
  EXPECT_TRUE(o.logged(towplanes::path.str() + "?o?: not found"));
  expect_installation(moved(moved(before, "Planes/DR400", "Hidden_Planes/DR400"), "Planes/Caf\xE9", "Hidden_Planes/Caf\xE9"));
}

}  // namespace
