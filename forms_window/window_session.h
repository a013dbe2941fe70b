// The form on screen: the toolkit context, the fonts and the callbacks that
// the window session, the drawing, the mouse handling and the keyboard hook
// share. One instance per process.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "forms_window/forms_window_state.h"
#include "toolkit/cpw.h"

namespace forms_window {

inline pCpw this_cpw = nullptr;
inline CpwFontFace Txt_Font = nullptr;  // labels, titles, buttons, messages
inline CpwFontFace Inp_Font = nullptr;  // values and list entries (fixed pitch)
inline std::uintptr_t hwnd = 0;         // native handle of the form window

// Width and height of `text` in `face` at the current text size; 0, 0
// without a face.
void text_size(CpwFontFace face, const char* text, int& width, int& height);

// The drawing's OpenGL objects in a new window's context.
void draw_state_init();
// Draws the whole form into the current OpenGL context (no swap).
void drawWindowOne();
// One unit one pixel, origin at the bottom-left of the window.
void set2DMatrix();

// Button b released (or Enter for the first OK button): by its type it
// checks the values, calls the application and ends the form.
void run_button(int b);

// ---- keyboard ----
// Has the toolkit hand the form window's keys to the form; once per window.
void frm_keys_start();
// Starts (1) or stops (0) the form's key handling.
void frm_StartKbdHook(int on);
// Whether the hook is started.
bool kbd_hook_running();
// Handles one key record: `message` is 0x100 key down, 0x101 key up, 0x104
// and 0x105 their system forms; negative codes are only logged. 0: the key
// is passed on.
int frm_KdbHookProc(int code, unsigned int message, const CpwKeyRecord* rec);
// 1 for the modifier keys left and right Shift, left and right Ctrl, left Alt.
int is_key_mod(int scan_code, int vk);
// Inserts `ch` at the caret of a value shown from `ofs` on, or replaces the
// selection p1..p2 with it; the caret then follows it.
void InsertChar(CText<256>& text, char ch, int ofs, int& p1, int& p2);
// Removes the selection, or the character before the caret.
void DeleteChar(CText<256>& text, int& ofs, int& p1, int& p2);
// The clipboard, in the program's code page: a failure is written to
// standard error and changes nothing (wr_clp then gives false). rd_clp
// fills 256 bytes: the first 255 characters, or nothing without a text.
bool wr_clp(const char* text);
void rd_clp(char* text);

// The choosers of path and colour elements: true with the choice, false
// when nothing was chosen.
bool choose_input_file(const char* title, const char* default_path, const char* pattern, std::string& chosen);
bool choose_output_file(const char* title, const char* default_path, const char* pattern, std::string& chosen);
bool choose_folder(const char* title, const char* default_folder, std::string& chosen);
// `rgb` holds the default colour's bytes on entry and the chosen ones on a
// choice; `chosen` then is the colour as "#RRGGBB".
bool choose_colour(const char* default_colour, std::array<unsigned char, 3>& rgb, std::string& chosen);

}  // namespace forms_window

// Toolkit callbacks of the form window.
void frm_window(pCpw cpw, unsigned int id, unsigned int flag);
void frm_reshape(pCpw cpw, unsigned int id, unsigned int width, unsigned int height);
void frm_draw(pCpw cpw, unsigned int id);
void frm_mouseclick(pCpw cpw, unsigned int id, unsigned int state, unsigned int button, unsigned int x,
                    unsigned int y);
void frm_mousemove(pCpw cpw, unsigned int id, unsigned int x, unsigned int y);
void frm_mousedrag(pCpw cpw, unsigned int id, unsigned int button, int x, int y);
void frm_mouseentry(pCpw cpw, unsigned int id, unsigned int state);
