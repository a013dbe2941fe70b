// The towplane inventory: which aircraft folders are towplanes, and where
// each towplane of the form lies, from listings that the command interpreter
// writes to temporary files. Every listing file is read once and deleted.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_lines.h"
#include "app/towplanes.h"
#include "common/command_interpreter.h"
#include "common/logging.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text_utils.h"
#include "common/trace.h"
#include "forms/my_forms.h"

using namespace towplanes;

namespace inventory {

// One line of a listing, without its line end, in the program's code page,
// cut to the field. False at the end of the file. Listings of cmd.exe end
// their lines with CR LF.
bool read_line(std::FILE* f, Field<256>& line) {
  std::string s;
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    s.push_back(static_cast<char>(c));
  }
  if (!s.empty() && s.back() == '\r') s.pop_back();
  line = command_output_text(s);
  return any;
}

// A log line holding a folder name. The log takes a message in double quotes
// as one line, exactly: a name cannot start a new log file ("CREATE"), carry
// a level marker or be split at "/".
void log_name_line(std::string_view text) { log_message_f("\"" + std::string(text) + "\""); }

// Each listing step runs as one folder scan: the file routines may keep what
// they learnt of the folders until the step ends.
struct FolderScan {
  FolderScan() { begin_folder_scan(); }
  ~FolderScan() { end_folder_scan(); }
  FolderScan(const FolderScan&) = delete;
  FolderScan& operator=(const FolderScan&) = delete;
};

// Deletes a listing file the run made.
void remove_listing(std::string_view name) {
  if (file_exists(trim_right(name))) delete_file(name);
}

// Clears the way for a listing: a file of that name left by a run that
// ended early is deleted. False when something is still there (a folder, a
// file that cannot be deleted): the command could not write the listing,
// and what is there would be read in its place.
bool fresh_listing(std::string_view name) {
  remove_listing(name);
  return !path_exists(trim_right(name));
}

// The position of the first ".dta" in the name, in any letter case (file
// systems of the simulator ignore it); npos when there is none.
std::size_t find_dta(std::string_view name) {
  for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
    if (name[i] == '.' && (name[i + 1] == 'd' || name[i + 1] == 'D') && (name[i + 2] == 't' || name[i + 2] == 'T') &&
        (name[i + 3] == 'a' || name[i + 3] == 'A'))
      return i;
  }
  return std::string_view::npos;
}

// Ticks the inputs whose (upper-case) name is `name`: found under Planes on
// the first pass, under Hidden_Planes on the second.
void match_inputs(const Name& name, bool active) {
  for (int i = 1; i <= stored(); ++i) {
    Name input;
    frm_get_name(i, input);
    majusc(input);
    if (!(input == name)) continue;
    ++nfound;
    ++nhits[static_cast<std::size_t>(i - 1)];
    qfound[static_cast<std::size_t>(i - 1)] = true;
    qact[static_cast<std::size_t>(i - 1)] = active;
    if (active) {
      ++nact;
      trace(input, 1);
      frm_set_value(i, 1, 1.0f, "1", false);
    } else {
      ++ninact;
      trace(input, 0);
      frm_set_value(i, 0, 0.0f, "0", false);
    }
  }
}

// One locating pass: every data file below `folder`, listed with DIR /B /S
// into the listing file.
void locate_in(const Path& folder, bool active) {
  FolderScan scan;
  if (!folder_exists(folder.trimmed())) {
    // CD /D would fail and DIR would list the current folder instead.
    trace(folder, "does not exist: nothing to locate there");
    return;
  }
  Field<256> line;
  if (!locating_command(folder, line)) {
    trace(folder, "cannot be listed through a command line");
    return;
  }
  if (!fresh_listing(tmpfil.view())) {
    trace(tmpfil, "cannot be written: nothing to locate there");
    return;
  }
  int exitstat = 0, cmdstat = 0;
  run_traced(line, exitstat, cmdstat);

  bool there = file_exists(tmpfil.trimmed());
  trace(tmpfil, there);
  if (!there) return;
  std::FILE* f = open_file(tmpfil.trimmed(), "r");
  if (f != nullptr) {
    Field<256> full;
    while (read_line(f, full)) {
      bool exists = file_exists(full.trimmed());
      trace(full, exists);
      if (!exists) continue;
      Field<256> dir;
      Name file;
      extract_path_name(full.view(), dir, file);
      // A name cut before its ".dta" (longer than 28 characters) is not a
      // towplane's data file name any more: it is skipped.
      std::size_t dta = find_dta(file.view());
      if (dta == std::string_view::npos) continue;
      std::fill(file.data() + dta, file.data() + file.size(), ' ');
      majusc(file);
      match_inputs(file, active);
    }
    std::fclose(f);
  }
  remove_listing(tmpfil);
}

}  // namespace inventory

using namespace inventory;

