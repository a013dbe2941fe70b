// Fuzz target: any bytes as the listing files the program reads back from the
// command interpreter: the towplane folders of Planes or Hidden_Planes (DIR
// /AD /B), the data files found below them (DIR /B /S) and the landscape
// folders (DIR /B), on a generated simulator installation.
//
// No command runs: this program's run_command (the built-in interpreter is
// not linked in) only writes the input where the command line sends its
// output, and stops the run when a line would do anything but list.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "app/towplanes.h"
#include "common/command_interpreter.h"
#include "common/paths.h"
#include "common/platform.h"
#include "forms/my_forms.h"
#include "tools/condor_fixture/condor_fixture.h"

using namespace towplanes;

namespace {

std::string_view listing;  // the bytes of the current input after its first

constexpr char kForm[] =
    "[Input-boxes]\n"
    "{Txt=DR400; Name=DR400; Type=TCK; Pos=10,10}\n"
    "{Txt=PAWNEE; Name=PAWNEE; Type=TCK; Pos=10,40}\n"
    "{Txt=ASK13; Name=ASK13; Type=TCK; Pos=10,70}\n"
    "{Txt=Landscape; Name=land; Type=DDL; Size=12; Pos=10,100}\n";

}  // namespace

void run_command(std::string_view line, int& exitstat, int& cmdstat) {
  exitstat = 1;
  cmdstat = 0;
  bool listing_line = line.substr(0, 4) == "DIR " || line.substr(0, 6) == "CD /D " || line == "chcp 1252 > NUL";
  if (!listing_line) std::abort();
  std::size_t gt = line.rfind('>');
  if (gt == std::string_view::npos) return;
  std::string target(line.substr(gt + 1));
  std::string name;
  for (char c : target)
    if (c != '"') name += c;
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name == "NUL") return;
  std::FILE* f = open_file(name, "wb");
  if (!f) return;
  std::fwrite(listing.data(), 1, listing.size(), f);
  std::fclose(f);
  exitstat = 0;
}

std::string command_output_text(std::string_view bytes) { return std::string(bytes); }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/vantyr-listing-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  static std::string made;  // removed when the fuzzer ends
  made = tmpl;
  std::atexit([] { std::error_code ec; std::filesystem::remove_all(made, ec); });
  std::string root = tmpl;
  SimInstall setup;
  setup.prefix = root + "/prefix";
  SimVersion v;
  v.version = 3;
  v.towplanes = {"DR400", "PAWNEE"};
  v.hidden_towplanes = {"ASK13"};
  v.gliders = {"ASK21"};
  v.landscapes = {"AA3", "Slovenia3"};
  setup.versions.push_back(v);
  if (!make_condor_install(setup).empty()) std::abort();
  setenv("WINEPREFIX", setup.prefix.c_str(), 1);
  setenv("VANTYR_DIALOGS", "console", 1);
  if (chdir(root.c_str()) != 0) std::abort();
  std::FILE* f = std::fopen("listing_fuzz.frm", "wb");
  if (!f) std::abort();
  std::fwrite(kForm, 1, sizeof kForm - 1, f);
  std::fclose(f);
  if (frm_read_form("listing_fuzz.frm") != 0) std::abort();
  set_towplane_folders("C:\\Condor3\\");
  tmpfil = std::string_view("Vantyr_planes_list.txt");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  listing = std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0:
    case 1:
      npln = 0;
      read_tow((data[0] % 4 == 0 ? path : path2).view(), npln, towlist);
      if (npln < 0) std::abort();
      break;
    case 2:
      npln = 3;
      locate_towplanes();
      if (nact + ninact != nfound) std::abort();
      break;
    default:
      load_form();
  }
  std::remove("Logfile.txt");
  return 0;
}
