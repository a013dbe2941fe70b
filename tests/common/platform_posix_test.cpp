// The Linux side of the host seam: Windows paths mapped into a Wine prefix,
// the program's own path on drive Z:, the console and language decisions,
// and folders an unprivileged user cannot write.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/command_interpreter.h"
#include "common/logging.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "tests/common/services_support.h"

namespace {

using Lines = std::vector<std::string>;

// Sets an environment variable for the scope (unset when `value` is null).
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old != nullptr) saved_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvVar() {
    if (saved_) {
      setenv(name_.c_str(), saved_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::canonical(fresh_test_folder());
    prefix_ = dir_ / "prefix";
    fs::create_directories(prefix_ / "dosdevices");
    fs::create_directories(prefix_ / "drive_c" / "Condor3" / "Planes" / "Piper");
    write_file(prefix_ / "drive_c" / "Condor3" / "Planes" / "Piper" / "Piper.cfg", "x\n");
    fs::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
    fs::create_directories(dir_ / "cdrom");
    fs::create_directory_symlink(dir_ / "cdrom", prefix_ / "dosdevices" / "d:");
    env_.emplace("WINEPREFIX", prefix_.c_str());
  }
  void TearDown() override { env_.reset(); }

  fs::path dir_, prefix_;
  std::optional<EnvVar> env_;
};

TEST_F(WinePrefixTest, DrivesMapThroughDosdevices) {
  std::string piper = (prefix_ / "drive_c/Condor3/Planes/Piper/Piper.cfg").string();
  EXPECT_EQ(host_path("C:\\Condor3\\Planes\\Piper\\Piper.cfg"), piper);
  EXPECT_EQ(host_path("D:\\setup.exe"), (dir_ / "cdrom/setup.exe").string());
  EXPECT_EQ(host_path("C:\\"), (prefix_ / "drive_c").string() + "/");
  // Without a link, C: is the prefix's drive_c and Z: the root.
  fs::remove(prefix_ / "dosdevices" / "c:");
  EXPECT_EQ(host_path("C:\\Condor3\\Planes\\Piper\\Piper.cfg"), piper);
  EXPECT_EQ(host_path("Z:\\usr\\bin"), "/usr/bin");
  EXPECT_TRUE(folder_exists("Z:\\usr\\bin\\"));
  // A drive that does not exist holds nothing.
  EXPECT_FALSE(path_exists("Q:\\"));
  EXPECT_FALSE(file_exists("Q:\\Condor3\\Planes\\Piper\\Piper.cfg"));
}

TEST_F(WinePrefixTest, NamesMatchWithoutRegardToCase) {
  std::string planes = (prefix_ / "drive_c/Condor3/Planes").string();
  EXPECT_EQ(host_path("c:\\CONDOR3\\planes\\PIPER\\piper.CFG"), planes + "/Piper/Piper.cfg");
  EXPECT_TRUE(file_exists("c:\\condor3\\PLANES\\piper\\PIPER.cfg"));
  EXPECT_GT(file_mtime("C:\\CONDOR3\\PLANES\\PIPER\\PIPER.CFG"), 0);
  // What does not exist keeps the case given, and a trailing backslash stays.
  EXPECT_EQ(host_path("C:\\condor3\\Hidden_Planes\\"), (prefix_ / "drive_c/Condor3/Hidden_Planes/").string());
  EXPECT_EQ(host_path("C:\\condor3\\Hidden_Planes\\Piper"), (prefix_ / "drive_c/Condor3/Hidden_Planes/Piper").string());
  // An exact name wins over one that differs in case.
  fs::create_directory(prefix_ / "drive_c" / "condor3");
  EXPECT_EQ(host_path("C:\\condor3"), (prefix_ / "drive_c/condor3").string());
  EXPECT_EQ(host_path("C:\\Condor3"), (prefix_ / "drive_c/Condor3").string());
  // A new file is created where the existing folder is.
  std::FILE* f = open_file("C:\\CONDOR3\\PLANES\\new.txt", "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(fs::exists(prefix_ / "drive_c/Condor3/Planes/new.txt"));
}

// A scan keeps the folders it searched for names in another case: what the
// program itself creates, deletes, makes or moves meanwhile is seen at once,
// what others change is seen by the next scan.
TEST_F(WinePrefixTest, AScanSeesTheProgramsOwnChangesAtOnceAndOthersAfterIt) {
  fs::create_directories(prefix_ / "drive_c/Condor3/Hidden_Planes");
  const fs::path piper_dir = prefix_ / "drive_c/Condor3/Planes/Piper";
  const std::string piper = "C:\\CONDOR3\\PLANES\\PIPER\\";  // every folder in another case
  auto create = [](const std::string& name) {
    std::FILE* f = open_file(name, "w");
    ASSERT_NE(f, nullptr) << name;
    std::fclose(f);
  };
  int exitstat = -1, cmdstat = -1;
  begin_folder_scan();
  EXPECT_TRUE(file_exists(piper + "piper.CFG"));
  EXPECT_FALSE(file_exists(piper + "Piper.pol"));
  create(piper + "PIPER.POL");
  EXPECT_TRUE(file_exists(piper + "Piper.pol"));
  EXPECT_EQ(remove_path(piper + "piper.pol"), 0);
  // Now in no case at all: made as written, not as the deleted file was.
  create(piper + "Piper.pol");
  EXPECT_TRUE(fs::exists(piper_dir / "Piper.pol"));
  run_command("MKDIR C:\\Condor3\\NEW", exitstat, cmdstat);
  EXPECT_TRUE(folder_exists("C:\\condor3\\new"));
  EXPECT_FALSE(folder_exists("C:\\condor3\\hidden_planes\\piper"));
  run_command("MOVE C:\\Condor3\\Planes\\Piper C:\\Condor3\\Hidden_Planes\\", exitstat, cmdstat);
  ASSERT_EQ(exitstat, 0);
  EXPECT_TRUE(file_exists("C:\\condor3\\hidden_planes\\piper\\piper.cfg"));
  write_file(prefix_ / "drive_c/Condor3/Hidden_Planes/Piper/Piper.PHF", "x\n");
  end_folder_scan();
  begin_folder_scan();
  EXPECT_TRUE(file_exists("C:\\condor3\\hidden_planes\\piper\\piper.phf"));
  end_folder_scan();
}

TEST_F(WinePrefixTest, WindowsTextsNameUtf8Files) {
  fs::path dir = prefix_ / "drive_c" / "H\xC3\xA9l\xC3\xA8ne";  // Hélène, as Wine stores it
  fs::create_directory(dir);
  EXPECT_TRUE(folder_exists("C:\\H\xE9l\xE8ne"));
  EXPECT_TRUE(folder_exists("C:\\H\xC9L\xC8NE"));  // upper-case accented letters too
  EXPECT_EQ(program_path_from_host(dir.string()), prog(prefix_ / "drive_c") + "\\H\xE9l\xE8ne");
}

TEST_F(WinePrefixTest, RelativePathsStayRelative) {
  fs::create_directories(dir_ / "work" / "Sub");
  write_file(dir_ / "work" / "Sub" / "file.txt", "x\n");
  CurrentFolder cwd(dir_ / "work");
  EXPECT_EQ(host_path("SUB\\FILE.TXT"), "Sub/file.txt");
  EXPECT_EQ(host_path("..\\work\\sub"), "../work/Sub");
  EXPECT_EQ(host_path(".\\Logfile.txt"), "./Logfile.txt");
  EXPECT_EQ(host_path("Logfile.txt"), "Logfile.txt");
  EXPECT_TRUE(file_exists("sub\\file.TXT"));
}

// Paths picked in a host dialog come back on the drive that holds them.
TEST_F(WinePrefixTest, HostPathsMapBackToTheirDrive) {
  fs::create_directory_symlink("/", prefix_ / "dosdevices" / "z:");
  const fs::path c = prefix_ / "drive_c";
  EXPECT_EQ(drive_path_from_host((c / "Condor3/Planes/Piper/Piper.cfg").string()),
            "C:\\Condor3\\Planes\\Piper\\Piper.cfg");
  EXPECT_EQ(drive_path_from_host(c.string()), "C:\\");
  EXPECT_EQ(drive_path_from_host((c / "Condor3/").string()), "C:\\Condor3\\");
  // Through the c: link, and a file about to be saved in a new folder.
  EXPECT_EQ(drive_path_from_host((prefix_ / "dosdevices/c:/Condor3/new/a.fpl").string()), "C:\\Condor3\\new\\a.fpl");
  EXPECT_EQ(drive_path_from_host((dir_ / "cdrom/setup.exe").string()), "D:\\setup.exe");
  EXPECT_EQ(drive_path_from_host((dir_ / "cdrom").string()), "D:\\");
  // Names in UTF-8 become the program's code page.
  EXPECT_EQ(drive_path_from_host((c / "H\xC3\xA9l\xC3\xA8ne.trk").string()), "C:\\H\xE9l\xE8ne.trk");
  // Outside every drive but the root: Z:, and a relative path from the
  // current folder.
  fs::create_directories(dir_ / "other");
  EXPECT_EQ(drive_path_from_host((dir_ / "other/x.txt").string()), prog(dir_) + "\\other\\x.txt");
  EXPECT_EQ(drive_path_from_host("/"), "Z:\\");
  {
    CurrentFolder cwd(c / "Condor3");
    EXPECT_EQ(drive_path_from_host("Planes/../Planes/Piper"), "C:\\Condor3\\Planes\\Piper");
  }
  // The program's own folder stays a Z: path.
  EXPECT_EQ(program_path_from_host((c / "Condor3").string()), prog(c) + "\\Condor3");
}

// The program's own folder (and any host folder outside every drive) maps
// back to the host whatever the prefix's z: says.
TEST_F(WinePrefixTest, HostFoldersMapBackWhateverTheZDriveSays) {
  fs::create_directories(dir_ / "other");
  write_file(dir_ / "other/x.txt", "x\n");
  const std::string z_other = prog(dir_ / "other");  // Z:\... while there is no z:
  ASSERT_EQ(z_other.rfind("Z:\\", 0), 0u);
  const fs::path z = prefix_ / "dosdevices" / "z:";
  fs::create_directory_symlink(dir_ / "cdrom", z);  // remapped
  const std::string other = "\\\\?\\unix" + z_other.substr(2);
  EXPECT_EQ(program_path_from_host((dir_ / "other").string()), other);
  EXPECT_EQ(drive_path_from_host((dir_ / "other/x.txt").string()), other + "\\x.txt");
  EXPECT_EQ(host_path(other + "\\X.TXT"), (dir_ / "other/x.txt").string());
  EXPECT_EQ(host_path("//?/UNIX"), "/");
  EXPECT_TRUE(file_exists("\\\\?\\Unix" + z_other.substr(2) + "\\x.txt"));
  EXPECT_FALSE(path_exists("\\\\?\\unixx\\tmp"));  // another name: no such folder
  // Z: itself still leads where the link says.
  EXPECT_EQ(host_path("Z:\\x.txt"), (dir_ / "cdrom/x.txt").string());
  // Without z:, or with z: at the root, Z: is the root as before.
  fs::remove(z);
  EXPECT_EQ(program_path_from_host((dir_ / "other").string()), z_other);
  fs::create_directory_symlink("/", z);
  EXPECT_EQ(drive_path_from_host((dir_ / "other/x.txt").string()), z_other + "\\x.txt");
}

TEST_F(WinePrefixTest, TheDeepestDriveAndEitherFormOfCWin) {
  // e: inside d:'s folder: a path there is on E:.
  fs::create_directories(dir_ / "cdrom/disc2/maps");
  fs::create_directory_symlink(dir_ / "cdrom/disc2", prefix_ / "dosdevices" / "e:");
  EXPECT_EQ(drive_path_from_host((dir_ / "cdrom/disc2/maps").string()), "E:\\maps");
  EXPECT_EQ(drive_path_from_host((dir_ / "cdrom/readme.txt").string()), "D:\\readme.txt");
  // A c: link elsewhere: both it and drive_c are C:, even when a second
  // drive leads to the same folder.
  fs::remove(prefix_ / "dosdevices" / "c:");
  fs::create_directories(dir_ / "windows_c/Condor3");
  fs::create_directory_symlink(dir_ / "windows_c", prefix_ / "dosdevices" / "c:");
  fs::create_directory_symlink(dir_ / "windows_c", prefix_ / "dosdevices" / "f:");
  EXPECT_EQ(drive_path_from_host((dir_ / "windows_c/Condor3").string()), "C:\\Condor3");
  EXPECT_EQ(drive_path_from_host((prefix_ / "drive_c/Condor3").string()), "C:\\Condor3");
  // C: comes first, before a deeper drive inside it.
  fs::create_directory_symlink(dir_ / "windows_c/Condor3", prefix_ / "dosdevices" / "h:");
  fs::create_directory_symlink(prefix_ / "drive_c/Condor3", prefix_ / "dosdevices" / "i:");
  EXPECT_EQ(drive_path_from_host((dir_ / "windows_c/Condor3/x").string()), "C:\\Condor3\\x");
  EXPECT_EQ(drive_path_from_host((prefix_ / "drive_c/Condor3/x").string()), "C:\\Condor3\\x");
  fs::remove(prefix_ / "dosdevices" / "h:");
  fs::remove(prefix_ / "dosdevices" / "i:");
  // Without a c: link, drive_c alone; a dangling link is no drive.
  fs::remove(prefix_ / "dosdevices" / "c:");
  fs::create_directory_symlink(dir_ / "gone", prefix_ / "dosdevices" / "g:");
  EXPECT_EQ(drive_path_from_host((prefix_ / "drive_c/Condor3").string()), "C:\\Condor3");
  EXPECT_EQ(drive_path_from_host((dir_ / "windows_c/Condor3").string()), "F:\\Condor3");
  EXPECT_EQ(drive_path_from_host((dir_ / "gone/x").string()), prog(dir_) + "\\gone\\x");
}

TEST(ProgramPath, HostPathsBecomeDriveZPaths) {
  EXPECT_EQ(program_path_from_host("/opt/vantyr/vantyr"), "Z:\\opt\\vantyr\\vantyr");
  EXPECT_EQ(program_path_from_host("/"), "Z:\\");
  EXPECT_EQ(program_path_from_host("/opt//vantyr/./bin/../"), "Z:\\opt\\vantyr\\");
  fs::path dir = fs::canonical(fresh_test_folder());
  CurrentFolder cwd(dir);
  EXPECT_EQ(program_path_from_host("./vantyr"), prog(dir) + "\\vantyr");
  // And back: the host path of the program path is the same file.
  write_file(dir / "vantyr", "");
  EXPECT_EQ(host_path(program_path_from_host("vantyr")), (dir / "vantyr").string());
}

TEST(Language, FrenchFromTheFirstLocaleVariableSet) {
  struct Case {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    int french;
  };
  const Case cases[] = {
      {nullptr, nullptr, "fr_CA.UTF-8", 1}, {"", nullptr, "fr_FR.UTF-8", 1}, {"C", nullptr, "fr_FR", 0},
      {nullptr, "fr_BE", "en_GB", 1},       {nullptr, "de_DE", "fr_FR", 0},  {nullptr, nullptr, nullptr, 0},
      {nullptr, nullptr, "french", 1},
  };
  for (const Case& c : cases) {
    EnvVar a("LC_ALL", c.lc_all), m("LC_MESSAGES", c.lc_messages), l("LANG", c.lang);
    EXPECT_EQ(IsLanguageFrench(), c.french) << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_messages ? c.lc_messages : "-")
                                            << " " << (c.lang ? c.lang : "-");
  }
}

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = fresh_test_folder(); }
  fs::path dir_;
};

