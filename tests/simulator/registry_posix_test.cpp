// Wine's registry files as the Linux build reads them, and the environment
// and program name of a Linux process seen as Windows would give them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "simulator/install_dir.h"
#include "tests/support/temp_tree.h"

using namespace test_support;

namespace {

class WineRegistry : public ::testing::Test {
 protected:
  void SetUp() override { set_env("WINEPREFIX", tmp.path().string()); }
  int read(const char* key, const char* name, std::string& out, bool classes = false) {
    RegValue v;
    v.fill('Q');
    int len = classes ? -1 : 0;
    int st = RdUsrReg(key, name, v, len);
    out = st == 0 ? std::string(v.data(), static_cast<std::size_t>(len)) : std::string();
    return st;
  }
  TempDir tmp{"vantyr-reg"};
};

const char* const user_reg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n#arch=win64\n"
    "\n[Software\\\\Condor3] 1796740325\n"
    "#time=1dd8720e5c00cbc\n"
    "\"InstallDir\"=\"C:\\\\Program Files\\\\Condor3\"\n"
    "\"LastPlayer\"=\"J\\x00e9r\\x00f4me \\\"Jo\\\"\"\n"
    "\"Euro\"=\"\\x20ac and \\x4e2d\"\n"
    "\"Count\"=dword:00000102\n"
    "@=\"default\"\n"
    "\n[Software\\\\Condor3\\\\Sub] 1796740325\n"
    "\"InstallDir\"=\"wrong key\"\n"
    "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders] 1796740324\n"
    "\"Personal\"=str(2):\"%USERPROFILE%\\\\Documents\"\n"
    "\"Hexed\"=hex(2):25,00,41,00,25,00,5c,00,\\\n"
    "  78,00,00,00\n";

TEST_F(WineRegistry, ValuesInBothStringFormsWithWinesEscapes) {
  write_file(tmp.path() / "user.reg", user_reg);
  std::string v;
  EXPECT_EQ(read("SOFTWARE\\Condor3\\", "InstallDir", v), 0);
  EXPECT_EQ(v, std::string("C:\\Program Files\\Condor3") + '\0');
  // Characters of the single-byte code page, quotes kept.
  EXPECT_EQ(read("SOFTWARE\\Condor3\\", "LastPlayer", v), 0);
  EXPECT_EQ(v, std::string("J\xE9r\xF4me \"Jo\"") + '\0');
  // The euro sign has its own byte; a character outside the code page is "?".
  EXPECT_EQ(read("SOFTWARE\\Condor3\\", "Euro", v), 0);
  EXPECT_EQ(v, std::string("\x80 and ?") + '\0');
  EXPECT_EQ(read("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Personal", v), 0);
  EXPECT_EQ(v, std::string("%USERPROFILE%\\Documents") + '\0');
  // Data wrapped onto a second line.
  EXPECT_EQ(read("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Hexed", v), 0);
  EXPECT_EQ(v, std::string("%A%\\x") + '\0');
  EXPECT_EQ(read("Software\\Condor3", "Count", v), 0);
  EXPECT_EQ(v, std::string("\x02\x01\0\0", 4));
  EXPECT_EQ(read("Software\\Condor3", "", v), 0);
  EXPECT_EQ(v, std::string("default") + '\0');
}

TEST_F(WineRegistry, KeysMatchWholeAndWithoutRegardToCase) {
  write_file(tmp.path() / "user.reg", user_reg);
  std::string v;
  EXPECT_EQ(read("software\\CONDOR3\\\\", "installdir", v), 0);
  EXPECT_EQ(v.substr(0, 3), "C:\\");
  EXPECT_EQ(read("Software\\Condor3\\Sub", "InstallDir", v), 0);
  EXPECT_EQ(v, std::string("wrong key") + '\0');
  EXPECT_EQ(read("Software\\Condor", "InstallDir", v), reg_not_found);
  EXPECT_EQ(read("Software\\Condor3", "Missing", v), reg_not_found);
  EXPECT_EQ(read("Software\\Microsoft", "Personal", v), reg_not_found);
}

TEST_F(WineRegistry, ClassesRootIsTheClassesBranchOfTheSystemFile) {
  write_file(tmp.path() / "system.reg",
             "WINE REGISTRY Version 2\n\n[Software\\\\Classes\\\\.fpl] 1\n@=\"Condor.FlightPlan\"\n");
  std::string v;
  EXPECT_EQ(read(".fpl", "", v, true), 0);
  EXPECT_EQ(v, std::string("Condor.FlightPlan") + '\0');
  EXPECT_EQ(read(".fpl", "", v, false), reg_not_found);
}

TEST_F(WineRegistry, MissingUnreadableAndOversizedGiveTheWindowsStatuses) {
  std::string v;
  EXPECT_EQ(read("Software\\Condor3", "InstallDir", v), reg_not_found);
  fs::create_directories(tmp.path() / "user.reg");  // there, but not a file that reads
  EXPECT_EQ(read("Software\\Condor3", "InstallDir", v), reg_access_denied);
  fs::remove(tmp.path() / "user.reg");
  std::string big(300, 'x');
  write_file(tmp.path() / "user.reg", "WINE REGISTRY Version 2\n[Software\\\\Condor3]\n\"InstallDir\"=\"" + big + "\"\n");
  RegValue out;
  out.fill('Q');
  int len = 0;
  EXPECT_EQ(RdUsrReg("Software\\Condor3", "InstallDir", out, len), reg_more_data);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(out[0], 'Q');
}

TEST(LinuxProcess, WindowsVariablesFallBackToWinesValues) {
  unsetenv("USERPROFILE");
  set_env("USER", "ann");
  char buf[256];
  int n = MyGetEnv("USERPROFILE", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), "C:\\users\\ann");
  // Names do not depend on case; a set variable wins.
  set_env("VANTYR_Mixed_Case", "value");
  n = MyGetEnv("vantyr_mixed_case", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), "value");
  set_env("USERPROFILE", "C:\\users\\bob");
  n = MyGetEnv("USERPROFILE", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), "C:\\users\\bob");
  // Too small a buffer gives the size needed and no value.
  EXPECT_EQ(MyGetEnv("USERPROFILE", buf, 5), 13);
  EXPECT_EQ(MyGetEnv("VANTYR_NOT_SET_AT_ALL", buf, sizeof buf), 0);
  // Values come in the program's code page.
  set_env("VANTYR_ACCENT", "Zo\xC3\xA9");
  n = MyGetEnv("VANTYR_ACCENT", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), "Zo\xE9");
}

TEST(LinuxProcess, ProgramFileIsNamedOnDriveZ) {
  char buf[512];
  int n = GetExePath(buf, sizeof buf);
  ASSERT_GT(n, 3);
  std::string name(buf, static_cast<std::size_t>(n));
  EXPECT_EQ(name.rfind("Z:\\", 0), 0u) << name;
  EXPECT_EQ(name.find('/'), std::string::npos) << name;
  EXPECT_EQ(GetExePath(buf, 4), 0);
}

}  // namespace
