// The installation generator: the files of an installation.
#include "tools/condor_fixture/condor_fixture.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/condor_fixture/condor_fixture_host.h"

namespace fs = std::filesystem;

namespace condor_fixture {

// Expands %NAME% as the program's lookup does for a documents folder that
// begins with one; false when the variable has no value.
static bool expand(const SimInstall& spec, const std::string& text, std::string& out) {
  out.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t p = text.find('%', i);
    if (p == std::string::npos) {
      out += text.substr(i);
      break;
    }
    std::size_t q = text.find('%', p + 1);
    if (q == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, p - i);
    std::string value;
    if (!env_value(spec, text.substr(p + 1, q - p - 1), value)) return false;
    out += value;
    i = q + 1;
  }
  return true;
}

static std::string join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

class Writer {
 public:
  explicit Writer(const SimInstall& spec) : spec_(spec) {}
  const std::string& error() const { return error_; }

  void folder(const std::string& win) {
    if (!error_.empty()) return;
    std::error_code ec;
    fs::create_directories(fs::path(fixture_host_path(spec_, win)), ec);
    if (ec) error_ = "cannot make the folder " + win + ": " + ec.message();
  }

  void file(const std::string& win, const std::string& content, std::int64_t mtime = -1) {
    if (!error_.empty()) return;
    std::string h = fixture_host_path(spec_, win);
    std::error_code ec;
    fs::create_directories(fs::path(h).parent_path(), ec);
    std::ofstream f(h, std::ios::binary | std::ios::trunc);
    f << content;
    f.close();
    if (!f) {
      error_ = "cannot write " + win;
      return;
    }
    if (mtime >= 0 && !set_mtime(h, mtime)) error_ = "cannot date " + win;
  }

  // An aircraft folder: a towplane has its four files; a glider has them too
  // and the three files that mark a glider.
  void aircraft(const std::string& parent, const std::string& name, bool glider) {
    std::string dir = join(parent, name);
    folder(dir);
    for (const char* suffix : {"S.c3d", "E.c3d", "E.mfg", ".dta"}) file(join(dir, name + suffix), "vantyr test file\r\n");
    if (glider)
      for (const char* suffix : {".pol", ".pdt", ".phf"}) file(join(dir, name + suffix), "vantyr test file\r\n");
  }

 private:
  const SimInstall& spec_;
  std::string error_;
};

static std::string version_line_of(const SimVersion& v) {
  if (!v.version_line.empty()) return v.version_line;
  return v.version == 2 ? "Condor version: 2204" : "Condor version: 3004";
}

static std::string log_text(const SimVersion& v) {
  std::string text;
  int lines = v.version_line_no > 8 ? v.version_line_no + 2 : 8;
  for (int n = 1; n <= lines; ++n) {
    if (n == v.version_line_no) text += version_line_of(v);
    else if (n == 1) text += "Condor " + std::to_string(v.version) + " log file";
    else text += "Line " + std::to_string(n) + " of the log";
    text += "\r\n";
  }
  return text;
}

}  // namespace condor_fixture

std::string install_dir_of(const SimVersion& v) {
  if (!v.install_dir.empty()) return v.install_dir;
  return v.version == 2 ? "C:\\Condor2" : "C:\\Condor3";
}

std::string pilot_dir_of(const SimInstall& spec, const SimVersion& v) {
  std::string docs;
  if (!spec.documents_registered || !condor_fixture::expand(spec, spec.documents, docs) || docs.empty()) return "";
  if (v.pilot.empty()) return docs;
  return condor_fixture::join(docs, std::string(v.version == 2 ? "Condor" : "Condor3") + "\\Pilots\\" + v.pilot);
}

std::string make_condor_install(const SimInstall& spec) {
  using namespace condor_fixture;
  for (const SimVersion& v : spec.versions)
    if (v.version != 2 && v.version != 3) return "only Condor 2 and Condor 3 can be made";
  std::string err = prepare_target(spec);
  if (!err.empty()) return err;

  Writer w(spec);
  for (const SimVersion& v : spec.versions) {
    std::string inst = install_dir_of(v);
    w.folder(inst);
    if (v.program) w.file(join(inst, "Condor.exe"), "MZ vantyr test program\r\n");
    if (v.log) w.file(join(inst, "Logs\\Logfile.txt"), log_text(v), v.log_time);
    std::string planes = join(inst, "Planes");
    std::string hidden = join(inst, "Hidden_Planes");
    w.folder(planes);
    for (const std::string& t : v.towplanes) w.aircraft(planes, t, false);
    for (const std::string& g : v.gliders) w.aircraft(planes, g, true);
    for (const std::string& f : v.folders) w.file(join(join(planes, f), "readme.txt"), "not an aircraft\r\n");
    if (v.hidden_planes || !v.hidden_towplanes.empty() || !v.hidden_gliders.empty()) w.folder(hidden);
    for (const std::string& t : v.hidden_towplanes) w.aircraft(hidden, t, false);
    for (const std::string& g : v.hidden_gliders) w.aircraft(hidden, g, true);
    std::string lands = join(inst, "Landscapes");
    w.folder(lands);
    for (const std::string& l : v.landscapes) w.file(join(join(lands, l), l + ".trn"), "vantyr test landscape\r\n");
    if (v.flight_plan) {
      std::string pilot = pilot_dir_of(spec, v);
      if (pilot.empty()) return "the documents folder has no name: no flight plan can be made";
      w.file(join(pilot, "FlightPlan.fpl"), "[Task]\r\n", v.flight_plan_time);
    }
    if (!w.error().empty()) return w.error();
  }
  return write_registry(spec);
}
