// The same command lines through the Linux interpreter and through cmd.exe
// under Wine, on the same folder tree: what a caller reads must agree (exit
// and command statuses, the names and their order in the listing files, the
// folders after the moves).
//
// Not compared, because Wine's cmd.exe differs from Windows' own there and
// the Linux interpreter follows Windows (see command_interpreter_posix_test):
// names holding characters between "Z" and "a" ("_", "[", "^" at the start)
// whose order Wine takes from lower-casing; MOVE of a missing source, which
// Wine reports as done; MOVE into a missing folder written with "\", which
// Wine turns into a rename.
#include "common/command_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

using namespace test_support;

namespace {

// The folder tree both interpreters work on.
void make_tree(const fs::path& t) {
  for (const char* n : {"DR400", "PAWNEE", "ASK21", "A&B (1)", "c^d e", "Q & MKDIR CANARY", "x%VANTYR_CMP_TREE%y", "lower"})
    write_file(t / "Planes" / n / (std::string(n) + ".dta"), "x");
  write_file(t / "Planes" / "ASK21" / "ASK21.pol", "x");
  write_file(t / "Planes" / "readme.txt", "x");
  write_file(t / "Occupied" / "PAWNEE" / "keep.txt", "x");
  write_file(t / "My Planes" / "Piper Cub" / "Piper Cub.dta", "x");
  write_file(t / "Landscapes" / "AA3" / "AA3.trn", "x");
  write_file(t / "Landscapes" / "Slovenia3" / "Slovenia3.trn", "x");
}

const char* const script[] = {
    "DIR /AD {T}\\Planes\\ > out01.txt",
    "DIR /AD \"{T}\\Planes\\\" > \"out02.txt\"",
    "DIR /AD /B \"{T}\\Planes\\\" > \"out03.txt\"",
    "DIR /AD /B \"{T}\\My Planes\\\" > \"out04.txt\"",
    "CD /D \"{T}\\Planes\\\" & DIR /B /S *.dta > \"{W}\\out05.txt\"",
    "CD /D {T}\\Planes & DIR /B /S *.dta > {W}\\out06.txt",
    "CD /D \"{T}\\Missing\" & DIR /B /S *.qqq > \"out07.txt\"",
    "DIR /B \"{T}\\Landscapes\\\" > \"out08.txt\"",
    "DIR /AD /B \"{T}\\Nothere\\\" > \"out09.txt\"",
    "DIR /AD /B \"{T}\\planes\\\" > \"out10.txt\"",
    "DIR /AD /B \"%VANTYR_CMP_TREE%\\Planes\\\" > \"out11.txt\"",
    "DIR /AD /B \"{T}\\Planes\\x%VANTYR_CMP_TREE%y\\\" > \"out12.txt\"",
    "MKDIR \"{T}\\Hidden_Planes\\\"",
    "MKDIR \"{T}\\Hidden_Planes\\\"",
    "MKDIR {T}\\Deep\\er\\folder\\",
    "MOVE \"{T}\\Planes\\A&B (1)\" \"{T}\\Hidden_Planes\\\"",
    "MOVE \"{T}\\Planes\\c^d e\" \"{T}\\Hidden_Planes\\\"",
    "MOVE \"{T}\\Planes\\Q & MKDIR CANARY\" \"{T}\\Hidden_Planes\\\"",
    "MOVE \"{T}\\Planes\\DR400\" \"{T}\\Hidden_Planes\\\"",
    "MOVE \"{T}\\Hidden_Planes\\DR400\" \"{T}\\Planes\\\"",
    "MOVE \"{T}\\Planes\\PAWNEE\" \"{T}\\Occupied\\\"",
    "MOVE {T}\\Planes\\ASK21 {T}\\Hidden_Planes\\",
    "MOVE \"{T}\\My Planes\\Piper Cub\" \"{T}\\Hidden_Planes\\\"",
    "chcp 1252 > NUL",
    "frobnicate now",
    "DIR /AD /B \"{T}\\Hidden_Planes\\\" > \"out13.txt\"",
    "CD /D \"{T}\\Hidden_Planes\\\" & DIR /B /S *.dta > \"out14.txt\"",
};

struct Outcome {
  std::vector<std::string> statuses;                  // "exitstat cmdstat" per line
  std::vector<std::vector<std::string>> listings;     // what a caller reads from each out file
  std::vector<std::string> tree;                      // the folder tree afterwards
};

std::string expand(std::string l, const std::string& t, const std::string& w) {
  for (std::size_t p; (p = l.find("{T}")) != std::string::npos;) l.replace(p, 3, t);
  for (std::size_t p; (p = l.find("{W}")) != std::string::npos;) l.replace(p, 3, w);
  return l;
}

// The names a caller reads: the text after "<DIR>" for full listings, the
// line itself otherwise; full names without regard to case (cmd.exe keeps the
// case the CD was written in).
std::vector<std::string> caller_view(const std::vector<std::string>& lines) {
  std::vector<std::string> v;
  bool full = false;
  for (const std::string& l : lines)
    if (l.find("Directory of") != std::string::npos) full = true;
  for (const std::string& l : lines) {
    if (full) {
      std::size_t p = l.find("<DIR>");
      if (p == std::string::npos) continue;
      std::string n = l.substr(p + 5);
      v.push_back(n.erase(0, n.find_first_not_of(' ')));
    } else {
      std::string u = l;
      if (u.size() > 2 && u[1] == ':')
        for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      v.push_back(u);
    }
  }
  return v;
}

Outcome collect(const fs::path& work, const std::vector<std::string>& statuses) {
  Outcome o;
  o.statuses = statuses;
  for (int i = 1; i <= 14; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "out%02d.txt", i);
    fs::path p = work / name;
    if (!fs::exists(p)) p = work / "tree" / "Planes" / name;
    if (!fs::exists(p)) p = work / "tree" / "Hidden_Planes" / name;
    o.listings.push_back(fs::exists(p) ? caller_view(read_lines(p)) : std::vector<std::string>{"(no file)"});
  }
  o.tree = tree_of(work);
  return o;
}

