// Fuzz target: any bytes as the simulator's log, whose version line among
// its first six lines confirms an installation found in the registry.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "common/field.h"
#include "simulator/install_dir.h"

namespace {

std::string logfile;

bool write_file(const std::string& name, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/vantyr-log-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  static std::string made;  // removed when the fuzzer ends
  made = tmpl;
  std::atexit([] { std::error_code ec; std::filesystem::remove_all(made, ec); });
  std::string prefix = tmpl;
  setenv("WINEPREFIX", prefix.c_str(), 1);
  // Condor 3 in C:\Condor3, C: being the prefix's drive_c.
  std::string reg = "WINE REGISTRY Version 2\n\n[Software\\\\Condor3] 1700000000\n\"InstallDir\"=\"C:\\\\Condor3\"\n";
  if (!write_file(prefix + "/user.reg", reg.data(), reg.size())) std::abort();
  for (const char* d : {"/drive_c", "/drive_c/Condor3", "/drive_c/Condor3/Logs"}) mkdir((prefix + d).c_str(), 0755);
  logfile = prefix + "/drive_c/Condor3/Logs/Logfile.txt";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!write_file(logfile, data, size)) return 0;
  Field<256> path;
  int version = get_condor_inst_dir(3, path, true);
  // The major version of a 32-bit number of thousands.
  if (version < -2147483 || version > 2147483) std::abort();
  if (path.trimmed() != "C:\\Condor3") std::abort();
  return 0;
}
