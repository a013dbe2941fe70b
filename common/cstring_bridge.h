// Bridges between the program's fixed-length texts and the zero-terminated
// texts of platform calls.
#pragma once

#include <string_view>

#include "common/field.h"

// Copies up to the zero byte or `ls` characters (`ls` 0: the field's width)
// into `out_str`, blank-padding the rest; `ls` becomes the number copied.
void strcpy_c2f(const char* in_str, FieldRef out_str, int& ls);
// Copies the trimmed text and a zero byte into `out_str`, which holds at least
// `capacity` bytes (the text is cut to fit); `ls` becomes the length copied.
void strcpy_f2c(std::string_view in_str, char* out_str, int capacity, int& ls);
