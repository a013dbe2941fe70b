// The host seam of the common services: every file routine of the program
// reaches the file system through these operations, with Windows-style paths.
// On Windows the paths are used as they are; on Linux they are mapped into the
// Wine prefix (drive letters through $WINEPREFIX/dosdevices, C: and Z:
// defaults, backslashes to slashes, names matched without regard to case when
// the exact case does not exist). One implementation per platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The host path for a program path (Windows: unchanged). Linux: the program's
// single-byte texts (Windows-1252) become UTF-8 names, as Wine stores them.
std::string host_path(std::string_view path);

// The program path for a host path (Windows: unchanged). Linux: an absolute
// path on drive Z: (a relative one is taken from the current folder), so that
// /opt/vantyr/vantyr gives Z:\opt\vantyr\vantyr; when the prefix's Z: is not
// the root folder, Wine's name for a host folder, \\?\unix\opt\vantyr\vantyr.
std::string program_path_from_host(std::string_view host);

// The program path for a host path on the drive of the Wine prefix that
// holds it (Windows: unchanged), for paths the user picked in a host dialog.
// Linux: C:\... when it lies under the prefix's drive_c or where its c: link
// leads, else the drive whose dosdevices link leads to the deepest folder
// holding it, else Z:\... (or \\?\unix\... as above); links on the way are
// followed, so a path through dosdevices/c: is on C: too. A name without a
// Windows-1252 form becomes "?".
std::string drive_path_from_host(std::string_view host);

bool file_exists(std::string_view path);    // a file (not a folder)
bool folder_exists(std::string_view path);  // a folder
bool path_exists(std::string_view path);    // either
// Modification time in seconds since 1970-01-01 UTC, -1 when missing.
std::int64_t file_mtime(std::string_view path);
// fopen of the mapped path; nullptr on failure, with errno set.
std::FILE* open_file(std::string_view path, const char* mode);
// Removes a file; 0 on success, otherwise an errno value.
int remove_path(std::string_view path);

// A scan of folders: from begin_folder_scan to end_folder_scan the file
// routines may keep what they learnt of the folders they looked into (Linux:
// the drives' host folders, and the names of the folders searched for a name
// in another letter case) and answer from it. The program's own creations,
// moves and deletions drop it; changes made by others during a scan may go
// unseen, so a scan spans one short listing step. Scans nest. Windows keeps
// nothing.
void begin_folder_scan();
void end_folder_scan();

// The name the program was started under (argument 0), as the caller passed
// it; recorded by the program's main before anything else runs.
void set_program_name(const char* argv0);
const std::string& program_name();

// Console and user interface of the host.
int console_process_count();  // processes sharing the program's console
void hide_console_window();
bool ui_language_is_french();
void sleep_milliseconds(int ms);

// For a tool whose results alone belong on standard output: from now on the
// standard output stream writes to standard error, and the stream returned
// writes to what standard output was (nullptr when that cannot be done; the
// streams are then left as they were).
std::FILE* take_standard_output();

// The local wall-clock date and time, to the millisecond.
struct LocalTime {
  int year, month, day;                    // 2024, 1..12, 1..31
  int hour, minute, second, millisecond;  // 0..23, 0..59, 0..59 (60 on a leap second), 0..999
};
LocalTime local_time();
