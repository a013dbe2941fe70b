// A fake home folder for the search of the simulator's Wine prefix (Linux):
// HOME points to a temporary folder and WINEPREFIX is unset while it lives.
// Prefixes go where Wine, Steam's Proton, Lutris and Bottles keep them, and a
// "second disk" is a folder outside the home folder.
#pragma once

#include <gtest/gtest.h>
#include <utime.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/platform_posix.h"
#include "tests/support/temp_tree.h"
#include "tools/condor_fixture/condor_fixture.h"

namespace prefix_test {

using namespace test_support;

class FakeHome {
 public:
  FakeHome() {
    const char* h = std::getenv("HOME");
    old_home_ = h != nullptr ? h : "";
    fs::create_directories(home());
    fs::create_directories(disk2());
    set_env("HOME", home().string());
    unsetenv("WINEPREFIX");
  }
  ~FakeHome() {
    set_env("HOME", old_home_);
    platform_posix::set_chosen_prefix("");
  }
  FakeHome(const FakeHome&) = delete;
  FakeHome& operator=(const FakeHome&) = delete;

  fs::path home() const { return tmp_.path() / "home"; }
  fs::path disk2() const { return tmp_.path() / "disk2"; }
  fs::path wine() const { return home() / ".wine"; }
  fs::path steam() const { return home() / ".local/share/Steam"; }
  fs::path flatpak_steam() const { return home() / ".var/app/com.valvesoftware.Steam/.local/share/Steam"; }
  static fs::path proton(const fs::path& library, int app) {
    return library / "steamapps/compatdata" / std::to_string(app) / "pfx";
  }

  // Steam's list of libraries under the Steam folder `root`, as Steam
  // writes it; ~/.steam/steam links to the native Steam folder.
  void steam_libraries(const fs::path& root, const std::vector<fs::path>& libraries) {
    std::string vdf = "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\t\"-123\"\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
      vdf += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i].string() +
             "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"412\"\n\t\t}\n\t}\n";
    }
    write_file(root / "steamapps/libraryfolders.vdf", vdf + "}\n");
    std::error_code ec;
    fs::create_directories(home() / ".steam");
    if (root == steam()) fs::create_directory_symlink(steam(), home() / ".steam/steam", ec);
  }

  // A Lutris game file naming its prefix as `prefix_text`.
  void lutris_game(const std::string& slug, const std::string& prefix_text) {
    write_file(home() / ".config/lutris/games" / (slug + "-1700000000.yml"),
               "game:\n  exe: drive_c/Condor2/Condor.exe\n  prefix: " + prefix_text +
                   "\nsystem: {}\nwine:\n  version: lutris-7.2\n");
  }

  fs::path bottle(const std::string& name, bool flatpak) const {
    return (flatpak ? home() / ".var/app/com.usebottles.bottles/data/bottles/bottles"
                    : home() / ".local/share/bottles/bottles") /
           name;
  }

  // A prefix without the simulator; `key` adds a key line of its own.
  static void plain_prefix(const fs::path& prefix, const std::string& key = "") {
    write_file(prefix / "user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\Wine] 1700000000\n\"Version\"=\"win10\"\n" +
                                        (key.empty() ? "" : "\n[" + key + "] 1700000000\n\"Size\"=dword:00000001\n"));
    fs::create_directories(prefix / "drive_c/users/Public");
  }

  // The simulator, one version, in `prefix`, its pilot's flight plan and its
  // log dated `plan` and `log`, with the prefix's Windows user `user` (blank:
  // the login's).
  static SimInstall simulator(const fs::path& prefix, int version, std::int64_t plan, std::int64_t log,
                              const std::vector<std::string>& towplanes, const std::string& user = "") {
    SimInstall s;
    s.prefix = prefix.string();
    s.user = user;
    s.versions.emplace_back();
    SimVersion& v = s.versions.back();
    v.version = version;
    v.flight_plan_time = plan;
    v.log_time = log;
    v.towplanes = towplanes;
    return s;
  }

  // Dates the flight plan and the log of a made installation again.
  static void date(const SimInstall& s, std::int64_t plan, std::int64_t log) {
    const SimVersion& v = s.versions.front();
    auto set = [&](const std::string& win, std::int64_t t) {
      utimbuf times{static_cast<time_t>(t), static_cast<time_t>(t)};
      EXPECT_EQ(utime(fixture_host_path(s, win).c_str(), &times), 0) << win;
    };
    set(pilot_dir_of(s, v) + "\\FlightPlan.fpl", plan);
    set(install_dir_of(v) + "\\Logs\\Logfile.txt", log);
  }

 private:
  TempDir tmp_{"vantyr-home"};
  std::string old_home_;
};

}  // namespace prefix_test
