// Vantyr: the towplane manager of the Condor glider flight simulator.
#include "app/towplanes.h"
#include "common/platform.h"

int main(int /*argc*/, char** argv) {
  set_program_name(argv[0]);
  return vantyr_run();
}
