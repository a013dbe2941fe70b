// The Linux side of the host seam, for the program's other Linux-only code
// (the command interpreter, the registry reader).
#pragma once

#include <string>
#include <string_view>

namespace platform_posix {

// The Wine prefix that the drive letters and the registry files live in:
// $WINEPREFIX, else .wine in the user's home folder.
std::string wine_prefix();

// drive_path_from_host in UTF-8, for callers that keep UTF-8 texts.
std::string drive_path_from_host_utf8(std::string_view host);

// The program created, moved or deleted something by other means than
// open_file and remove_path (the command interpreter's MKDIR and MOVE): what
// a folder scan kept is dropped.
void host_files_changed();

}  // namespace platform_posix
