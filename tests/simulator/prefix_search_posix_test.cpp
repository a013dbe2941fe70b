// The search for the simulator's Wine prefix (Linux): Wine's, Steam's Proton
// (a library on a second disk, reached through links), Lutris's and Bottles'
// prefixes in a fake home folder; the one used last among several; and the
// Windows user of a prefix, which is not always the login.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "simulator/install_dir.h"
#include "simulator/installed_versions.h"
#include "tests/simulator/prefix_layouts.h"
#include "tests/simulator/sim_fixture.h"

using namespace sim_test;
using namespace prefix_test;

namespace {

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t k = text.find(what); k != std::string::npos; k = text.find(what, k + 1)) ++n;
  return n;
}

TEST_F(Simulator, EveryLayoutIsSearchedAndThePrefixUsedLastIsTaken) {
  FakeHome h;
  FakeHome::plain_prefix(h.wine());
  // Native Steam (also reached through ~/.steam/steam): its main library
  // holds another game's prefix with a key below the simulator's name only;
  // its second library, on the second disk, holds the simulator under
  // Proton's user, installed in the library itself.
  const fs::path lib2 = h.disk2() / "SteamLibrary";
  h.steam_libraries(h.steam(), {h.steam(), lib2});
  FakeHome::plain_prefix(FakeHome::proton(h.steam(), 400), "Software\\\\Condor3\\\\Settings");
  SimInstall proton = FakeHome::simulator(FakeHome::proton(lib2, 2001), 3, 0, 0, {"DR400"}, "steamuser");
  proton.versions[0].install_dir = program_path(lib2 / "steamapps/common/Condor3");
  // Flatpak Steam lists the same second library through a link.
  fs::create_directory_symlink(lib2, h.disk2() / "library-link");
  h.steam_libraries(h.flatpak_steam(), {h.flatpak_steam(), h.disk2() / "library-link"});
  SimInstall flatpak = FakeHome::simulator(FakeHome::proton(h.flatpak_steam(), 7), 3, 0, 0, {"PAWNEE"});
  // A Lutris game whose prefix is outside the home folder, and one that runs
  // in the Flatpak Steam prefix (found once all the same).
  SimInstall lutris = FakeHome::simulator(h.disk2() / "lutris/condor2", 2, 0, 0, {"ASK"});
  h.lutris_game("condor-2", "'" + lutris.prefix + "'");
  h.lutris_game("condor-3", "~/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/7/pfx");
  // A Flatpak Bottles bottle whose user is known only by its folder, its key
  // written in capitals.
  SimInstall bottles = FakeHome::simulator(h.bottle("Condor", true), 3, 0, 0, {"ROBIN"}, "bob");
  bottles.user_environment = false;
  const SimInstall* matches[] = {&proton, &flatpak, &lutris, &bottles};  // in the order of the search
  for (const SimInstall* s : matches) ASSERT_EQ(make_condor_install(*s), "");
  fs::create_directories(fs::path(bottles.prefix) / "drive_c/users/Public");
  fs::path reg = fs::path(bottles.prefix) / "user.reg";
  std::ifstream in(reg);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  in.close();
  ASSERT_NE(text.find("[Software\\\\Condor3]"), std::string::npos);
  text.replace(text.find("[Software\\\\Condor3]"), 19, "[SOFTWARE\\\\CONDOR3]");
  write_file(reg, text);

  const std::int64_t t = 1600000000;
  const struct {
    const char* what;
    std::int64_t plan[4], log[4];
    int chosen;
  } cases[] = {
      {"Bottles' flight plan newest", {t + 1, t + 2, t + 3, t + 4}, {t, t, t, t}, 3},
      {"Lutris' log newest", {t + 1, t + 2, t + 3, t + 4}, {t, t, t + 9, t}, 2},
      {"a flight plan and a log equally newest", {t + 1, t + 9, t + 3, t + 4}, {t + 9, t, t, t}, 1},
      {"nothing dated after 1970: the first found", {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (int k = 0; k < 4; ++k) FakeHome::date(*matches[k], c.plan[k], c.log[k]);
    inst00 = CondorInstall{};
    testing::internal::CaptureStdout();
    int found = check_condor_install(" ");
    get_active_condor_version();
    std::string out = testing::internal::GetCapturedStdout();
    const SimInstall& s = *matches[c.chosen];
    const SimVersion& v = s.versions.front();
    EXPECT_EQ(found, v.version);
    EXPECT_EQ(platform_posix::wine_prefix(), fs::canonical(s.prefix).string());
    EXPECT_EQ(inst00.cndrinstpath.str(), install_dir_of(v));
    // The pilot's folder is under the prefix's own user: steamuser, bob, the login.
    EXPECT_EQ(inst00.cndrpilpath.str(), pilot_dir_of(s, v));
    EXPECT_NE(out.find("Wine prefix chosen: " + fs::canonical(s.prefix).string() + "\n"), std::string::npos) << out;
    // Each prefix holding the simulator once, however many ways lead to it.
    EXPECT_EQ(count(out, "Wine prefix holding the simulator: "), 4u) << out;
    EXPECT_EQ(count(out, "Wine prefix also holding the simulator: "), 3u) << out;
  }
  EXPECT_EQ(pilot_dir_of(proton, proton.versions[0]).rfind("C:\\users\\steamuser\\", 0), 0u);
  EXPECT_EQ(pilot_dir_of(bottles, bottles.versions[0]).rfind("C:\\users\\bob\\", 0), 0u);

  // One log line per run, naming the choice and the others.
  std::vector<std::string> log = read_lines(tmp.path() / "run" / "Logfile.txt");
  std::string others;
  for (const SimInstall* s : {&flatpak, &lutris, &bottles})
    others += (others.empty() ? "" : ", ") + fs::canonical(s->prefix).string();
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       "Wine prefix: " + fs::canonical(proton.prefix).string() +
                           " (used last; also holding the simulator: " + others + ")"),
            1)
      << testing::PrintToString(log);
}

