// Ending the program: the run ends with exit status 0 after every stop, with
// standard output flushed.
#pragma once

[[noreturn]] void stop_program();
