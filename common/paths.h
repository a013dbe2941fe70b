// Path and file utilities on Windows-style paths held in fixed-length fields
// (the separator is the backslash), file modification times, waits for files,
// sleeping and elapsed time. File access goes through the host path seam.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/field.h"

void extract_name(std::string_view path, FieldRef name);
void extract_path_name(std::string_view path, FieldRef folder, FieldRef name);
void updir(std::string_view path, FieldRef parent);

// 0 when deleted, the open or close status when that failed, -1 when the file
// does not exist.
int delete_file(std::string_view fnam);

// Whether a test file can be created, written and deleted in `folder`.
bool folder_writable(std::string_view folder);

// Returns when `folder` is writable (folder_writable); otherwise shows an
// error message titled `msg_tit` and ends the program.
void check_writable_folder(std::string_view folder, std::string_view msg_tit);

// Last modification time in seconds since 1970-01-01 UTC, -1 when missing.
std::int64_t modified_date(std::string_view infile);
bool is_file_updated(std::int64_t t_start, std::string_view infile);

// Poll every 2 seconds until the file (or the newer of two) was modified at or
// after `t_start`; after 12 hours the program ends with a message.
void wait_for_file(std::int64_t t_start, std::string_view infile);
void wait_for_2_files(std::int64_t t_start, std::string_view infile1, std::string_view infile2, int& nmod);

// The sleep the waits use. Tests replace it to run the polls without waiting;
// nullptr restores the real sleep (My_Sleep).
using SleepFunction = void (*)(int milliseconds);
void set_wait_sleep(SleepFunction sleep);

void My_Sleep(int dwMilliseconds);

// Milliseconds since the first call of each (0 on that call), from the local
// time of day; a change of day between the calls is allowed for once.
int elapsed_ms();
double elapsed_time();

// The time of day that elapsed_ms and elapsed_time read, in milliseconds since
// midnight. Tests replace it; nullptr restores the wall clock.
using TimeOfDayFunction = int (*)();
void set_time_of_day(TimeOfDayFunction clock);
