// The Linux side of the host seam, for the program's other Linux-only code
// (the command interpreter, the registry reader).
#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform_posix {

// The Wine prefix that the drive letters and the registry files live in:
// $WINEPREFIX, else the prefix the search for the simulator chose, else .wine
// in the user's home folder.
std::string wine_prefix();

// The prefix the search chose, used while WINEPREFIX is not set; an empty
// text goes back to the default.
void set_chosen_prefix(std::string prefix);

// The user's home folder: $HOME, else the password entry's.
std::string home_folder();

// Whether the prefix's Z: drive is the host's root folder: its dosdevices/z:
// leads to "/", or there is no such link. Otherwise host folders are named
// as Wine names a folder outside every drive, \\?\unix\ and the host path,
// so that they map back without the prefix.
bool z_drive_is_root();

// The length of a leading \\?\unix of `path` (either slash, "unix" in any
// case, followed by the end or a separator); 0 when it has none.
inline std::size_t host_root_length(std::string_view p) {
  auto sep = [](char c) { return c == '\\' || c == '/'; };
  if (p.size() < 8 || !sep(p[0]) || !sep(p[1]) || p[2] != '?' || !sep(p[3])) return 0;
  for (std::size_t k = 0; k < 4; ++k)
    if (std::tolower(static_cast<unsigned char>(p[4 + k])) != "unix"[k]) return 0;
  return p.size() == 8 || sep(p[8]) ? 8 : 0;
}

// drive_path_from_host in UTF-8, for callers that keep UTF-8 texts.
std::string drive_path_from_host_utf8(std::string_view host);

// The program created, moved or deleted something by other means than
// open_file and remove_path (the command interpreter's MKDIR and MOVE): what
// a folder scan kept is dropped.
void host_files_changed();

}  // namespace platform_posix
