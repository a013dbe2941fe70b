// Temporary folder trees for tests, named as the program names paths.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

// The program's (Windows) name of a host path: unchanged on Windows; on Linux
// the Z: name Wine gives it.
inline std::string program_path(const fs::path& p) {
  fs::path a = fs::absolute(p);
  std::string s = a.string();
  if (a.has_root_name()) return s;
  for (char& c : s)
    if (c == '/') c = '\\';
  return "Z:" + s;
}

// Whether the tests run in the Windows build.
inline bool windows_build() { return fs::temp_directory_path().has_root_name(); }

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
 public:
  explicit TempDir(const std::string& stem = "vantyr") {
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
      fs::path p = fs::temp_directory_path() / (stem + "-" + std::to_string(rd()));
      std::error_code ec;
      if (fs::create_directory(p, ec)) {
        path_ = p;
        break;
      }
    }
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  std::string program() const { return program_path(path_); }

 private:
  fs::path path_;
};

inline void write_file(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

// The lines of a text file, line ends (LF or CR LF) removed.
inline std::vector<std::string> read_lines(const fs::path& p) {
  std::vector<std::string> lines;
  std::ifstream f(p, std::ios::binary);
  std::string l;
  while (std::getline(f, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

// Every file and folder below `root`, as relative paths with "/", sorted.
inline std::vector<std::string> tree_of(const fs::path& root) {
  std::vector<std::string> all;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
    all.push_back(fs::relative(it->path(), root).generic_string() + (it->is_directory() ? "/" : ""));
  std::sort(all.begin(), all.end());
  return all;
}

// Every file below `root` with its bytes, and every folder (its name ending
// with "/", no content), by relative path with "/" as tree_of names them.
inline std::map<std::string, std::string> contents_of(const fs::path& root) {
  std::map<std::string, std::string> all;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = fs::relative(it->path(), root).generic_string();
    if (it->is_directory()) {
      all[name + "/"];
      continue;
    }
    // Read through the entry's own path: a name given back as text may not
    // lead to the same file in the Windows build.
    std::ifstream f(it->path(), std::ios::binary);
    all[name].assign(std::istreambuf_iterator<char>(f), {});
  }
  return all;
}

// Sets an environment variable of this process (both builds have putenv;
// the text must stay alive, to the process's end: the list of texts is never
// destroyed, so the leak check sees them held).
inline void set_env(const std::string& name, const std::string& value) {
  static std::vector<std::string*>& keep = *new std::vector<std::string*>;
  keep.push_back(new std::string(name + "=" + value));
  putenv(keep.back()->data());
}

// Runs the test's body in `dir` as the current folder, back afterwards.
class InFolder {
 public:
  explicit InFolder(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() {
    std::error_code ec;
    fs::current_path(old_, ec);
  }

 private:
  fs::path old_;
};

}  // namespace test_support
