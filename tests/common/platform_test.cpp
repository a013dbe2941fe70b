// The host seam on both builds: file queries, opening and removing files
// through program paths, and the code page conversions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/codepage.h"
#include "common/platform.h"
#include "tests/common/services_support.h"

namespace {

TEST(HostSeam, FileQueriesTellFilesFromFolders) {
  fs::path dir = fresh_test_folder();
  write_file(dir / "Piper.cfg", "x\n");
  fs::create_directory(dir / "Planes");
  std::string file = prog(dir / "Piper.cfg"), folder = prog(dir / "Planes"), missing = prog(dir / "none");

  EXPECT_TRUE(file_exists(file));
  EXPECT_FALSE(folder_exists(file));
  EXPECT_TRUE(path_exists(file));
  EXPECT_FALSE(file_exists(folder));
  EXPECT_TRUE(folder_exists(folder));
  EXPECT_TRUE(folder_exists(folder + "\\"));
  EXPECT_TRUE(path_exists(folder));
  EXPECT_FALSE(path_exists(missing));
  EXPECT_EQ(file_mtime(missing), -1);
  EXPECT_GT(file_mtime(file), 1600000000);
}

TEST(HostSeam, OpenAndRemoveThroughProgramPaths) {
  fs::path dir = fresh_test_folder();
  std::string file = prog(dir / "list.txt");
  std::FILE* f = open_file(file, "w");
  ASSERT_NE(f, nullptr);
  std::fputs("line\n", f);
  std::fclose(f);
  EXPECT_EQ(read_lines(dir / "list.txt"), std::vector<std::string>{"line"});
  // A name taken from a blank-padded field names the same file, as on Windows.
  EXPECT_TRUE(file_exists(file + "    "));
  f = open_file(file + "   ", "r");
  ASSERT_NE(f, nullptr);
  std::fclose(f);

  EXPECT_EQ(open_file(prog(dir / "missing" / "x.txt"), "w"), nullptr);
  EXPECT_EQ(remove_path(file), 0);
  EXPECT_FALSE(fs::exists(dir / "list.txt"));
  EXPECT_NE(remove_path(file), 0);
  // A folder is not removed as a file.
  fs::create_directory(dir / "Planes");
  EXPECT_NE(remove_path(prog(dir / "Planes")), 0);
  EXPECT_TRUE(fs::is_directory(dir / "Planes"));
}

TEST(HostSeam, ProgramNameIsKeptAsGiven) {
  set_program_name("C:\\tools\\Vantyr.exe");
  EXPECT_EQ(program_name(), "C:\\tools\\Vantyr.exe");
  set_program_name(nullptr);
  EXPECT_EQ(program_name(), "");
}

TEST(CodePage, WindowsTextsBecomeUtf8AndBack) {
  const std::string windows = "H\xE9l\xE8ne \x80 \x9C \xFF";
  const std::string utf8 = "H\xC3\xA9l\xC3\xA8ne \xE2\x82\xAC \xC5\x93 \xC3\xBF";
  EXPECT_EQ(cp1252_to_utf8(windows), utf8);
  EXPECT_EQ(utf8_to_cp1252(utf8), windows);
  EXPECT_EQ(cp1252_to_utf8("plain ASCII"), "plain ASCII");
  // Characters without a single-byte form, and bytes that are not UTF-8.
  EXPECT_EQ(utf8_to_cp1252("\xE6\x97\xA5 x"), "? x");
  EXPECT_EQ(utf8_to_cp1252("\xE9t\xE9"), "\xE9t\xE9");
}

}  // namespace
