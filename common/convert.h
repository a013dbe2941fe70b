// Value and text conversion: items of a line, key and value, flags, and the
// canonical texts of numbers, times, flags and key codes (and back for keys).
// Result texts are left-adjusted; `length` receives their trimmed length.
#pragma once

#include <string>
#include <string_view>

#include "common/field.h"

// Free-format number reads: the first item of the text (leading blanks
// skipped; an item ends at a blank, a comma or a slash; tabs, carriage
// returns and line feeds count as blanks). An integer read takes an optional sign and digits only; a real
// read also a decimal point and an exponent with the letter E or D in either
// case (1.5E+02, 2d-3). A blank text, an empty first item (the text starts
// with a comma or a slash), an item that is not such a number, an integer
// that does not fit an int and a real too large for its type all fail, and
// the target keeps its value; a real too small for its type reads as zero.
// Infinity and NaN are never read. Results: true when read.
bool read_int(std::string_view text, int& value);
bool read_real(std::string_view text, float& value);
bool read_real(std::string_view text, double& value);

// Writes `x` with a Fortran edit descriptor such as "(F16.6)", "(1PE16.9)" or
// "(I2.2)", as the Fortran run time does: right-aligned in the width, rounded
// to nearest (an exact tie to the even digit), asterisks when the value does
// not fit. Descriptors: Iw and Iw.m (x rounded to the nearest integer),
// Fw.d, Ew.d, Dw.d, ESw.d, each E form optionally with Ee, the E and F forms
// with a scale factor kP ("(1PE16.9)": one digit before the point). A width
// of 0 writes the value as narrow as it goes. Anything else (another
// descriptor, a scale factor the E form cannot take, a width above 999) gives
// an empty text.
std::string fortran_format(double x, std::string_view format);

// Moves the first item of `line` (up to the first character of `separator`)
// into `item`, left-adjusted, quotes kept; the line keeps what follows the
// separator. A separator between the first pair of double quotes of the item
// does not split it; without a separator after that pair, the item ends with
// the closing quote and the line keeps what follows the quote. A line without
// separator (or an empty `separator`) is one item, and the line becomes blank.
void extract_list(FieldRef line, FieldRef item, std::string_view separator);
void extract_comma(FieldRef line, FieldRef item);
// Splits the whole line until an item is blank; at most `capacity` items are
// stored (the rest is ignored, with a trace line), `count` is the number
// stored.
void read_list(std::string_view line, int& count, Field<256>* items, int capacity, std::string_view separator);
// Key and value split at the first "=", else the first ":" (both
// left-adjusted); without either the key is the whole line.
void extract_key_val(std::string_view line, FieldRef key, FieldRef value);
// Split at a relation operator: "=", "!=", "<", "<=", ">", ">=", "[]", the last
// one of that list found in the line wins.
void extract_key_val_rel(std::string_view line, FieldRef key, FieldRef value, FieldRef relation);

bool is_true(std::string_view text);
int log2int(bool flag);
void i2b(int i, FieldRef text, int& length);
// Real text: with a fixed-point format no more decimals than a 32-bit real
// carries for the magnitude and no trailing zeros ("12.5", "3"); an E format
// as written. The final text is cut to the field.
void f2b(double x, FieldRef text, std::string_view format, int& length);
// Hours as "hh:mm:ss".
void t2b(double h, FieldRef text, int& length);
void l2b(bool flag, FieldRef text, int& length);
void k2b(int k, FieldRef text, int& length);
// The key code of a key text written by k2b. A text that is none of the three
// base forms (a quoted character, "ASC" or "SCN" and a number), or whose
// number does not read or lies outside the base code range, gives 0 (no key).
int b2k(std::string_view text);

// Splits a key code into its flags and its base code.
void split_key_code(int k, int& flags, int& base);

// Truncates toward zero into an integer; NaN gives 0 and the range is clamped
// to 1e15 either way, so that absurd inputs still give a defined (asterisk)
// text when formatted.
long long truncate_toward_zero(double x);
