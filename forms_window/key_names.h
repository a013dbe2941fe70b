// The platform's name of a keyboard scan code (the key-name query of the
// host). Writes at most `capacity` bytes including the terminating NUL and
// returns the name's length, 0 when the key has no name.
#pragma once

int host_scan_code_name(int scan_code, char* name, int capacity);
