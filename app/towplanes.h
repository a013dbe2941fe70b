// The towplane manager: finds the towplanes of the active simulator under its
// Planes and Hidden_Planes folders, offers them in the program's form, one
// tick box each, and moves every towplane folder whose tick changed.
//
// The run is one straight sequence (vantyr_run); its steps are procedures of
// their own so that tests can drive them on real folders.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "common/field.h"

namespace towplanes {

inline constexpr int kProgramVersion = 1200;
// The towplane list and its flags hold 32 entries; more towplanes stop the
// run with "Too many towplanes".
inline constexpr int kMaxTowplanes = 32;
inline constexpr std::string_view kTitle = "Vantyr";
inline constexpr std::string_view kFormFile = "Vantyr_form.frm";
inline constexpr std::string_view kListingFile = "Vantyr_planes_list.txt";

using Name = Field<32>;
using Path = Field<256>;

// Towplane state, shared by the main program and its form call-back.
inline int npln = 0;                              // towplanes listed (may exceed the 32 stored)
inline std::array<bool, kMaxTowplanes> qact{};    // input i (0-based here) found under Planes
inline std::array<bool, kMaxTowplanes> qfound{};  // input i found under either folder
inline int nvers = 0;                             // the program version

// The rest of the run's state.
inline std::array<Name, kMaxTowplanes> towlist;  // towplane folder names
inline Path path;     // the active Planes folder, ending with a backslash
inline Path path2;    // its Hidden_Planes folder, ending with a backslash
inline Path instpath;  // the program's own folder, ending with a backslash
inline Path fnam;      // the form file
inline Path tmpfil;    // the locating listing file: in the program's folder, else the current one
inline int nact = 0;    // towplanes matched under Planes
inline int ninact = 0;  // towplanes matched under Hidden_Planes
inline int nfound = 0;  // matches under either folder
// Matches per input: a towplane whose data file is found more than once.
inline std::array<int, kMaxTowplanes> nhits{};

// The towplanes stored in towlist (npln cut to the list's capacity).
inline int stored() { return npln < kMaxTowplanes ? npln : kMaxTowplanes; }

}  // namespace towplanes

// The program version, 1200.
int vers_num();

// Within the trimmed text, every blank, "\" and ":" becomes "_".
void cleanup_filename(FieldRef deff);

// Whether the aircraft folder `dir` holds the files of a towplane named `nam`:
// its S.c3d, E.c3d, E.mfg and .dta files and none of the .pol, .pdt and .phf
// files that mark a glider.
bool is_towplane(std::string_view dir, std::string_view nam);

// The command line that lists the folders of `dir` into `listing`, a file of
// the current folder named after `dir`; false when the names cannot stand on
// a command line ("%" or a double quote in them, more than 256 characters).
bool listing_command(std::string_view dir, towplanes::Path& listing, Field<256>& line);

// The command line that lists every data file below `folder` into the
// listing file `tmpfil`; false as for listing_command.
bool locating_command(const towplanes::Path& folder, Field<256>& line);

// Appends the towplanes among the folders of `defdir` (ending with a
// backslash) to `plnam`, counting them in `npln`. A towplane beyond the
// list's capacity is counted and not stored.
void read_tow(std::string_view defdir, int& npln, std::span<Field<32>> plnam);

// The folders of the towplanes below an installation folder: sets `path` and
// `path2` (both ending with a backslash).
void set_towplane_folders(std::string_view install_folder);

// Lists the towplanes of `path` and `path2` into `towlist` (making `path2`
// when it is missing) and sorts them, "Z" first.
void list_towplanes();

// The first inputs of the form become the towplanes; stops the run with
// "Too many towplanes" when the form or the list cannot hold them all.
void fill_form();

// Finds the data file of every towplane below `path` and `path2`: sets
// `qact`, `qfound`, the counters and each input's tick.
void locate_towplanes();

// Stops the run when a towplane's data file was found more than once.
void check_duplicates();

// Reports the towplanes whose data file was found nowhere and makes their
// inputs inactive.
void report_missing();

// Moves every towplane folder whose tick differs from where it was found and
// shows what was moved (and what could not be).
void apply_selection();

// The whole run, from the installation check to the end. Always 0.
int vantyr_run();
