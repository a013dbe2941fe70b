// Faults around the run itself (Linux build): a current folder that is full
// or read-only, a listing file that cannot be written, an unreadable
// simulator log, folder names too long for the program's 256-character
// paths. Each run stops with its message before anything is listed or
// moved, and no file of the user's is touched.
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tests/app/fault_fixture.h"

using namespace app_test;

namespace {

const std::string kNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
std::string as_user() { return geteuid() == 0 ? kNobody : ""; }

// The host path of a program path on drive Z:.
std::string host_of(const std::string& z) {
  std::string s = z.substr(2);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// The built program and its form in `dir`.
fs::path program_at(const fs::path& dir) {
  fs::create_directories(dir);
  fs::copy_file(built(program_file()), dir / program_file());
  fs::copy_file(built("Vantyr_form.frm"), dir / "Vantyr_form.frm");
  return dir;
}

// A folder below `base` whose program name (Z:...) has `length` characters.
fs::path folder_of_length(const fs::path& base, std::size_t length) {
  fs::path dir = base;
  while (program_path(dir).size() < length) {
    std::size_t room = length - program_path(dir).size() - 1;  // the backslash before it
    dir /= std::string(std::min<std::size_t>(room, 100), 'd');
  }
  EXPECT_EQ(program_path(dir).size(), length);
  return dir;
}

TEST_F(FaultTest, AFullOrReadOnlyCurrentFolderStopsTheRunBeforeAnyListing) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs on the current folder needs root";
  install(3).towplanes = {"DR400", "PAWNEE"};
  make();
  fs::path program = program_dir();
  remember();
  std::string run = run_dir().string();
  if (::mount("vantyr-full", run.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{run};
  {
    std::ofstream filler(run_dir() / "filler", std::ios::binary);
    std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
  }
  ASSERT_EQ(fs::space(run_dir()).available, 0u);
  std::string stop = "The " + program_path(run_dir()) +
                     " folder is not writable\nChange the access rights of the folder\nOr install in another location";
  Output o = run_program(program);
  EXPECT_TRUE(o.box(stop) && !o.has("npln")) << o.out;
  for (const std::string& f : tree_of(run_dir())) EXPECT_TRUE(f == "filler" || f == "Logfile.txt") << f;

  fs::remove(run_dir() / "filler");
  ASSERT_EQ(::mount(nullptr, run.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
  o = run_program(program);
  EXPECT_TRUE(o.box(stop) && !o.has("npln")) << o.out;
  expect_installation(before);
}

// A read-only file of the listing's name (left by a run that ended early)
// would be read in place of the listings: the run stops and leaves it.
TEST_F(FaultTest, AListingFileThatCannotBeWrittenStopsTheRun) {
  SimVersion& v = install(3);
  v.towplanes = {"DR400"};
  v.hidden_towplanes = {"PAWNEE"};
  make();
  remember();
  fs::path program = program_dir();
  std::string stale = program_path(root() / "Hidden_Planes" / "PAWNEE" / "PAWNEE.dta") + "\r\n";
  write_file(program / "Vantyr_planes_list.txt", stale);
  fs::permissions(program, fs::perms(0777));
  fs::permissions(run_dir(), fs::perms(0777));
  fs::permissions(program / "Vantyr_planes_list.txt", fs::perms(0444));
  Output o = run_program(program, as_user());
  EXPECT_TRUE(o.box("The listing file " + program_path(program / "Vantyr_planes_list.txt") +
                    " cannot be written:\na folder or a read-only file has its name.\nRemove it and start Vantyr again") &&
              !o.has("npln"))
      << o.out;
  EXPECT_EQ(read_file(program / "Vantyr_planes_list.txt"), stale);
  expect_installation(before);
}

// The simulator's log unreadable for the user (root reads it anyway, so the
// program runs as nobody then): no installation is found.
TEST_F(FaultTest, AnUnreadableSimulatorLogStopsTheRun) {
  install(3).towplanes = {"DR400"};
  make();
  fs::permissions(root() / "Logs" / "Logfile.txt", fs::perms::none);
  fs::permissions(run_dir(), fs::perms(0777));
  remember();
  Output o = run_program(program_dir(), as_user());
  EXPECT_TRUE(o.box("*** No Condor installation found (2 or 3) ***")) << o.out;
  expect_installation(before);
}

// Names the program would cut at 256 characters: the listing file beside a
// program in a long folder, or in a long current folder; and folders whose
// command lines would not fit. The run stops with its reason; a file of the
// cut name is neither read nor deleted, and nothing moves.
TEST_F(FaultTest, NamesLongerThanThePathFieldsStopTheRunAndTouchNothing) {
  install(3).towplanes = {"DR400", "PAWNEE"};
  make();
  remember();

  fs::path program = program_at(folder_of_length(tmp.path() / "long", 237));
  std::string listing = program_path(program) + "\\Vantyr_planes_list.txt";
  ASSERT_GT(listing.size(), 256u);
  std::string cut_name = fs::path(host_of(listing.substr(0, 256))).filename().string();
  write_file(program / cut_name, "the user's file");
  Output o = run_program(program);
  EXPECT_TRUE(o.box("This name is longer than 256 characters:\n" + listing + "\nPut Vantyr in a folder with a shorter name"))
      << o.out;
  EXPECT_EQ(read_file(program / cut_name), "the user's file");

  // The listing file's name fits, the command lines that name it do not.
  program = program_at(folder_of_length(tmp.path() / "longer", 190));
  o = run_program(program);
  EXPECT_TRUE(o.box("The names of these folders are too long for a command line of 256 characters:\n" +
                    install_dir_of(version(3)) + "\\Planes\\\n" +
                    program_path(program) + "\\Vantyr_planes_list.txt\nPut Vantyr or the simulator in a folder with a shorter name"))
      << o.out;

  // A program folder that cannot take the listing leaves it to a current
  // folder whose name is too long for it.
  program = program_dir();
  fs::create_directory(program / "tmp_TMP_tmp_TMP_tmp_TMP_tmp_TMP_tmp.txt");
  fs::path here = folder_of_length(tmp.path() / "here", 240);
  fs::create_directories(here);
  fs::rename(run_dir(), tmp.path() / "run.old");
  fs::create_directory_symlink(here, run_dir());
  listing = program_path(here) + "\\Vantyr_planes_list.txt";
  cut_name = fs::path(host_of(listing.substr(0, 256))).filename().string();
  write_file(here / cut_name, "the user's file");
  o = run_program(program);
  EXPECT_TRUE(o.box("This name is longer than 256 characters:\n" + listing + "\nStart Vantyr from a folder with a shorter name"))
      << o.out;
  EXPECT_EQ(read_file(here / cut_name), "the user's file");
  expect_installation(before);
}

}  // namespace
