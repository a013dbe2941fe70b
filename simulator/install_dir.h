// Install directory lookup: the install folder of a Condor version (from the
// registry entry its installer leaves for the current user, confirmed by the
// version line of the simulator's log), the program's own folder, and the
// platform reads behind them: registry values, environment variables and the
// program file's name.
#pragma once

#include <array>

#include "common/field.h"

// Registry values are read into a buffer of 255 bytes; one more byte keeps
// the text zero-terminated whatever the value holds.
constexpr int reg_value_size = 255;
using RegValue = std::array<char, reg_value_size + 1>;

// Status values of the registry calls.
constexpr int reg_ok = 0;
constexpr int reg_not_found = 2;      // key or value missing
constexpr int reg_access_denied = 5;  // the store cannot be read
constexpr int reg_more_data = 234;    // the value does not fit the buffer

// Reads the value `name` of the key `subkey` under HKEY_CURRENT_USER, or under
// HKEY_CLASSES_ROOT when `len` < 0 on entry. Returns 0 and sets `len` to the
// value's size in bytes (its terminating zero included) when the value was
// read; otherwise the status of the call that failed (the key's opening or
// the value's query), `len` unchanged and `outval` not filled.
int RdUsrReg(const char* subkey, const char* name, RegValue& outval, int& len);

// Copies the environment variable `name` into `value` (`len` bytes).
// Returns the value's length, 0 when it is not set, or the size needed
// (terminating zero included, more than `len` - 1) when it does not fit.
int MyGetEnv(const char* name, char* value, int len);

// The program file's full name into `path` (`len` bytes). Returns its length,
// 0 when it is not available or does not fit.
int GetExePath(char* path, int len);

// The program's own folder, ending with a backslash, drive letter in upper
// case; blank when the program file's name is not available.
void get_inst_path(FieldRef instpath);

// The install folder of Condor `nc` (2 or 3; also 1, and -2 or -3 to take the
// folder already found) into `path`. Returns the major version read from the
// simulator's log, or 0. Unless `silent`, a missing registry entry is
// reported. Any other `nc` stops the program.
int get_condor_inst_dir(int nc, FieldRef path, bool silent);