TEST_F(Simulator, ThePrefixsOwnUserGivesTheProfileFolder) {
  fs::path users = tmp.path() / "prefix/drive_c/users";
  fs::create_directories(users / "Public");
  fs::create_directories(users / "steamuser");
  write_file(tmp.path() / "prefix/user.reg", "WINE REGISTRY Version 2\n");
  for (const char* name : {"USERPROFILE", "USERNAME", "HOMEPATH", "APPDATA", "LOCALAPPDATA"}) unsetenv(name);
  auto env = [](const char* name) {
    char buf[256];
    int n = MyGetEnv(name, buf, static_cast<int>(sizeof buf));
    return n > 0 && n < static_cast<int>(sizeof buf) ? std::string(buf) : std::string("(none)");
  };
  // The one user folder besides Public.
  EXPECT_EQ(env("USERPROFILE"), "C:\\users\\steamuser");
  EXPECT_EQ(env("UserName"), "steamuser");
  EXPECT_EQ(env("HOMEPATH"), "\\users\\steamuser");
  EXPECT_EQ(env("APPDATA"), "C:\\users\\steamuser\\AppData\\Roaming");
  // Several: the login's, as Wine would make it.
  fs::create_directories(users / "someone");
  const char* login = std::getenv("USER");
  const std::string saved = login != nullptr ? login : "";
  set_env("USER", "pilot");
  EXPECT_EQ(env("USERPROFILE"), "C:\\users\\pilot");
  set_env("USER", saved);
  // The value Wine keeps in the prefix's registry comes first.
  write_file(tmp.path() / "prefix/user.reg",
             "WINE REGISTRY Version 2\n\n[Volatile Environment] 1700000000\n\"USERPROFILE\"=\"C:\\\\users\\\\steamuser\"\n");
  EXPECT_EQ(env("USERPROFILE"), "C:\\users\\steamuser");
  EXPECT_EQ(env("LOCALAPPDATA"), "C:\\users\\steamuser\\AppData\\Local");
}

}  // namespace