TEST_F(ConsoleTest, WithoutTerminalTheProgramIsTheLastOne) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        setsid();  // a session of its own, without a terminal
        HideConsole();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir_ / "console.txt"), (Lines{"nb proc 1", "I'm the last one!"}));
}

TEST_F(ConsoleTest, TerminalSharedWithAShellIsLeftAlone) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        setsid();
        // A new terminal becomes the session's controlling terminal...
        int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) std::exit(3);
        int slave = open(ptsname(master), O_RDWR);
        if (slave < 0) std::exit(4);
        // ...and a second process, the shell, shares it.
        pid_t shell = fork();
        if (shell == 0) {
          prctl(PR_SET_PDEATHSIG, SIGKILL);
          pause();
          _exit(0);
        }
        HideConsole();
        kill(shell, SIGKILL);
        waitpid(shell, nullptr, 0);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir_ / "console.txt"), (Lines{"nb proc 2", "I'm not the last one!"}));
}

// Root writes through permissions: the unwritable cases run as "nobody".
bool can_become_unprivileged() {
  if (geteuid() != 0) return true;
  pid_t pid = fork();
  if (pid == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? 0 : 1);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void become_unprivileged() {
  if (geteuid() != 0) return;
  if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) std::exit(5);
}

class UnwritableFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!can_become_unprivileged()) GTEST_SKIP() << "running as root without the right to change user";
    dir_ = fresh_test_folder();
    locked_ = dir_ / "locked";
    fs::create_directory(locked_);
    // Readable and searchable by everyone, writable by nobody but root.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(locked_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  }
  void TearDown() override {
    if (!locked_.empty()) fs::permissions(locked_, fs::perms::owner_all, fs::perm_options::add);
  }
  fs::path dir_, locked_;
};

TEST_F(UnwritableFolderTest, CheckWritableFolderStopsWithAMessage) {
  std::string folder = prog(locked_);
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        become_unprivileged();
        check_writable_folder(folder, "Vantyr");
      },
      ::testing::ExitedWithCode(0), "");
  Lines console = read_lines(dir_ / "console.txt");
  ASSERT_GE(console.size(), 4u);
  EXPECT_EQ(Lines(console.end() - 4, console.end()),
            (Lines{"Vantyr", "The " + folder + " folder is not writable", "Change the access rights of the folder",
                   "Or install in another location"}));
  EXPECT_TRUE(fs::is_empty(locked_));
}

TEST_F(UnwritableFolderTest, LogLinesAreDroppedConsoleLinesKept) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        CurrentFolder cwd(locked_);
        become_unprivileged();
        log_message_f("{W}read-only/folder");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir_ / "console.txt"),
            (Lines{"+ WARNING " + repeat("+-", 34), "read-only", "folder", repeat("+-", 39)}));
  EXPECT_TRUE(fs::is_empty(locked_));
}

}  // namespace
