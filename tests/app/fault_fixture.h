// Faults made on a real installation: the installation's files and bytes
// before a fault, and the check that afterwards every towplane folder exists
// exactly once, complete, where it is expected.
#pragma once

#include <map>
#include <string>

#include "common/codepage.h"
#include "tests/app/app_fixture.h"

namespace app_test {

using Tree = std::map<std::string, std::string>;

// A name as the program holds it (Windows-1252) as the file system holds it:
// UTF-8 on Linux, unchanged on Windows.
inline std::string disk(const std::string& cp1252) { return windows_build() ? cp1252 : cp1252_to_utf8(cp1252); }

inline std::string read_file(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// The same name as tree_of and contents_of give it: UTF-8 on both builds
// (the Windows build's library names paths in UTF-8 too).
inline std::string in_tree(const std::string& cp1252) { return cp1252_to_utf8(cp1252); }

// `tree` with the folder `from` (a relative path with "/") moved to `to`.
inline Tree moved(const Tree& tree, const std::string& from, const std::string& to) {
  Tree out;
  for (const auto& [p, bytes] : tree) {
    bool inside = p == from + "/" || p.rfind(from + "/", 0) == 0;
    out[inside ? to + p.substr(from.size()) : p] = bytes;
  }
  return out;
}

// Every difference between two trees, one line each; empty when equal.
inline std::string differences(const Tree& got, const Tree& want) {
  std::string d;
  for (const auto& [p, bytes] : want) {
    auto it = got.find(p);
    if (it == got.end()) d += "missing: " + p + "\n";
    else if (it->second != bytes) d += "changed: " + p + "\n";
  }
  for (const auto& [p, bytes] : got)
    if (!want.count(p)) d += "unexpected: " + p + "\n";
  return d;
}

class FaultTest : public AppTest {
 protected:
  // Gives every file of the aircraft folders bytes of its own (its name,
  // line ends, a zero byte), so that a swapped, cut or emptied file shows.
  void unique_contents() {
    std::vector<fs::path> files;
    for (const fs::path& top : {root() / "Planes", root() / "Hidden_Planes"}) {
      std::error_code ec;
      for (auto it = fs::recursive_directory_iterator(top, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file()) files.push_back(it->path());
    }
    for (const fs::path& f : files) {
      std::string p = fs::relative(f, root()).generic_string(), bytes;
      for (std::size_t i = 0; i < 1 + p.size() % 7; ++i) bytes += p + "\r\n" + std::string(1, '\0') + "\xFF";
      std::ofstream(f, std::ios::binary | std::ios::trunc) << bytes;
    }
  }
  // The installation's folder on the disk.
  fs::path root() const { return host(install_dir_of(setup.versions.front())); }
  void remember() { before = contents_of(root()); }
  // The installation now is `want`: nothing else moved, nothing lost.
  void expect_installation(const Tree& want) { EXPECT_EQ(differences(contents_of(root()), want), ""); }

  Tree before;
};

}  // namespace app_test
