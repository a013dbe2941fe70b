// The dialog module's zenity side, with a stand-in zenity on PATH that
// records its arguments and answers what the test gives it: the arguments
// of every dialog, paths turned into host paths and back onto their drive,
// texts converted between the code page and UTF-8, the answers parsed, and
// the wait callback while zenity runs.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "tests/common/services_support.h"

namespace {

using Lines = std::vector<std::string>;

// Sets (or, for null, unsets) an environment variable for the scope.
class Env {
 public:
  Env(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~Env() { saved_ ? setenv(name_.c_str(), saved_->c_str(), 1) : unsetenv(name_.c_str()); }
  Env(const Env&) = delete;
  Env& operator=(const Env&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

class FakeZenity : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::canonical(fresh_test_folder());
    bin_ = dir_ / "bin";
    fs::create_directories(bin_);
    write_file(bin_ / "zenity",
               "#!/bin/sh\n"
               "d=$(dirname \"$0\")\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$d/args\"\n"
               "[ -f \"$d/sleep\" ] && sleep \"$(cat \"$d/sleep\")\"\n"
               "[ -f \"$d/answer\" ] && cat \"$d/answer\"\n"
               "exit \"$(cat \"$d/status\")\"\n");
    fs::permissions(bin_ / "zenity", fs::perms::owner_all);
    reply("", 1);
    // A prefix with C: (through its link), D: elsewhere, and Z: the root.
    prefix_ = dir_ / "prefix";
    fs::create_directories(prefix_ / "dosdevices");
    fs::create_directories(prefix_ / "drive_c/Condor3/FlightPlans");
    write_file(prefix_ / "drive_c/Condor3/FlightPlans/T\xC3\xA2" "che.fpl", "");
    fs::create_directory_symlink("../drive_c", prefix_ / "dosdevices/c:");
    fs::create_directories(dir_ / "data/Tasks");
    fs::create_directory_symlink(dir_ / "data", prefix_ / "dosdevices/d:");
    fs::create_directory_symlink("/", prefix_ / "dosdevices/z:");
    std::string path = bin_.string() + ":" + std::getenv("PATH");
    env_.emplace_back("PATH", path.c_str());
    env_.emplace_back("DISPLAY", ":77");
    env_.emplace_back("VANTYR_DIALOGS", nullptr);
    env_.emplace_back("WINEPREFIX", prefix_.c_str());
  }
  void TearDown() override {
    dialogs_set_wait_callback(nullptr);
    env_.clear();
  }

  // What the stand-in writes on its output and its exit status.
  void reply(const std::string& output, int status) {
    write_file(bin_ / "answer", output);
    write_file(bin_ / "status", std::to_string(status) + "\n");
  }
  Lines args() const { return read_lines(bin_ / "args"); }
  static std::string text(const char* s) { return s != nullptr ? s : "(null)"; }

  fs::path dir_, bin_, prefix_;
  std::deque<Env> env_;  // never moved: each restores its variable once
};

TEST_F(FakeZenity, OpenFileStartsOnTheHostPathAndAnswersOnTheDrive) {
  const char* patterns[] = {"*.fpl"};
  reply((dir_ / "data/Tasks/D\xC3\xA9part.fpl").string() + "\n", 0);
  // The default's case differs from the files' and its text is Windows-1252.
  const char* got = tinyfd_openFileDialog("T\xE2" "ches", "c:\\condor3\\flightplans\\t\xE2" "che.FPL", 1, patterns,
                                          nullptr, 0);
  EXPECT_EQ(text(got), "D:\\Tasks\\D\xE9part.fpl");
  EXPECT_EQ(args(), (Lines{"--file-selection", "--title=T\xC3\xA2" "ches",
                           "--filename=" + (prefix_ / "drive_c/Condor3/FlightPlans/T\xC3\xA2" "che.fpl").string(),
                           "--file-filter=*.fpl | *.[fF][pP][lL]"}));

  // Several, on their drives; a named filter; no default.
  const char* two[] = {"*.fpl", "*.TRK"};
  reply((prefix_ / "dosdevices/c:/a.fpl").string() + "|" + (dir_ / "x.trk").string() + "\n", 0);
  got = tinyfd_openFileDialog("Tasks", "", 2, two, "Task files", 1);
  EXPECT_EQ(text(got), "C:\\a.fpl|" + prog(dir_) + "\\x.trk");
  EXPECT_EQ(args(), (Lines{"--file-selection", "--title=Tasks", "--multiple", "--separator=|",
                           "--file-filter=Task files | *.[fF][pP][lL] *.[tT][rR][kK]"}));
}

TEST_F(FakeZenity, SaveAndFolderDialogsOpenInsideAFolderDefault) {
  reply((prefix_ / "drive_c/Condor3/new.fpl").string() + "\n", 0);
  const char* got = tinyfd_saveFileDialog("Save", "C:\\Condor3", 0, nullptr, nullptr);
  EXPECT_EQ(text(got), "C:\\Condor3\\new.fpl");
  EXPECT_EQ(args(), (Lines{"--file-selection", "--title=Save", "--save", "--confirm-overwrite",
                           "--filename=" + (prefix_ / "drive_c/Condor3").string() + "/"}));

  reply((dir_ / "data/Tasks").string() + "\n", 0);
  got = tinyfd_selectFolderDialog("Folder", "D:\\Tasks\\");
  EXPECT_EQ(text(got), "D:\\Tasks");
  EXPECT_EQ(args(), (Lines{"--file-selection", "--title=Folder", "--directory",
                           "--filename=" + (dir_ / "data/Tasks").string() + "/"}));

  // A relative default starts from the current folder.
  CurrentFolder cwd(dir_ / "data");
  reply("", 1);
  EXPECT_EQ(tinyfd_selectFolderDialog("Folder", "Tasks"), nullptr);
  EXPECT_EQ(args().back(), "--filename=" + (dir_ / "data/Tasks").string() + "/");
}

TEST_F(FakeZenity, CancelsEmptyAnswersAndNamesWithoutACodePageFormGiveNothing) {
  reply("/tmp/chosen.fpl\n", 1);  // zenity's status, not its output, says cancel
  EXPECT_EQ(tinyfd_openFileDialog("T", nullptr, 0, nullptr, nullptr, 0), nullptr);
  reply("", 0);
  EXPECT_EQ(tinyfd_saveFileDialog("T", nullptr, 0, nullptr, nullptr), nullptr);
  // A name the program's code page cannot hold would name another file.
  reply((dir_ / "\xE6\x97\xA5\xE6\x9C\xAC.fpl").string() + "\n", 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(tinyfd_openFileDialog("T", nullptr, 0, nullptr, nullptr, 0), nullptr);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("code page"), std::string::npos);
  // With UTF-8 texts the name comes back as it is.
  tinyfd_winUtf8 = 1;
  const char* got = tinyfd_openFileDialog("T", nullptr, 0, nullptr, nullptr, 0);
  tinyfd_winUtf8 = 0;
  EXPECT_EQ(text(got), prog(dir_) + "\\\xE6\x97\xA5\xE6\x9C\xAC.fpl");
}

TEST_F(FakeZenity, ColourChooserReadsEveryFormZenityWrites) {
  struct Case {
    const char* output;
    const char* hex;
  };
  const Case cases[] = {
      {"rgb(0,0,255)\n", "#0000FF"},
      {"rgba(16,32,48,0.5)\n", "#102030"},
      {"#a1b2c3\n", "#A1B2C3"},
      {"#ffff80000000\n", "#FF8000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    unsigned char rgb[3] = {0xFF, 0x80, 0x00};
    reply(c.output, 0);
    const char* got = tinyfd_colorChooser("choose a nice color", "#FF8000", rgb, rgb);
    EXPECT_EQ(text(got), c.hex);
    EXPECT_EQ(args(), (Lines{"--color-selection", "--title=choose a nice color", "--color=#FF8000"}));
    unsigned value = std::strtoul(c.hex + 1, nullptr, 16);
    EXPECT_EQ(rgb[0] * 65536u + rgb[1] * 256u + rgb[2], value);
  }
  // Without a colour text the bytes are the default; output that is no
  // colour and a cancel give nothing and leave the result alone.
  const unsigned char start[3] = {1, 2, 3};
  unsigned char result[3] = {9, 9, 9};
  reply("purple\n", 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(tinyfd_colorChooser("C", nullptr, start, result), nullptr);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(args().back(), "--color=#010203");
  reply("rgb(1,1,1)\n", 1);
  EXPECT_EQ(tinyfd_colorChooser("C", nullptr, start, result), nullptr);
  EXPECT_EQ(result[0] + result[1] + result[2], 27);
}

TEST_F(FakeZenity, InputBoxConvertsTextsAndHidesAPassword) {
  reply("H\xC3\xA9l\xC3\xA8ne\n", 0);
  const char* got = tinyfd_inputBox("Pilote", "Nom <b>:</b>", "\xC9mile");
  EXPECT_EQ(text(got), "H\xE9l\xE8ne");
  EXPECT_EQ(args(), (Lines{"--entry", "--title=Pilote", "--text=Nom <b>:</b>", "--entry-text=\xC3\x89mile"}));
  // OK on an empty entry is an empty text, not a cancel.
  reply("\n", 0);
  got = tinyfd_inputBox("Key", "Password:", nullptr);
  EXPECT_EQ(text(got), "");
  EXPECT_EQ(args().back(), "--hide-text");
  reply("", 1);
  EXPECT_EQ(tinyfd_inputBox("Key", "Password:", ""), nullptr);
}

int waits = 0;
void count_wait() { ++waits; }
void other_wait() {}

TEST_F(FakeZenity, TheWaitCallbackRunsAboutEvery50MsWhileZenityRuns) {
  EXPECT_EQ(dialogs_set_wait_callback(count_wait), nullptr);
  write_file(bin_ / "sleep", "0.5\n");
  reply("/x\n", 0);
  waits = 0;
  auto start = std::chrono::steady_clock::now();
  const char* got = tinyfd_selectFolderDialog("F", nullptr);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(text(got), "Z:\\x");
  EXPECT_GE(waits, 5);
  // About one wait per 50 ms of the dialog's life, however slow the machine:
  // not a busy loop.
  EXPECT_LE(waits, ms / 50 + 2) << ms << " ms";
  // Message boxes wait the same way; a replaced callback is not called.
  EXPECT_EQ(dialogs_set_wait_callback(other_wait), count_wait);
  dialogs_set_wait_callback(count_wait);
  write_file(bin_ / "sleep", "0.3\n");
  waits = 0;
  EXPECT_EQ(tinyfd_messageBox("T", "m", "ok", "info", 1), 1);
  EXPECT_GE(waits, 3);
  EXPECT_EQ(dialogs_set_wait_callback(other_wait), count_wait);
  waits = 0;
  tinyfd_messageBox("T", "m", "ok", "info", 1);
  EXPECT_EQ(waits, 0);
  EXPECT_EQ(dialogs_set_wait_callback(nullptr), other_wait);
}

TEST_F(FakeZenity, WithoutZenityOrWithForceConsoleTheConsoleAsks) {
  StdoutCapture out(dir_ / "console.txt");
  answer_from_stdin(dir_ / "in.txt", "#102030\n");
  tinyfd_forceConsole = 1;
  unsigned char rgb[3] = {0, 0, 0};
  const char* got = tinyfd_colorChooser("C", "#FFFFFF", rgb, rgb);
  tinyfd_forceConsole = 0;
  EXPECT_EQ(text(got), "#102030");
  fs::remove(bin_ / "zenity");
  Env only_bin("PATH", bin_.c_str());
  answer_from_stdin(dir_ / "in.txt", "");
  EXPECT_EQ(tinyfd_inputBox("I", "Text:", "x"), nullptr);
  EXPECT_EQ(out.text(), "C\nColour as #RRGGBB or r,g,b [#FFFFFF]\n> I\nText: [x]\n> ");
  EXPECT_FALSE(fs::exists(bin_ / "args")) << "zenity ran";
}

}  // namespace
