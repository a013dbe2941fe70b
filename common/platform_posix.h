// The Linux side of the host seam, for the program's other Linux-only code
// (the command interpreter, the registry reader).
#pragma once

#include <string>

namespace platform_posix {

// The Wine prefix that the drive letters and the registry files live in:
// $WINEPREFIX, else .wine in the user's home folder.
std::string wine_prefix();

}  // namespace platform_posix
