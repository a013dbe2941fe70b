// Windows has no Wine prefix: the registry and the files are the system's own.
#include "simulator/prefix_search.h"

void choose_wine_prefix() {}

std::string prefix_search_note() { return {}; }
