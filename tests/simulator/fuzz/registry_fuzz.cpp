// Fuzz target: any bytes as the registry files of a Wine prefix (user.reg
// and system.reg), read for the values the program asks for: the install
// folders, the last pilot, the documents folder (and the user files folder
// made from them), and a value of HKEY_CLASSES_ROOT.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/field.h"
#include "simulator/install_dir.h"
#include "simulator/user_files.h"

namespace {

std::string prefix;

bool write_file(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

void query(const char* key, const char* name, int len) {
  RegValue value{};
  int status = RdUsrReg(key, name, value, len);
  if (status == reg_ok && (len < 0 || len > reg_value_size)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/vantyr-registry-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  static std::string made;  // removed when the fuzzer ends
  made = tmpl;
  std::atexit([] { std::error_code ec; std::filesystem::remove_all(made, ec); });
  prefix = tmpl;
  setenv("WINEPREFIX", prefix.c_str(), 1);
  setenv("VANTYR_DIALOGS", "console", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!write_file(prefix + "/user.reg", data, size) || !write_file(prefix + "/system.reg", data, size)) return 0;
  query("SOFTWARE\\Condor3\\", "InstallDir", 0);
  query("SOFTWARE\\Condor3\\", "LastPlayer", 0);
  query("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\", "Personal", 0);
  query(".fpl", "", -1);
  Field<256> folder("3");
  get_condor_user_path(" ", false, true, true, folder);
  return 0;
}
