// The forms library: a dialog described by a form definition file, read into
// the form model and driven through the frm_ operations. Element numbers are
// 1-based; texts are blank-padded fields, cut or padded to the caller's width.
#pragma once

#include <span>
#include <string_view>

#include "common/field.h"

// ---- loading ----
void frm_init_form();
// 0 when the definition was read and found sound; otherwise the number of
// faults (listed in "frm_forms.log"), 1 after a duplicate name, or the file
// system's error status when the file cannot be opened or read.
int frm_read_form(std::string_view fnam);
void load_form();

// ---- dialog ----
int frm_create_form();
int frm_new_form();
int frm_do_form();

// ---- counting and naming ----
int frm_get_count();
int frm_get_txt_count();
int frm_set_count(int nn);
int frm_get_number(std::string_view name);
int frm_get_name(int n, FieldRef name);
int frm_get_txt_name(int n, FieldRef text);
int frm_get_version();
int get_key_num(std::string_view key, int& largest);

// ---- values and properties ----
int frm_get_value(int n, int& iv, float& rv, FieldRef cv, int& type);
int frm_get_cur_value(int n, int& iv, float& rv, FieldRef cv, int& type);
int frm_set_value(int n, int iv, float rv, std::string_view cv, bool update);
int frm_set_prop(int element_class, int n, int code, int iv, float rv, std::string_view cv, bool refresh);
int frm_get_prop(int element_class, int n, int code, int& iv, float& rv, FieldRef cv);

// ---- value checks, called by the forms window (box 0-based; texts
// NUL-terminated in and out, cut to the buffer) ----
int check_values(int box, int active, int& ival, float& rval, std::span<char> text, std::span<char> message);
int check_minmax(int box, int& ival, float& rval, std::span<const char> text, std::span<char> message);
int incrm_val(int box, int& ival, float& rval, std::span<char> text, int incr);
bool check_minmax_0(float x, float lower, float upper);
float get_incr(float v);

// ---- form data files ----
int frm_write_form_data(std::string_view name);
int frm_read_form_data(std::string_view name);

// ---- supplied by the application (defaults in the library my_forms_default) ----

// kind 1: input box `number` was operated, `value` its integer value (a
// list's entry 1-based); kind 6: button `number` was pressed, `value` the
// dialog's exit status, which the call-back may change.
void frm_callback(int kind, int number, int& value);
// Called after a value passed the library's checks; 1 accepts, 0 rejects
// with `message` (256 characters) shown for the box.
int check_values_app(int n, std::string_view label, int& ival, float& rval, FieldRef cval, FieldRef message);
