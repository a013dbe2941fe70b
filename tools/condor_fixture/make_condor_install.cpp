// make_condor_install: makes a simulator installation for tests and the demo.
//
//   make_condor_install --prefix DIR [--wine] [--user NAME]
//                       [--documents TEXT | --no-documents]
//                       --condor 2|3 [options of that version] ...
//
// Options after "--condor N" describe that version:
//   --install-dir PATH        Windows path (default C:\Condor2, C:\Condor3)
//   --not-registered          no "InstallDir" registry value
//   --no-program              no Condor.exe
//   --no-log                  no Logs\Logfile.txt
//   --version-line TEXT       the log's version line (default
//                             "Condor version: 2204" or "...: 3004")
//   --version-line-no N       its line in the log (default 3; 0: none)
//   --pilot NAME | --no-pilot the last pilot (default Pilot)
//   --no-flight-plan          no FlightPlan.fpl in the pilot's folder
//   --log-date DATE           modification time of the log
//   --flight-plan-date DATE   modification time of the flight plan
//   --towplane NAME           a towplane under Planes (repeatable)
//   --towplanes A,B,...       several
//   --hidden-towplane(s) ...  towplanes under Hidden_Planes
//   --glider(s) ...           gliders under Planes
//   --hidden-glider(s) ...    gliders under Hidden_Planes
//   --folder(s) ...           folders under Planes that hold no aircraft
//   --no-hidden-planes        no Hidden_Planes folder
//   --landscape(s) ...        landscapes with their .trn files
// DATE is YYYY-MM-DD, YYYY-MM-DDTHH:MM[:SS] (UTC) or @SECONDS since 1970.
//
// Without --wine, DIR becomes a Wine prefix of its own for the Linux build
// (run it with WINEPREFIX=DIR). With --wine, DIR is an existing Wine prefix
// and its registry is changed with `wine reg`.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "tools/condor_fixture/condor_fixture.h"

namespace {

bool parse_date(const std::string& s, std::int64_t& t) {
  if (!s.empty() && s[0] == '@') {
    char* end = nullptr;
    long long v = std::strtoll(s.c_str() + 1, &end, 10);
    if (!end || *end) return false;
    t = v;
    return true;
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
  int n = std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &y, &mo, &d, &h, &mi, &se);
  if (n != 3 && n != 5 && n != 6) return false;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || se > 60) return false;
  // Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
  y -= mo <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long long days = era * 146097 + doe - 719468;
  t = days * 86400 + h * 3600 + mi * 60 + se;
  return true;
}

void add_list(std::vector<std::string>& to, const std::string& list) {
  std::size_t i = 0;
  while (i <= list.size()) {
    std::size_t j = list.find(',', i);
    if (j == std::string::npos) j = list.size();
    if (j > i) to.push_back(list.substr(i, j - i));
    i = j + 1;
  }
}

int usage(const char* why) {
  std::fprintf(stderr, "make_condor_install: %s\n", why);
  std::fprintf(stderr,
               "usage: make_condor_install --prefix DIR [--wine] [--user NAME] [--documents TEXT | --no-documents]\n"
               "                           --condor 2|3 [options of that version] ...\n"
               "(the options are described at the top of make_condor_install.cpp)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  SimInstall spec;
  std::vector<std::string> args(argv + 1, argv + argc);
  SimVersion* v = nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string val;
    if (a == "--prefix") {
      if (!value(spec.prefix)) return usage("--prefix needs a folder");
    } else if (a == "--wine") {
      spec.real_wine = true;
    } else if (a == "--user") {
      if (!value(spec.user)) return usage("--user needs a name");
    } else if (a == "--documents") {
      if (!value(spec.documents)) return usage("--documents needs a text");
    } else if (a == "--no-documents") {
      spec.documents_registered = false;
    } else if (a == "--condor") {
      if (!value(val) || (val != "2" && val != "3")) return usage("--condor needs 2 or 3");
      spec.versions.emplace_back();
      v = &spec.versions.back();
      v->version = val[0] - '0';
    } else if (!v) {
      return usage(("unknown option, or a version option before --condor: " + a).c_str());
    } else if (a == "--install-dir") {
      if (!value(v->install_dir)) return usage("--install-dir needs a path");
    } else if (a == "--not-registered") {
      v->registered = false;
    } else if (a == "--no-program") {
      v->program = false;
    } else if (a == "--no-log") {
      v->log = false;
    } else if (a == "--version-line") {
      if (!value(v->version_line)) return usage("--version-line needs a text");
    } else if (a == "--version-line-no") {
      if (!value(val)) return usage("--version-line-no needs a number");
      v->version_line_no = std::atoi(val.c_str());
    } else if (a == "--pilot") {
      if (!value(v->pilot) || v->pilot.empty()) return usage("--pilot needs a name");
    } else if (a == "--no-pilot") {
      v->pilot.clear();
    } else if (a == "--no-flight-plan") {
      v->flight_plan = false;
    } else if (a == "--log-date" || a == "--flight-plan-date") {
      std::int64_t t = 0;
      if (!value(val) || !parse_date(val, t)) return usage((a + " needs a date").c_str());
      (a == "--log-date" ? v->log_time : v->flight_plan_time) = t;
    } else if (a == "--no-hidden-planes") {
      v->hidden_planes = false;
    } else {
      struct {
        const char* one;
        const char* many;
        std::vector<std::string>* list;
      } lists[] = {{"--towplane", "--towplanes", &v->towplanes},
                   {"--hidden-towplane", "--hidden-towplanes", &v->hidden_towplanes},
                   {"--glider", "--gliders", &v->gliders},
                   {"--hidden-glider", "--hidden-gliders", &v->hidden_gliders},
                   {"--folder", "--folders", &v->folders},
                   {"--landscape", "--landscapes", &v->landscapes}};
      bool known = false;
      for (auto& l : lists) {
        if (a == l.one || a == l.many) {
          if (!value(val)) return usage((a + " needs a name").c_str());
          if (a == l.one) l.list->push_back(val);
          else add_list(*l.list, val);
          known = true;
        }
      }
      if (!known) return usage(("unknown option " + a).c_str());
    }
  }
  std::string err = make_condor_install(spec);
  if (!err.empty()) {
    std::fprintf(stderr, "make_condor_install: %s\n", err.c_str());
    return 1;
  }
  for (const SimVersion& s : spec.versions)
    std::printf("Condor %d in %s (%s)\n", s.version, install_dir_of(s).c_str(), fixture_host_path(spec, install_dir_of(s)).c_str());
  return 0;
}
