// The run of the program, from start to end: the installation check, the
// console, the form definition and its version, the active simulator's
// towplanes, the form, and applying the user's choice. Every error that
// stops the run is shown in a message box; the program then ends.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/command_lines.h"
#include "app/towplanes.h"
#include "common/logging.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/stop.h"
#include "common/trace.h"
#include "forms/my_forms.h"
#include "simulator/install_dir.h"
#include "simulator/installed_versions.h"
#include "simulator/prefix_search.h"

using namespace towplanes;

namespace program {

// Shows `text` as an error box, writes it to the console and ends the run.
[[noreturn]] void stop_with(std::string_view text) {
  Field<512> msg(text);
  int status = 1;
  error_message_tit(status, kTitle, msg, qline);
  trace(msg);
  stop_program();
}

// A number in four digits with leading zeros; "****" when it does not fit.
std::string four_digits(int v) {
  if (v < 0 || v > 9999) return "****";
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

// The process's current folder, as the program names folders.
std::string current_folder() {
  std::error_code ec;
  std::filesystem::path here = std::filesystem::current_path(ec);
  return ec ? std::string(".") : program_path_from_host(here.string());
}

// A folder without its trailing backslash (a drive's root keeps it).
std::string without_backslash(std::string_view folder) {
  std::string f(trim_right(folder));
  if (f.size() > 3 && f.back() == '\\') f.pop_back();
  return f;
}

// A name of a file or folder the run works on, into a path field. A name
// cut at 256 characters could be another file's, which the run would write,
// read and delete: the run stops instead, saying what to change.
void whole_name(const std::string& name, Path& out, std::string_view remedy) {
  if (name.size() > static_cast<std::size_t>(out.size()))
    stop_with("This name is longer than " + std::to_string(out.size()) + " characters:\n" + name + "\n" +
              std::string(remedy));
  out = name;
}

constexpr std::string_view kShorterProgramFolder = "Put Vantyr in a folder with a shorter name";
constexpr std::string_view kShorterCurrentFolder = "Start Vantyr from a folder with a shorter name";

// The listing file of the locating passes goes beside the program. A program
// folder that is not writable (installed for all users, owned by the system)
// leaves it to the current folder, which must be writable in any case: the
// log and the folder listings go there, and without listings the form would
// come up empty.
void place_listing_file() {
  std::string here = current_folder();
  if (folder_writable(without_backslash(instpath.view()))) {
    whole_name(instpath.str() + std::string(kListingFile), tmpfil, kShorterProgramFolder);
  } else {
    whole_name(here + (here.ends_with('\\') ? "" : "\\") + std::string(kListingFile), tmpfil, kShorterCurrentFolder);
    trace("The program's folder is not writable: the listing file goes to the current folder:", tmpfil);
  }
  check_writable_folder(here, kTitle);
  // A listing file left by a run that ended early goes; one that cannot go
  // (a folder of that name, a file that cannot be written) would be read in
  // place of the listings.
  if (path_exists(tmpfil.trimmed()) && (!file_exists(tmpfil.trimmed()) || delete_file(tmpfil.view()) != 0))
    stop_with("The listing file " + tmpfil.str() + " cannot be written:/a folder or a read-only file has its name./" +
              "Remove it and start Vantyr again");
}

// Folders that every command line of the run names: cmd.exe would expand a
// "%" in them, so the run cannot go on with such a folder.
void check_command_line_folders() {
  Path listing_folder;
  Field<256> listing_name;
  extract_path_name(tmpfil.view(), listing_folder, listing_name);
  for (const Path* folder : {&path, &listing_folder}) {
    if (quotable(*folder)) continue;
    stop_with("The folder " + folder->str() + " holds \"%\" or a double quote:/" +
              "the command interpreter cannot take it as a name./Rename it or install in another location");
  }
  // Listings that cannot be made would leave every towplane "missing".
  for (const Path* folder : {&path, &path2}) {
    Path listing;
    Field<256> line;
    if (listing_command(folder->view(), listing, line) && locating_command(*folder, line)) continue;
    // Line feeds, not "/": a folder's closing "\" would keep a "/" as it is.
    stop_with("The names of these folders are too long for a command line of 256 characters:\n" + folder->str() +
              "\n" + tmpfil.str() + "\nPut Vantyr or the simulator in a folder with a shorter name");
  }
}

// Every input and its value, before the form is shown and at the end.
void trace_inputs(int ni) {
  for (int i = 1; i <= ni; ++i) {
    int iv = 0, type = 0;
    float rv = 0.0f;
    Field<255> cv;
    if (frm_get_value(i, iv, rv, cv, type) == 1) trace(i, type, iv, rv, cv);
  }
}

}  // namespace program

using namespace program;

void check_duplicates() {
  int ni = frm_get_count();
  // The total alone misses a towplane found twice while another is found
  // nowhere; each input's own count tells.
  bool twice = nfound > ni;
  for (int i = 0; i < stored(); ++i) twice = twice || nhits[static_cast<std::size_t>(i)] > 1;
  if (!twice) return;
  Field<512> msg("Some towplanes found both in \n" + path.str() + "\n" + std::string(path2.view()));
  int status = 1;
  error_message_tit(status, kTitle, msg, qline);
  stop_program();
}

void report_missing() {
  if (nfound >= npln) return;
  Field<512> msg("Missing towplanes:");
  for (int i = 1; i <= stored(); ++i) {
    if (qfound[static_cast<std::size_t>(i - 1)]) continue;
    Name name;
    frm_get_name(i, name);
    msg.append("\n" + name.str());
    frm_set_prop(1, i, 101, 0, 0.0f, "0", false);
  }
  int status = 1;
  error_message_tit(status, kTitle, msg, qline);
}

int vantyr_run() {
  qfr = IsLanguageFrench() != 0;
  nvers = vers_num();

  Field<32> prompt;
  if (check_condor_install(prompt.view()) == 0) {
    const std::string text = qfr ? "*** Aucune installation de Condor (2 ou 3) trouv\xE9" "e ***"
                                 : "*** No Condor installation found (2 or 3) ***";
    // On Linux, where the search for the simulator's Wine prefix looked, on
    // a line of its own; its slashes are written "\/" to stay slashes.
    const std::string where = prefix_search_note();
    std::string shown = where;
    for (std::size_t k = shown.find('/'); k != std::string::npos; k = shown.find('/', k + 2)) shown.insert(k, "\\");
    if (!where.empty()) shown = text + "/" + shown;
    else shown = text;
    Field<512> msg(shown);
    int status = 1;
    error_message_tit(status, kTitle, msg, qline);
    trace(msg);
    log_message_f(text);
    if (!where.empty()) log_message_f("\"" + where + "\"");
    stop_program();
  }

  qact.fill(false);
  // Taken wider than its field, so that a longer name is refused, not cut.
  Field<512> program_folder;
  get_inst_path(program_folder);
  whole_name(program_folder.str(), instpath, kShorterProgramFolder);
  place_listing_file();

  // Started by its bare name (from a prompt) the program keeps its console.
  Field<256> cv(program_name());
  std::string_view name = cv.trimmed();
  std::size_t colon = name.find(':');
  std::size_t slash = name.find_first_of("\\/");
  int ic = colon == std::string_view::npos ? 0 : static_cast<int>(colon) + 1;
  int ib = slash == std::string_view::npos ? 0 : static_cast<int>(slash) + 1;
  bool qkeepwnd = ic == 0 && ib == 0;
  trace("qkeepwnd", cv, ic, ib, qkeepwnd);
  if (!qkeepwnd) HideConsole();

  whole_name(instpath.str() + std::string(kFormFile), fnam, kShorterProgramFolder);

  if (frm_read_form(fnam.trimmed()) != 0) stop_with(fnam.str() + " ERROR OPENING");

  int nv_form = frm_get_version();
  trace("Versions :", nvers, nv_form);
  if (nv_form / 100 != nvers / 100)
    stop_with("Version numbers do not match:/App:" + four_digits(nvers) + "/Form:" + four_digits(nv_form));

  get_active_condor_version();
  set_towplane_folders(inst00.cndrinstpath.view());
  check_command_line_folders();

  list_towplanes();
  fill_form();
  locate_towplanes();

  int ni = frm_get_count();
  trace("npln NForm NFound NAct", npln, ni, nfound, nact, ninact);
  check_duplicates();
  trace_inputs(ni);
  report_missing();

  frm_create_form();
  int exit_status = frm_do_form();
  trace("frm_do_form :", exit_status);
  if (exit_status == 1) apply_selection();

  trace_inputs(ni);
  return 0;
}
