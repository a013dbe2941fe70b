// Test helpers: a temporary folder that is the current folder while a test
// runs, and real files written into it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

class InTempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    previous_ = fs::current_path();
    std::random_device rd;
    folder_ = fs::temp_directory_path() / ("vantyr-forms-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(folder_);
    fs::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Writes the file exactly as given (no line-end translation).
  static void write_file(const std::string& name, std::string_view content) {
    std::ofstream f(name, std::ios::binary);
    f.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  static std::string read_file(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  // The lines of a text file, line ends of either kind removed.
  static std::vector<std::string> lines(const std::string& name) {
    std::vector<std::string> out;
    std::ifstream f(name, std::ios::binary);
    std::string l;
    while (std::getline(f, l)) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      out.push_back(l);
    }
    return out;
  }
  static bool exists(const std::string& name) { return std::filesystem::exists(name); }

  std::filesystem::path folder_;

 private:
  std::filesystem::path previous_;
};
