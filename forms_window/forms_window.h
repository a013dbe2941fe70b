// The forms window: the window-side copy of a form's elements, their layout
// in pixels, and the window session the forms library drives.
//
// Element numbers are 0-based here; the forms library numbers from 1 and
// converts at every call. Texts arrive as NUL-terminated strings.
#pragma once

#include <array>
#include <span>
#include <string>

// ---- elements, handed over by the forms library ----

void add_inpt(int count, int index, const char* label, const char* value, int x, int y, int tx, int ty, int ival,
              float rval, int size, int type, int arrows, int active, int dep, int ddl, const char* ext);
void set_inpt_props(int index, const char* label, int active, int type, const char* ext, int refresh);
void set_inpt_val(int index, int ival, float rval, const char* value);
// The value being edited: 1 and the value (a list's entry 1-based) for an
// index below 100, else 0 and nothing written. `value` receives a
// NUL-terminated text cut to its size.
int get_box_val(int index, int& ival, float& rval, std::span<char> value);

void add_butt(int count, int index, const char* text, int x, int y, int width, int type);
// Members are 1-based element numbers; -1 is a name that matched no element.
void add_rdio(int groups, const std::array<int, 10>& counts, const std::array<std::array<int, 10>, 10>& members);
void add_sepa(int count, std::span<const std::array<int, 4>> pos);
void add_subt(int count, int index, const char* text, int x, int y);
void set_subt(int index, const char* text, int refresh);
void add_ddl(int list, int count, int entry, const char* text);
void add_lnd(int list, int count, int entry, const char* text);

// The first rectangle (x1, y1, x2, y2) among the first `count` that holds the
// point strictly inside, or -1.
int get_box_num(int x, int y, int count, std::span<const std::array<int, 4>> rects);
void check_depend();

// ---- layout ----

// Width and height in pixels of `text` in the text font at `size` pixels.
using MeasureText = void (*)(const char* text, int size, int& width, int& height);

// What the layout needs from the fonts: the input font's cell width (DxI),
// its depth below the baseline (Yoffset), the text size and a measurement of
// texts in the text font.
struct FormMetrics {
  int DxI = 0;
  int Yoffset = 0;
  int font_size = 0;
  MeasureText measure = nullptr;
};

// Computes every element's rectangle and label position and the window size
// from the positions last handed over and the given metrics, which it keeps
// for drawing and hit-testing.
void form_setup(const FormMetrics& metrics);

// ---- keys ----

// Display name of a key code ("CTRL+", "SHFT+" ... and the key); the result
// is the name's length, 0 when the key has no name (callers show "??????").
int get_key_name(int key_code, std::string& name);

// ---- window session ----

// Active flag, font size and debug flag, in this order.
void set_opt(const std::array<int, 3>& opt);
// Opens the form window; the window id, 0 when no window could be opened.
int frm_start_graphics(const char* font, const char* title);
// Runs the form until it ends; its exit status, 0 without a window.
int frm_do_graphics();
// Lays the form out again after a new hand-over; the window id (0: none).
int frm_new_form_gr();
