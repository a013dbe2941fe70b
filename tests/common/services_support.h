// Helpers of the common services' tests: a fresh folder per test, program
// (Windows-style) paths of host folders, capturing standard output and
// answering console dialogs from standard input.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// An empty folder named after the running test. A death test's child that
// runs the test again (Windows) gets the same folder, as its parent left it.
fs::path fresh_test_folder();

// The program's path for a host file or folder (on Linux a Z: path: every
// test that uses it goes through the host path mapping).
std::string prog(const fs::path& host);

// The lines of a text file, without line ends; empty when it does not exist.
std::vector<std::string> read_lines(const fs::path& file);
void write_file(const fs::path& file, const std::string& text);

// Runs with the current folder changed, and changes it back.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& dir);
  ~CurrentFolder();
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path saved_;
};

// Sends standard output to a file until `lines()` or the end of the scope.
class StdoutCapture {
 public:
  explicit StdoutCapture(fs::path file);
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;
  // Stops capturing and gives what was written, line by line.
  std::vector<std::string> lines();
  std::string text();

 private:
  void stop();
  fs::path file_;
  int saved_fd_ = -1;
};

// Sends standard output to `file` for the rest of the process (a death
// test's child, whose output the parent reads afterwards).
void redirect_stdout(const fs::path& file);

// The next reads of standard input (console dialogs) get `text`, then end.
void answer_from_stdin(const fs::path& file, const std::string& text);

std::string repeat(const std::string& s, int times);
