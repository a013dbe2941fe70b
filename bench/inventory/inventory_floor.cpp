// The floor of the inventory benchmark: the directory reads and existence
// checks of the towplane scan, done by a minimal loop on host paths. For
// each of the given folders (Planes, Hidden_Planes): list it, check that
// each entry is a folder, test the seven files of a towplane in it; then
// walk each tree for data files (*.dta). Prints the milliseconds (elapsed,
// then processor time), the towplanes recognised and the data files found.
//   inventory_floor PLANES_FOLDER HIDDEN_PLANES_FOLDER
#include <dirent.h>
#include <strings.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TowplaneFile {
  const char* suffix;
  bool required;
};
constexpr TowplaneFile kFiles[] = {{"S.c3d", true}, {"E.c3d", true}, {"E.mfg", true}, {".dta", true},
                                   {".pol", false}, {".pdt", false}, {".phf", false}};

int list_towplanes(const std::string& dir) {
  int towplanes = 0;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return 0;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string aircraft = dir + "/" + name;
    struct stat st;
    if (stat(aircraft.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    bool towplane = true;
    for (const TowplaneFile& f : kFiles) {
      bool there = stat((aircraft + "/" + name + f.suffix).c_str(), &st) == 0;
      if (there != f.required) towplane = false;
    }
    if (towplane) ++towplanes;
  }
  closedir(d);
  return towplanes;
}

int find_data_files(const std::string& dir) {
  int found = 0;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return 0;
  std::vector<std::string> folders;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st;
      folder = stat((dir + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    if (folder) {
      folders.push_back(dir + "/" + name);
    } else if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".dta") == 0) {
      ++found;
    }
  }
  closedir(d);
  for (const std::string& f : folders) found += find_data_files(f);
  return found;
}

// Processor time of the process so far (user and system), in milliseconds.
double cpu_ms() {
  struct rusage u;
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: inventory_floor PLANES_FOLDER HIDDEN_PLANES_FOLDER\n");
    return 2;
  }
  double cpu_start = cpu_ms();
  auto start = std::chrono::steady_clock::now();
  int towplanes = list_towplanes(argv[1]) + list_towplanes(argv[2]);
  int found = find_data_files(argv[1]) + find_data_files(argv[2]);
  auto end = std::chrono::steady_clock::now();
  double cpu = cpu_ms() - cpu_start;
  std::printf("%.3f %.3f %d %d\n", std::chrono::duration<double, std::milli>(end - start).count(), cpu, towplanes,
              found);
  return 0;
}