TEST(CommandCompare, LinuxInterpreterReadsLikeCmdExeUnderWine) {
  const char* src = std::getenv("VANTYR_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  std::string runner = VANTYR_CMD_RUNNER;
  ASSERT_TRUE(fs::exists(runner)) << runner << " is missing: build the Windows build first";
  if (const char* p = std::getenv("VANTYR_WINEPREFIX")) set_env("WINEPREFIX", p);

  TempDir tmp("vantyr-cmp");
  fs::path work = tmp.path();
  fs::path tree = work / "tree";
  std::string T = program_path(tree), W = program_path(work);
  set_env("VANTYR_CMP_TREE", T);
  std::vector<std::string> lines;
  for (const char* l : script) lines.push_back(expand(l, T, W));

  // Through the Linux interpreter.
  make_tree(tree);
  std::vector<std::string> linux_status;
  {
    InFolder in(work);
    for (const std::string& l : lines) {
      int e = -99, c = -99;
      run_command(l, e, c);
      linux_status.push_back(std::to_string(e) + " " + std::to_string(c));
    }
  }
  Outcome on_linux = collect(work, linux_status);

  // Through cmd.exe under Wine, on the same tree made again.
  for (const auto& entry : fs::directory_iterator(work)) fs::remove_all(entry.path());
  make_tree(tree);
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  fs::path control = fs::temp_directory_path() / (work.filename().string() + "-lines");
  fs::create_directories(control);
  write_file(control / "lines.txt", text);
  std::string cmd = "cd '" + work.string() + "' && '" + std::string(src) + "/scripts/wine-run.sh' '" + runner + "' '" +
                    program_path(control / "lines.txt") + "' '" + program_path(control / "results.txt") +
                    "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::vector<std::string> wine_status = read_lines(control / "results.txt");
  fs::remove_all(control);
  Outcome under_wine = collect(work, wine_status);

  ASSERT_EQ(under_wine.statuses.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(on_linux.statuses[i], under_wine.statuses[i]) << lines[i];
  for (std::size_t i = 0; i < on_linux.listings.size(); ++i)
    EXPECT_EQ(on_linux.listings[i], under_wine.listings[i]) << "listing out" << (i + 1);
  std::vector<std::string> only_linux, only_wine;
  std::set_difference(on_linux.tree.begin(), on_linux.tree.end(), under_wine.tree.begin(), under_wine.tree.end(),
                      std::back_inserter(only_linux));
  std::set_difference(under_wine.tree.begin(), under_wine.tree.end(), on_linux.tree.begin(), on_linux.tree.end(),
                      std::back_inserter(only_wine));
  EXPECT_TRUE(only_linux.empty() && only_wine.empty())
      << "only after the Linux interpreter: " << testing::PrintToString(only_linux)
      << "\nonly after cmd.exe: " << testing::PrintToString(only_wine);
  // The name that would run a command unquoted ran none.
  for (const std::string& p : on_linux.tree) EXPECT_FALSE(p == "CANARY/" || p.ends_with("/CANARY/")) << p;
  // The listings are not empty by accident: the first one names the planes.
  EXPECT_EQ(on_linux.listings[2].size(), 8u);
}

}  // namespace
