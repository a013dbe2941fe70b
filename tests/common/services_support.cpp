#include "tests/common/services_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "common/platform.h"

namespace {

// Console dialogs answer from standard input in every test of this program.
struct ConsoleDialogs {
  ConsoleDialogs() { putenv(const_cast<char*>("VANTYR_DIALOGS=console")); }
} console_dialogs;

}  // namespace

fs::path fresh_test_folder() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path dir = fs::temp_directory_path() / "vantyr_common_services" /
                 (std::string(info->test_suite_name()) + "." + info->name());
  // A death test's child on Windows runs the test from its start: it finds
  // the folder as its parent left it.
  if (::testing::internal::InDeathTestChild()) return dir;
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  return dir;
}

std::string prog(const fs::path& host) { return program_path_from_host(host.string()); }

std::vector<std::string> read_lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void write_file(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

CurrentFolder::CurrentFolder(const fs::path& dir) : saved_(fs::current_path()) { fs::current_path(dir); }

CurrentFolder::~CurrentFolder() { fs::current_path(saved_); }

StdoutCapture::StdoutCapture(fs::path file) : file_(std::move(file)) {
  std::fflush(stdout);
  saved_fd_ = dup(1);
  redirect_stdout(file_);
}

StdoutCapture::~StdoutCapture() { stop(); }

void StdoutCapture::stop() {
  if (saved_fd_ < 0) return;
  std::fflush(stdout);
  dup2(saved_fd_, 1);
  close(saved_fd_);
  saved_fd_ = -1;
}

std::vector<std::string> StdoutCapture::lines() {
  stop();
  return read_lines(file_);
}

std::string StdoutCapture::text() {
  stop();
  std::ifstream in(file_, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string t = s.str();
  // Text-mode line ends of the Windows build.
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!(t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')) out.push_back(t[i]);
  }
  return out;
}

void redirect_stdout(const fs::path& file) {
  std::fflush(stdout);
  int fd = open(file.string().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    std::perror("redirect_stdout");
    std::abort();
  }
  dup2(fd, 1);
  close(fd);
}

void answer_from_stdin(const fs::path& file, const std::string& text) {
  write_file(file, text);
  if (std::freopen(file.string().c_str(), "r", stdin) == nullptr) std::abort();
}

std::string repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}
