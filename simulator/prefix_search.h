// Which Wine prefix the Linux build reads the simulator from: WINEPREFIX when
// it is set; otherwise the prefixes where players keep the simulator (~/.wine,
// Steam's Proton prefixes, Lutris and Bottles) are searched for its registry
// key, and the one used last of those holding it is taken. The Windows build
// has no prefix: nothing is chosen there.
#pragma once

#include <string>

// Chooses the prefix for the rest of the run, with trace lines and a log line
// naming it and the other prefixes that hold the simulator.
void choose_wine_prefix();

// After a search that found no prefix holding the simulator: one line that
// says where it looked (in the program's code page); empty otherwise.
std::string prefix_search_note();
