// Simulator installations for tests and the demo.
//
// Builds a complete installation of Condor 2, Condor 3 or both, as the
// simulator's installer and a few flights would leave it: the registry
// entries of the current user (install folder, last pilot, documents folder),
// Condor.exe, Logs\Logfile.txt with its version line, Planes with towplane
// and glider folders, optionally Hidden_Planes, Landscapes with .trn files,
// and the pilot's folder with FlightPlan.fpl, with chosen file dates.
//
// Where it goes:
// - Linux, default: a Wine prefix folder of its own (user.reg, dosdevices,
//   drive_c), made or renewed here; nothing of Wine runs. The Linux build
//   reads it with WINEPREFIX set to that folder.
// - Linux, `real_wine`: an existing Wine prefix; files through its drive
//   links, registry entries through `wine reg`. The Wine server holds them
//   until it ends and writes the prefix's registry files (`wineserver -w`
//   waits for that); programs under Wine see them at once.
// - Windows (and the Windows build under Wine): the files at their Windows
//   paths and the registry of the current user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimVersion {
  int version = 3;                   // 2 or 3
  std::string install_dir;           // Windows path; blank: C:\Condor2 or C:\Condor3
  bool registered = true;            // "InstallDir" in the registry
  bool program = true;               // Condor.exe
  bool log = true;                   // Logs\Logfile.txt
  std::string version_line;          // blank: "Condor version: 2204" or "Condor version: 3004"
  int version_line_no = 3;           // line of the log holding it (1-based); 0: none
  std::string pilot = "Pilot";       // "LastPlayer"; blank: no such value
  bool flight_plan = true;           // FlightPlan.fpl in the pilot's folder
  std::int64_t log_time = -1;        // seconds since 1970-01-01 UTC; -1: now
  std::int64_t flight_plan_time = -1;
  std::vector<std::string> towplanes;         // under Planes
  std::vector<std::string> hidden_towplanes;  // under Hidden_Planes
  std::vector<std::string> gliders;
  std::vector<std::string> hidden_gliders;
  std::vector<std::string> folders;           // under Planes, not aircraft
  bool hidden_planes = true;                  // make Hidden_Planes
  std::vector<std::string> landscapes;
};

struct SimInstall {
  std::string prefix;                 // Linux: the Wine prefix folder
  bool real_wine = false;             // Linux: an existing Wine prefix, registry through `wine reg`
  std::vector<SimVersion> versions;
  bool documents_registered = true;   // "Personal" under User Shell Folders
  std::string documents = "%USERPROFILE%\\Documents";
  std::string user;                   // Linux: the Wine profile's user; blank: the login name
  bool user_environment = true;       // Linux: USERPROFILE in the registry's Volatile Environment, as Wine keeps it
};

// Makes the installation. Returns an empty text on success, else what failed.
std::string make_condor_install(const SimInstall& setup);

// Removes the registry entries of both versions (and, on Windows, puts the
// documents folder entry back to the prefix's usual one when the setup changed
// it). Files are left to the caller's temporary folder.
std::string remove_condor_registry(const SimInstall& setup);

// The install folder of a version: its own or the default one.
std::string install_dir_of(const SimVersion& v);

// The host path of a Windows path of the installation (Linux: inside the
// prefix; Windows: unchanged).
std::string fixture_host_path(const SimInstall& setup, const std::string& windows_path);

// The folder where the program will look for the pilot's flight plan, as a
// Windows path; blank when the documents folder cannot be named.
std::string pilot_dir_of(const SimInstall& setup, const SimVersion& v);
