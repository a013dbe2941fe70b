// Prints what discovery finds in the current registry and file system, one
// "name=value" line each, after the discovery's own trace lines. The Windows
// build's copy lets a Linux test check an installation made in a real Wine
// prefix through `wine reg`.
#include <cstdio>

#include "simulator/installed_versions.h"

int main() {
  int found = check_condor_install(" ");
  get_active_condor_version();
  std::printf("found=%d\n", found);
  std::printf("qc2=%d\nqc3=%d\ncndrvers=%d\n", inst00.qc2 ? 1 : 0, inst00.qc3 ? 1 : 0, inst00.cndrvers);
  std::printf("cndrinstpath=%s\n", inst00.cndrinstpath.str().c_str());
  std::printf("cndrpilpath=%s\n", inst00.cndrpilpath.str().c_str());
  std::printf("cndrrootpath=%s\n", inst00.cndrrootpath.str().c_str());
  return 0;
}