int vers_num() { return kProgramVersion; }

void cleanup_filename(FieldRef deff) {
  int n = deff.len_trim();
  for (int i = 0; i < n; ++i) {
    if (deff[i] == ' ' || deff[i] == '\\' || deff[i] == ':') deff[i] = '_';
  }
}

bool is_towplane(std::string_view dir, std::string_view nam) {
  Path fff(trim_right(dir));
  int l = fff.len_trim();
  if (l == 0 || fff[l - 1] != '\\') fff.append("\\");
  fff.append(trim_right(nam));
  std::string base = fff.str();
  struct TowplaneFile {
    const char* suffix;
    bool required;  // must exist (true) or must not (false)
  };
  static constexpr TowplaneFile kFiles[] = {{"S.c3d", true}, {"E.c3d", true}, {"E.mfg", true}, {".dta", true},
                                            {".pol", false}, {".pdt", false}, {".phf", false}};
  bool towplane = true;
  for (const TowplaneFile& f : kFiles) {
    std::string name = base + f.suffix;
    bool there = file_exists(name);
    trace(name, there);
    if (there != f.required) towplane = false;
  }
  return towplane;
}

bool listing_command(std::string_view dir, Path& listing, Field<256>& line) {
  // Made in the current folder, named after the folder. A name that does
  // not fit is not cut: the cut name could be another file's.
  Field<1024> name(trim_right(dir));
  cleanup_filename(name);
  name.append(".txt");
  listing.blank();
  line.blank();
  if (name.len_trim() > listing.size()) return false;
  listing = name.view();
  // Bare names: the same list in every language of the command interpreter.
  return quotable(dir) && quotable(listing) &&
         make_command("DIR /AD /B " + quoted(dir) + " > " + quoted(listing), line);
}

bool locating_command(const Path& folder, Field<256>& line) {
  line.blank();
  return quotable(folder) && quotable(tmpfil) &&
         make_command("CD /D " + quoted(folder) + " & DIR /B /S *.dta > " + quoted(tmpfil), line);
}

void read_tow(std::string_view defdir, int& npln, std::span<Field<32>> plnam) {
  FolderScan scan;
  std::string_view dir = trim_right(defdir);
  Path deff;
  Field<256> line;
  if (!listing_command(dir, deff, line)) {
    log_name_line(std::string(dir) + ": cannot be listed through a command line");
    return;
  }
  if (!fresh_listing(deff.view())) {
    log_name_line(deff.str() + ": cannot be written, " + std::string(dir) + " not listed");
    return;
  }
  int exitstat = 0, cmdstat = 0;
  run_traced(line, exitstat, cmdstat);
  trace("");

  std::FILE* f = open_file(deff.trimmed(), "r");
  if (f != nullptr) {
    Field<256> nam;
    while (read_line(f, nam)) {
      if (nam.is_blank()) continue;
      trace(nam);
      if (nam.trimmed() == "." || nam.trimmed() == "..") continue;
      Path aircraft(dir);
      aircraft.append(nam.trimmed());
      if (!folder_exists(aircraft.trimmed())) {
        log_name_line(aircraft.str() + ": not found");
        continue;
      }
      if (!is_towplane(aircraft.view(), nam.view())) {
        log_name_line(nam.str() + ": not a Condor towplane");
        continue;
      }
      ++npln;
      if (npln <= static_cast<int>(plnam.size())) {
        plnam[static_cast<std::size_t>(npln - 1)] = nam.view();
      } else {
        trace(nam, ": towplane", npln, "counted, not stored");
      }
    }
    std::fclose(f);
  }
  remove_listing(deff);
}

void set_towplane_folders(std::string_view install_folder) {
  std::string_view p = trim_right(install_folder);
  if (!p.empty() && p.back() == '\\') p.remove_suffix(1);
  std::string base(p);
  path2 = base + "\\Hidden_Planes\\";
  path = base + "\\Planes\\";
}

void list_towplanes() {
  npln = 0;
  read_tow(path.view(), npln, towlist);

  bool hidden = folder_exists(path2.trimmed());
  trace(path2, hidden);
  if (hidden) {
    read_tow(path2.view(), npln, towlist);
  } else {
    Field<256> line;
    if (quotable(path2) && make_command("MKDIR " + quoted(path2), line)) {
      int exitstat = 0, cmdstat = 0;
      run_traced(line, exitstat, cmdstat);
    }
  }

  // "Z" first: descending order of the character codes.
  my_sort_c(stored(), towlist.data(), false);
  trace("npln", npln);
  for (int i = 1; i <= stored(); ++i) trace(i, towlist[static_cast<std::size_t>(i - 1)]);
}

void locate_towplanes() {
  nact = ninact = nfound = 0;
  nhits.fill(0);
  qact.fill(false);
  qfound.fill(false);
  locate_in(path, true);
  locate_in(path2, false);
}
