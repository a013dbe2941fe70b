// Value and text conversion: items of a line, key and value, flags, and the
// canonical texts of numbers, times, flags and key codes (and back for keys).
// Result texts are left-adjusted; `length` receives their trimmed length.
#pragma once

#include <string_view>

#include "common/field.h"

// Free-format number reads: the first item of the text (leading blanks
// skipped; an item ends at a blank, a comma or a slash). An integer read takes
// an optional sign and digits only; a real read also a decimal point and an
// exponent. A blank text or an item that is not such a number fails, and the
// target keeps its value. Results: true when read.
bool read_int(std::string_view text, int& value);
bool read_real(std::string_view text, float& value);
bool read_real(std::string_view text, double& value);

// Writes `x` with a Fortran edit descriptor such as "(F16.6)", "(1PE16.9)" or
// "(I2.2)"; a value that does not fit the width comes out as asterisks.
std::string fortran_format(double x, std::string_view format);

void extract_list(FieldRef line, FieldRef item, std::string_view separator);
void extract_comma(FieldRef line, FieldRef item);
// Splits the whole line; at most `capacity` items are stored, `count` is the
// number stored.
void read_list(std::string_view line, int& count, Field<256>* items, int capacity, std::string_view separator);
void extract_key_val(std::string_view line, FieldRef key, FieldRef value);
void extract_key_val_rel(std::string_view line, FieldRef key, FieldRef value, FieldRef relation);

bool is_true(std::string_view text);
int log2int(bool flag);
void i2b(int i, FieldRef text, int& length);
void f2b(double x, FieldRef text, std::string_view format, int& length);
void t2b(double h, FieldRef text, int& length);
void l2b(bool flag, FieldRef text, int& length);
void k2b(int k, FieldRef text, int& length);
int b2k(std::string_view text);

// Splits a key code into its flags and its base code.
void split_key_code(int k, int& flags, int& base);
