// Path splitting, file deletion and times, the writable-folder check and the
// waits for files, through Windows-style program paths.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "common/field.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "tests/common/services_support.h"

namespace {

using Lines = std::vector<std::string>;

TEST(PathSplitting, NameIsWhatFollowsTheLastBackslash) {
  Field<32> name("old");
  extract_name("C:\\Condor3\\Planes\\ASK21   ", name);
  EXPECT_EQ(name.trimmed(), "ASK21");
  extract_name("Condor.exe", name);
  EXPECT_EQ(name.trimmed(), "Condor.exe");
  extract_name("\\", name);
  EXPECT_TRUE(name.is_blank());
  extract_name("   ", name);
  EXPECT_TRUE(name.is_blank());
}

TEST(PathSplitting, FolderKeepsItsBackslash) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Condor\\Planes\\ASK21", "C:\\Condor\\Planes\\", "ASK21"},
      {"Condor.exe", ".\\", "Condor.exe"},
      {"C:\\Condor\\Planes\\", "C:\\Condor\\Planes\\", ""},
      {"..", "..\\", ""},
      {"..\\x", "..\\", "x"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    Field<256> folder("junk"), name("junk");
    extract_path_name(c.path, folder, name);
    EXPECT_EQ(folder.trimmed(), c.folder) << c.path;
    EXPECT_EQ(name.trimmed(), c.name) << c.path;
  }
  // Results are cut to the caller's fields.
  Field<4> folder, name;
  extract_path_name("C:\\Condor\\Planes", folder, name);
  EXPECT_EQ(folder.view(), "C:\\C");
  EXPECT_EQ(name.view(), "Plan");
}

TEST(PathSplitting, UpdirIgnoresATrailingBackslash) {
  Field<256> parent("junk");
  updir("C:\\a\\b\\", parent);
  EXPECT_EQ(parent.trimmed(), "C:\\a");
  updir("C:\\a\\b", parent);
  EXPECT_EQ(parent.trimmed(), "C:\\a");
  updir("name", parent);
  EXPECT_TRUE(parent.is_blank());
  updir("C:\\", parent);
  EXPECT_TRUE(parent.is_blank());
  updir("\\a", parent);  // the only backslash is the first character
  EXPECT_EQ(parent.trimmed(), "\\a");
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = fresh_test_folder(); }
  void TearDown() override { set_wait_sleep(nullptr); }
  fs::path dir_;
};

TEST_F(FilesTest, DeleteFileRemovesOnlyExistingFiles) {
  write_file(dir_ / "list.txt", "x\n");
  fs::create_directory(dir_ / "folder");
  EXPECT_EQ(delete_file(prog(dir_ / "list.txt") + "   "), 0);
  EXPECT_FALSE(fs::exists(dir_ / "list.txt"));
  EXPECT_EQ(delete_file(prog(dir_ / "list.txt")), -1);
  EXPECT_EQ(delete_file(prog(dir_ / "folder")), -1);
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
}

TEST_F(FilesTest, ModificationTimesInSecondsSince1970) {
  fs::path file = dir_ / "Logfile.txt";
  write_file(file, "x\n");
  std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
  std::int64_t t = modified_date(prog(file));
  EXPECT_LE(std::llabs(t - now), 5);
  fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(3));
  t = modified_date(prog(file));
  EXPECT_LE(std::llabs(t - (now - 3 * 3600)), 5);

  EXPECT_TRUE(is_file_updated(t, prog(file)));
  EXPECT_FALSE(is_file_updated(t + 1, prog(file)));
  EXPECT_EQ(modified_date(prog(dir_ / "missing.txt")), -1);
  EXPECT_FALSE(is_file_updated(-5, prog(dir_ / "missing.txt")));
}

TEST_F(FilesTest, CheckWritableFolderReturnsAndLeavesNothing) {
  check_writable_folder(prog(dir_) + "  ", "Vantyr");
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(FilesTest, CheckWritableFolderStopsWithAMessage) {
  std::string missing = prog(dir_ / "missing");
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        check_writable_folder(missing, "Vantyr setup");
      },
      ::testing::ExitedWithCode(0), "");
  Lines console = read_lines(dir_ / "console.txt");
  ASSERT_GE(console.size(), 4u);
  Lines box(console.end() - 4, console.end());
  EXPECT_EQ(box, (Lines{"Vantyr setup", "The " + missing + " folder is not writable",
                        "Change the access rights of the folder", "Or install in another location"}));
}

TEST_F(FilesTest, CheckWritableFolderSpeaksFrench) {
  std::string missing = prog(dir_ / "missing");
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        qfr = true;
        check_writable_folder(missing, "Quenar");
      },
      ::testing::ExitedWithCode(0), "");
  Lines console = read_lines(dir_ / "console.txt");
  ASSERT_GE(console.size(), 4u);
  Lines box(console.end() - 4, console.end());
  EXPECT_EQ(box, (Lines{"Quenar", "Le dossier " + missing + " n'est pas accessible en \xE9" "criture",
                        "Modifiez les droit d'acc\xE8" "s du dossier",
                        "Ou installez Quenar \xE0 un autre emplacement"}));
}

