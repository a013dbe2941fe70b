// The form on screen: the toolkit context, the fonts and the callbacks that
// the window session, the drawing, the mouse handling and the keyboard hook
// share. One instance per process.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/cpw.h"

namespace forms_window {

inline pCpw this_cpw = nullptr;
inline CpwFontFace Txt_Font = nullptr;  // labels, titles, buttons, messages
inline CpwFontFace Inp_Font = nullptr;  // values and list entries (fixed pitch)
inline std::uintptr_t hwnd = 0;         // native handle of the form window

// Width and height of `text` in `face` at the current text size; 0, 0
// without a face.
void text_size(CpwFontFace face, const char* text, int& width, int& height);

// Draws the whole form into the current OpenGL context (no swap).
void drawWindowOne();
// One unit one pixel, origin at the bottom-left of the window.
void set2DMatrix();

// Installs (1) or removes (0) the keyboard hook.
void frm_StartKbdHook(int on);
// Whether the hook was asked for and not stopped since.
bool kbd_hook_running();

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
