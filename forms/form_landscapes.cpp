// Placeholder until the simulator discovery lands (see report): no
// landscapes are listed yet.
#include "forms/form_loader.h"

bool hand_over_landscapes(int, int) { return true; }