// The waits' clock: the injected sleep counts the time that passes, and can
// make the awaited file appear at a chosen moment.
namespace fake {
long long slept_ms = 0;
long long touch_at_ms = -1;
std::string touch_file;
void sleep(int ms) {
  slept_ms += ms;
  if (touch_at_ms >= 0 && slept_ms >= touch_at_ms) {
    write_file(touch_file, "written\n");
    touch_at_ms = -1;
  }
}
void reset(const fs::path& file, long long at_ms) {
  slept_ms = 0;
  touch_at_ms = at_ms;
  touch_file = file.string();
  set_wait_sleep(sleep);
}
}  // namespace fake

TEST_F(FilesTest, WaitForFileReturnsOnePollAfterTheFileIsWritten) {
  fs::path file = dir_ / "out.txt";
  std::int64_t start = static_cast<std::int64_t>(std::time(nullptr)) - 1;
  fake::reset(file, 9000);
  StdoutCapture out(dir_ / "console.txt");
  wait_for_file(start, prog(file));
  out.lines();
  // Polls at 0, 2, 4, 6, 8 s find nothing; the poll at 10 s finds the file
  // and waits one more poll.
  EXPECT_EQ(fake::slept_ms, 12000);

  // A file already written at the start: one poll's wait.
  fake::reset(file, -1);
  wait_for_file(start, prog(file));
  EXPECT_EQ(fake::slept_ms, 2000);
}

TEST_F(FilesTest, WaitForFileIgnoresAnOlderFile) {
  fs::path file = dir_ / "out.txt";
  write_file(file, "old\n");
  fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
  std::int64_t start = static_cast<std::int64_t>(std::time(nullptr)) - 1;
  fake::reset(file, 4000);
  StdoutCapture out(dir_ / "console.txt");
  wait_for_file(start, prog(file));
  EXPECT_EQ(fake::slept_ms, 6000);
}

TEST_F(FilesTest, WaitForTwoFilesTellsWhichOneWasWritten) {
  fs::path first = dir_ / "a.txt", second = dir_ / "b.txt";
  std::int64_t start = static_cast<std::int64_t>(std::time(nullptr)) - 1;
  fake::reset(second, 4000);
  StdoutCapture out(dir_ / "console.txt");
  int nmod = 0;
  wait_for_2_files(start, prog(first), prog(second), nmod);
  EXPECT_EQ(nmod, 2);
  EXPECT_EQ(fake::slept_ms, 6000);

  // Both written: the newer one counts.
  write_file(first, "x\n");
  fs::last_write_time(second, fs::last_write_time(first) - std::chrono::seconds(30));
  fake::reset(first, -1);
  wait_for_2_files(start - 60, prog(first), prog(second), nmod);
  EXPECT_EQ(nmod, 1);
  fs::last_write_time(first, fs::last_write_time(second) - std::chrono::seconds(30));
  wait_for_2_files(start - 3600, prog(first), prog(second), nmod);
  EXPECT_EQ(nmod, 2);
}

// The budget: a file that never comes ends the run after 12 hours of polls.
void report_slept_time() { std::printf("slept %lld\n", fake::slept_ms); }

TEST_F(FilesTest, WaitForFileGivesUpAfterTwelveHours) {
  std::string missing = prog(dir_ / "never.txt");
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        fake::reset(dir_ / "unused", -1);
        std::atexit(report_slept_time);
        wait_for_file(0, missing);
      },
      ::testing::ExitedWithCode(0), "");
  Lines console = read_lines(dir_ / "console.txt");
  ASSERT_GE(console.size(), 3u);
  EXPECT_EQ(console[console.size() - 3], "Brisko");
  EXPECT_EQ(console[console.size() - 2], "waiting for" + missing + " : 12 hours");
  EXPECT_EQ(console.back(), "slept 43202000");
}

TEST_F(FilesTest, WaitForTwoFilesGivesUpAfterTwelveHours) {
  std::string one = prog(dir_ / "one.txt"), two = prog(dir_ / "two.txt");
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        fake::reset(dir_ / "unused", -1);
        std::atexit(report_slept_time);
        int nmod = 0;
        wait_for_2_files(0, one, two, nmod);
      },
      ::testing::ExitedWithCode(0), "");
  Lines console = read_lines(dir_ / "console.txt");
  ASSERT_GE(console.size(), 2u);
  EXPECT_EQ(console[console.size() - 2], "waiting for" + one + " " + two + " : 12 hours");
  EXPECT_EQ(console.back(), "slept 43202000");
}

namespace fake_clock {
int now_ms = 0;
int read() { return now_ms; }
}  // namespace fake_clock

TEST(ElapsedTime, CountsFromTheFirstCallAcrossMidnight) {
  // The first call fixes the start for the whole process: in a process of its own.
  EXPECT_EXIT(
      {
        set_time_of_day(fake_clock::read);
        fake_clock::now_ms = ((23 * 60 + 59) * 60 + 59) * 1000 + 500;
        int a = elapsed_ms();
        double ta = elapsed_time();
        fake_clock::now_ms = 250;  // 00:00:00.250 the next day
        int b = elapsed_ms();
        double tb = elapsed_time();
        fake_clock::now_ms = 1250;
        int c = elapsed_ms();
        std::fprintf(stderr, "elapsed %d %d %d %.3f %.3f\n", a, b, c, ta, tb);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "elapsed 0 750 1750 0.000 0.750");
}

TEST(ElapsedTime, SleepWaitsAtLeastTheTimeAsked) {
  auto before = std::chrono::steady_clock::now();
  My_Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(29));
}

}  // namespace
