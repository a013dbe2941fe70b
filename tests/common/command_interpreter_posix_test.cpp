// The Linux interpreter where it differs from what Wine's cmd.exe does, or
// where cmd.exe is not there to compare with: the listing order of the
// Windows file systems, refused command forms, and moves that must not
// happen.
#include "common/command_interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

using namespace test_support;

namespace {

class PosixInterpreter : public ::testing::Test {
 protected:
  int run(const std::string& line, int* cmdstat = nullptr) {
    int e = -99, c = -99;
    run_command(line, e, c);
    if (cmdstat) *cmdstat = c;
    return e;
  }
  TempDir tmp;
  InFolder here{tmp.path()};
  std::string T = program_path(tmp.path());
};

TEST_F(PosixInterpreter, NamesComeInOrdinalOrderAfterUpperCasing) {
  for (const char* n : {"_u", "Zeta", "b", "[x", "a", "Alpha", "alpha2"}) fs::create_directories(tmp.path() / "L" / n);
  ASSERT_EQ(run("DIR /AD /B \"" + T + "\\L\\\" > \"out.txt\""), 0);
  std::vector<std::string> want = {"a", "Alpha", "alpha2", "b", "Zeta", "[x", "_u"};
  EXPECT_EQ(read_lines(tmp.path() / "out.txt"), want);
}

TEST_F(PosixInterpreter, FormsTheProgramNeverIssuesRunNothing) {
  const char* lines[] = {
      "MKDIR \"{T}\\made\" & DEL x",          "MKDIR \"{T}\\made\" | DIR",   "MKDIR \"{T}\\made\" && DIR",
      "MKDIR \"{T}\\made\" >> log.txt",       "DIR /O \"{T}\" > out.txt",   "MKDIR \"{T}\\made\" 2> err.txt",
      "(MKDIR \"{T}\\made\")",               "MOVE /Y \"{T}\\a\" \"{T}\\b\"", "MKDIR \"{T}\\made\" < in.txt",
      "DIR /S \"{T}\" > out.txt",             "MKDIR \\\\server\\share\\made", "MKDIR \"{T}\\made\" & ECHO hi",
      "MKDIR \"{T}\\m1\" \"{T}\\m2\"",        "DIR \"%VANTYR_NOT_SET%\" & MKDIR \"{T}\\made\" & SET",
  };
  for (std::string l : lines) {
    for (std::size_t p; (p = l.find("{T}")) != std::string::npos;) l.replace(p, 3, T);
    SCOPED_TRACE(l);
    int cmdstat = 0;
    EXPECT_EQ(run(l, &cmdstat), 1);
    EXPECT_EQ(cmdstat, 1);
  }
  // Nothing of any of those lines ran: no folder, no output file.
  EXPECT_TRUE(tree_of(tmp.path()).empty()) << tree_of(tmp.path()).size();
}

TEST_F(PosixInterpreter, MoveNeverRenamesIntoAMissingFolder) {
  write_file(tmp.path() / "Planes" / "DR400" / "DR400.dta", "x");
  // cmd.exe under Wine renames DR400 to "NoSuch" here; the folder asked for
  // does not exist, so nothing moves.
  EXPECT_EQ(run("MOVE \"" + T + "\\Planes\\DR400\" \"" + T + "\\NoSuch\\\""), 1);
  EXPECT_TRUE(fs::exists(tmp.path() / "Planes" / "DR400" / "DR400.dta"));
  EXPECT_FALSE(fs::exists(tmp.path() / "NoSuch"));
  // Wine's cmd.exe reports success for a missing source.
  EXPECT_EQ(run("MOVE \"" + T + "\\Planes\\Gone\" \"" + T + "\\Planes\\\""), 1);
  // Without the trailing backslash a missing target is a new name.
  EXPECT_EQ(run("MOVE \"" + T + "\\Planes\\DR400\" \"" + T + "\\Planes\\DR401\""), 0);
  EXPECT_TRUE(fs::exists(tmp.path() / "Planes" / "DR401" / "DR400.dta"));
}

TEST_F(PosixInterpreter, MoveNeverReplacesOrNestsAFolder) {
  write_file(tmp.path() / "P" / "DR400" / "DR400.dta", "x");
  fs::create_directories(tmp.path() / "H" / "DR400");  // empty: rename(2) alone would replace it
  EXPECT_EQ(run("MOVE \"" + T + "\\P\\DR400\" \"" + T + "\\H\\\""), 1);
  EXPECT_TRUE(fs::exists(tmp.path() / "P" / "DR400" / "DR400.dta"));
  EXPECT_TRUE(fs::is_empty(tmp.path() / "H" / "DR400"));
  // Into itself or below itself.
  fs::create_directories(tmp.path() / "P" / "DR400" / "sub");
  EXPECT_EQ(run("MOVE \"" + T + "\\P\\DR400\" \"" + T + "\\P\\DR400\\sub\\\""), 1);
  EXPECT_TRUE(fs::exists(tmp.path() / "P" / "DR400" / "DR400.dta"));
  // A file is never overwritten.
  write_file(tmp.path() / "f1.txt", "one");
  write_file(tmp.path() / "f2.txt", "two");
  EXPECT_EQ(run("MOVE \"" + T + "\\f1.txt\" \"" + T + "\\f2.txt\""), 1);
  EXPECT_EQ(read_lines(tmp.path() / "f2.txt"), std::vector<std::string>{"two"});
}

TEST_F(PosixInterpreter, NamesMatchWithoutRegardToCase) {
  write_file(tmp.path() / "Planes" / "DR400" / "DR400.dta", "x");
  fs::create_directories(tmp.path() / "Hidden_Planes");
  EXPECT_EQ(run("DIR /AD /B \"" + T + "\\PLANES\\\" > \"out.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "out.txt"), std::vector<std::string>{"DR400"});
  // The moved folder keeps the name it has on the disk.
  EXPECT_EQ(run("MOVE \"" + T + "\\planes\\dr400\" \"" + T + "\\hidden_planes\\\""), 0);
  EXPECT_TRUE(fs::exists(tmp.path() / "Hidden_Planes" / "DR400" / "DR400.dta"));
  EXPECT_EQ(run("MKDIR \"" + T + "\\hidden_PLANES\""), 1);
}

TEST_F(PosixInterpreter, ListingsOfFilesAndPatterns) {
  write_file(tmp.path() / "Land" / "AA3" / "AA3.trn", "x");
  write_file(tmp.path() / "Land" / "bb" / "BB.TRN", "x");
  write_file(tmp.path() / "Land" / "readme.txt", "x");
  EXPECT_EQ(run("DIR /B \"" + T + "\\Land\\\" > \"a.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "a.txt"), (std::vector<std::string>{"AA3", "bb", "readme.txt"}));
  EXPECT_EQ(run("DIR /B /S \"" + T + "\\Land\\*.trn\" > \"b.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "b.txt"),
            (std::vector<std::string>{T + "\\Land\\AA3\\AA3.trn", T + "\\Land\\bb\\BB.TRN"}));
  // Matches of a folder come before those of its sub-folders.
  write_file(tmp.path() / "Land" / "top.trn", "x");
  EXPECT_EQ(run("CD /D " + T + "\\Land & DIR /B /S *.trn > " + T + "\\c.txt"), 0);
  EXPECT_EQ(read_lines(tmp.path() / "c.txt"),
            (std::vector<std::string>{T + "\\Land\\top.trn", T + "\\Land\\AA3\\AA3.trn", T + "\\Land\\bb\\BB.TRN"}));
  // A listing that finds nothing fails.
  EXPECT_EQ(run("DIR /AD /B \"" + T + "\\Land\\AA3\\\" > \"d.txt\""), 1);
}

TEST_F(PosixInterpreter, NamesAreInTheProgramsCodePage) {
  // "Zoé" on the disk (UTF-8, as Wine stores it) is "Zo\xE9" to the program,
  // in listings and on the command lines it builds from them.
  write_file(tmp.path() / "Planes" / "Zo\xC3\xA9" / "Zo\xC3\xA9.dta", "x");
  fs::create_directories(tmp.path() / "Hidden_Planes");
  ASSERT_EQ(run("DIR /AD /B \"" + T + "\\Planes\\\" > \"out.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "out.txt"), std::vector<std::string>{"Zo\xE9"});
  ASSERT_EQ(run("CD /D \"" + T + "\\Planes\" & DIR /B /S *.dta > \"" + T + "\\dta.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "dta.txt"), std::vector<std::string>{T + "\\Planes\\Zo\xE9\\Zo\xE9.dta"});
  EXPECT_EQ(run("MOVE \"" + T + "\\Planes\\Zo\xE9\" \"" + T + "\\Hidden_Planes\\\""), 0);
  EXPECT_TRUE(fs::exists(tmp.path() / "Hidden_Planes" / "Zo\xC3\xA9" / "Zo\xC3\xA9.dta"));
}

TEST_F(PosixInterpreter, LinksToFoldersAreFollowedOnceAndDanglingOnesSkipped) {
  write_file(tmp.path() / "Elsewhere" / "LINKED" / "LINKED.dta", "x");
  write_file(tmp.path() / "Planes" / "DR400" / "DR400.dta", "x");
  fs::create_directory_symlink(tmp.path() / "Elsewhere" / "LINKED", tmp.path() / "Planes" / "LINKED");
  fs::create_directory_symlink(tmp.path() / "Planes", tmp.path() / "Planes" / "DR400" / "loop");
  fs::create_symlink(tmp.path() / "gone", tmp.path() / "Planes" / "GONE");
  ASSERT_EQ(run("DIR /AD /B \"" + T + "\\Planes\\\" > \"ad.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "ad.txt"), (std::vector<std::string>{"DR400", "LINKED"}));
  ASSERT_EQ(run("CD /D \"" + T + "\\Planes\" & DIR /B /S *.dta > \"" + T + "\\dta.txt\""), 0);
  EXPECT_EQ(read_lines(tmp.path() / "dta.txt"),
            (std::vector<std::string>{T + "\\Planes\\DR400\\DR400.dta", T + "\\Planes\\LINKED\\LINKED.dta"}));
}

TEST_F(PosixInterpreter, CaretOutsideQuotesTakesTheNextCharacter) {
  EXPECT_EQ(run("MKDIR " + T + "\\a^&b"), 0);
  EXPECT_TRUE(fs::is_directory(tmp.path() / "a&b"));
  EXPECT_EQ(run("MKDIR \"" + T + "\\c^d\""), 0);
  EXPECT_TRUE(fs::is_directory(tmp.path() / "c^d"));
}

}  // namespace
