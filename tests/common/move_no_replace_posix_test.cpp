// MOVE on a file system that cannot refuse to replace a name when renaming
// (RENAME_NOREPLACE): a real NTFS volume through ntfs-3g (FUSE), where
// players keep Steam libraries. Mounting needs root, which CI is.
//
// Another program making an empty folder at the target just before the
// rename is the one thing a real part cannot do on demand: this executable's
// own rename() makes it, when a test arms it, then renames as libc does.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "common/command_interpreter.h"
#include "tests/support/temp_tree.h"

using namespace test_support;

namespace {
std::string intruder_at;  // host path where the other program makes its folder
int intruder_result = -1;  // 0 made, else the errno of its mkdir
}  // namespace

extern "C" int rename(const char* from, const char* to) {
  if (!intruder_at.empty() && intruder_at == to) {
    intruder_result = ::mkdir(to, 0755) == 0 ? 0 : errno;
    intruder_at.clear();
  }
  using Rename = int (*)(const char*, const char*);
  static Rename real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  return real(from, to);
}

namespace {

class MoveOnNtfs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting an NTFS image needs root";
    fs::path img = tmp.path() / "ntfs.img";
    { std::ofstream(img, std::ios::binary); }
    fs::resize_file(img, 8 << 20);
    fs::create_directories(mnt);
    std::string q = "'" + img.string() + "' '" + mnt.string() + "'";
    ASSERT_EQ(std::system(("mkntfs -F -f -q '" + img.string() + "' >/dev/null 2>&1").c_str()), 0) << "mkntfs";
    ASSERT_EQ(std::system(("ntfs-3g " + q).c_str()), 0) << "ntfs-3g";
    mounted = true;
    struct statfs sf;
    ASSERT_EQ(statfs(mnt.c_str(), &sf), 0);
    ASSERT_EQ(sf.f_type, 0x65735546) << "not a FUSE mount";
    // The file system really refuses the no-replace rename.
    write_file(mnt / "probe", "");
    ASSERT_NE(renameat2(AT_FDCWD, (mnt / "probe").c_str(), AT_FDCWD, (mnt / "probe2").c_str(), RENAME_NOREPLACE), 0);
    ASSERT_EQ(errno, EINVAL);
    fs::remove(mnt / "probe");
  }
  void TearDown() override {
    intruder_at.clear();
    if (mounted) umount2(mnt.c_str(), MNT_DETACH);
  }
  int run(const std::string& line) {
    int e = -99, c = -99;
    run_command(line, e, c);
    return e;
  }
  TempDir tmp;
  fs::path mnt = tmp.path() / "mnt";
  std::string M = program_path(mnt);
  bool mounted = false;
};

TEST_F(MoveOnNtfs, NothingIsReplacedAndEverythingArrivesWhole) {
  write_file(mnt / "Planes" / "DR400" / "DR400.dta", "dta");
  write_file(mnt / "Planes" / "DR400" / "DR400S.c3d", "c3d");
  fs::create_directories(mnt / "Hidden_Planes" / "DR400");
  EXPECT_EQ(run("MOVE \"" + M + "\\Planes\\DR400\" \"" + M + "\\Hidden_Planes\\\""), 1);
  EXPECT_TRUE(fs::is_empty(mnt / "Hidden_Planes" / "DR400"));
  fs::remove(mnt / "Hidden_Planes" / "DR400");

  // The target's empty folder appears after every check, just before the
  // rename: the move must not replace it.
  intruder_at = (mnt / "Hidden_Planes" / "DR400").string();
  EXPECT_EQ(run("MOVE \"" + M + "\\Planes\\DR400\" \"" + M + "\\Hidden_Planes\\\""), 0);
  EXPECT_NE(intruder_result, 0) << "a folder made just before the rename was replaced";
  EXPECT_EQ(read_lines(mnt / "Hidden_Planes" / "DR400" / "DR400.dta"), std::vector<std::string>{"dta"});
  EXPECT_EQ(read_lines(mnt / "Hidden_Planes" / "DR400" / "DR400S.c3d"), std::vector<std::string>{"c3d"});
  EXPECT_FALSE(fs::exists(mnt / "Planes" / "DR400"));

  // Files too.
  write_file(mnt / "a.txt", "one");
  EXPECT_EQ(run("MOVE \"" + M + "\\a.txt\" \"" + M + "\\b.txt\""), 0);
  EXPECT_EQ(read_lines(mnt / "b.txt"), std::vector<std::string>{"one"});
  EXPECT_FALSE(fs::exists(mnt / "a.txt"));
}

}  // namespace
