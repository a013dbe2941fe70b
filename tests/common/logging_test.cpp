// The log as callers see it: the same lines on the console and in
// "Logfile.txt" of the current folder, banners, splitting, appending, and a
// new dated log on "CREATE".
#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "common/logging.h"
#include "common/platform.h"
#include "tests/common/services_support.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kFooter = repeat("+-", 39);

class LoggingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fresh_test_folder();
    cwd_.emplace(dir_);
  }
  void TearDown() override { cwd_.reset(); }

  // Logs each message and returns the console lines; the log's lines must
  // be the same.
  Lines log_all(std::initializer_list<std::string> messages) {
    fs::remove(dir_ / "Logfile.txt");
    StdoutCapture out(dir_ / "console.txt");
    for (const std::string& m : messages) log_message_f(m);
    Lines console = out.lines();
    EXPECT_EQ(read_lines(dir_ / "Logfile.txt"), console);
    return console;
  }

  fs::path dir_;
  std::optional<CurrentFolder> cwd_;
};

TEST_F(LoggingTest, MarkersFrameTheTextWithBannerAndFooter) {
  EXPECT_EQ(log_all({"{E}one/two"}), (Lines{"+ ERROR " + repeat("+-", 35), "one", "two", kFooter}));
  Lines warning = log_all({"{W}careful"});
  EXPECT_EQ(warning, (Lines{"+ WARNING " + repeat("+-", 34), "careful", kFooter}));
  EXPECT_EQ(warning[0].size(), 78u);
  EXPECT_EQ(kFooter.size(), 78u);
  // A marker alone: the text is blank and shows as a line of one blank.
  Lines info = log_all({"{I}"});
  EXPECT_EQ(info, (Lines{"+ INFO " + repeat("+-", 36), " ", kFooter}));
  EXPECT_EQ(info[0].size(), 79u);
}

TEST_F(LoggingTest, SlashesAndLineFeedsSplitTheTextIntoLines) {
  EXPECT_EQ(log_all({"a//b"}), (Lines{"a", "", "b"}));
  // Trailing blanks of each piece go, leading ones stay.
  EXPECT_EQ(log_all({"  x   /  y  "}), (Lines{"  x", "  y"}));
  EXPECT_EQ(log_all({"one\ntwo"}), (Lines{"one", "two"}));
  EXPECT_EQ(log_all({"end/"}), (Lines{"end", ""}));
  EXPECT_EQ(log_all({""}), (Lines{" "}));
  // A marker is only a marker at the start.
  EXPECT_EQ(log_all({"x{E}"}), (Lines{"x{E}"}));
}

TEST_F(LoggingTest, QuotedMessageIsOneLineWithoutItsQuotes) {
  EXPECT_EQ(log_all({"\"x/y\""}), (Lines{"x/y"}));
  EXPECT_EQ(log_all({"{I}\"C:\\a/b\""}), (Lines{"+ INFO " + repeat("+-", 36), "C:\\a/b", kFooter}));
  // Only a quote at both ends makes it one line.
  EXPECT_EQ(log_all({"\"x/y"}), (Lines{"\"x", "y"}));
}

TEST_F(LoggingTest, ZeroTerminatedEntryLogsTheSameWay) {
  StdoutCapture out(dir_ / "console.txt");
  log_message("{W}low/memory");
  log_message(nullptr);
  Lines expected = {"+ WARNING " + repeat("+-", 34), "low", "memory", kFooter, " "};
  EXPECT_EQ(out.lines(), expected);
  EXPECT_EQ(read_lines(dir_ / "Logfile.txt"), expected);
}

TEST_F(LoggingTest, MessageIsCutTo1024Characters) {
  std::string long_text = repeat("0123456789", 110);
  Lines lines = log_all({long_text});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], long_text.substr(0, 1024));
  // A part beyond the cut is never split off as a line of its own.
  EXPECT_EQ(log_all({repeat("x", 1030) + "/tail"}), (Lines{repeat("x", 1024)}));
}

TEST_F(LoggingTest, LogGrowsAcrossRuns) {
  // Each run of the program is a process of its own.
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        log_message_f("first run");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        log_message_f("second run");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(read_lines(dir_ / "Logfile.txt"), (Lines{"first run", "second run"}));
}

TEST_F(LoggingTest, UnopenableLogKeepsTheConsoleLines) {
  fs::create_directory(dir_ / "Logfile.txt");  // a folder where the log file should be
  StdoutCapture out(dir_ / "console.txt");
  log_message_f("{E}disk/full");
  EXPECT_EQ(out.lines(), (Lines{"+ ERROR " + repeat("+-", 35), "disk", "full", kFooter}));
  EXPECT_TRUE(fs::is_directory(dir_ / "Logfile.txt"));
}

// CREATE changes the log for the rest of the run: each case runs in a
// process of its own.
TEST_F(LoggingTest, CreateWithNameStartsThatLogAfresh) {
  write_file(dir_ / "run.log", "old content\n");
  std::time_t before = std::time(nullptr);
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        log_message_f("CREATE   run.log");
        log_message_f("after/create");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  std::time_t after = std::time(nullptr);
  Lines log = read_lines(dir_ / "run.log");
  ASSERT_EQ(log.size(), 4u);
  bool stamped = false;
  for (std::time_t t = before; t <= after; ++t) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&t));
    stamped = stamped || log[0] == stamp;
  }
  EXPECT_TRUE(stamped) << log[0];
  EXPECT_EQ(log[1], "");
  EXPECT_EQ(log[2], "after");
  EXPECT_EQ(log[3], "create");
  // The CREATE message itself is not logged; the console names the new log.
  EXPECT_EQ(read_lines(dir_ / "console.txt"), (Lines{"CREATE run.log 0", "after", "create"}));
  EXPECT_FALSE(fs::exists(dir_ / "Logfile.txt"));
}

// The log named after the program: its name and first line carry the same
// date and time.
void expect_dated_log(const fs::path& dir, const std::string& stem) {
  std::smatch m;
  std::string found;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (name != "console.txt") found = name;
  }
  std::regex pattern(stem + "_(\\d{4})_(\\d\\d)_(\\d\\d)-(\\d\\d)_(\\d\\d)_(\\d\\d)\\.log");
  ASSERT_TRUE(std::regex_match(found, m, pattern)) << found;
  Lines log = read_lines(dir / found);
  std::string stamp = m[1].str() + "-" + m[2].str() + "-" + m[3].str() + " " + m[4].str() + ":" + m[5].str() + ":" +
                      m[6].str();
  EXPECT_EQ(log, (Lines{stamp, ""}));
}

TEST_F(LoggingTest, CreateWithoutNameNamesTheLogAfterTheProgram) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        set_program_name("C:\\tools\\Vantyr.exe");
        log_message_f("CREATE");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  expect_dated_log(dir_, "Vantyr");
}

TEST_F(LoggingTest, CreateWithoutNameTakesSlashAsFolderSeparatorOfTheProgram) {
  EXPECT_EXIT(
      {
        redirect_stdout(dir_ / "console.txt");
        set_program_name("./bin/vantyr");
        log_message_f("CREATE ");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  expect_dated_log(dir_, "vantyr");
}

}  // namespace
