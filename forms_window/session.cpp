// The window session of a form: the toolkit context, the text and input
// fonts and their metrics, the layout, the window with its callbacks, and
// the run of the form in the toolkit's main loop.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/logging.h"
#include "common/messages.h"
#include "common/trace.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "forms_window/window_platform.h"
#include "forms_window/window_session.h"
#include "toolkit/cpw_gl.h"

namespace forms_window {

namespace {

CText<256> msg;            // log lines and messages
bool window_gone = false;  // the user closed the window: it exists no more
bool gl_state_set = false; // the window's OpenGL state is set up

// Texts measured in the text font at `size`; the size is the form's again
// afterwards. Without a font, an estimate keeps the layout usable.
void measure_text(const char* text, int size, int& width, int& height) {
  if (!Txt_Font) {
    width = static_cast<int>(std::strlen(text)) * size / 2;
    height = size;
    return;
  }
  cpwFontMode(this_cpw, CPW_FONTOPT_SIZE, size);
  text_size(Txt_Font, text, width, height);
  cpwFontMode(this_cpw, CPW_FONTOPT_SIZE, font_size);
}

FormMetrics metrics() { return FormMetrics{DxI, Yoffset, font_size, measure_text}; }

// A face from the system font folder; on failure the log line `what`,
// then the face of "arial.ttf".
CpwFontFace load_font(const char* file, const char* what) {
  CpwFontFace face = cpwLoadFont(this_cpw, file, CPW_FONTLOC_HOST, nullptr);
  if (face) return face;
  std::snprintf(msg.data(), CText<256>::capacity, "************* %s : %s could not be loaded - arial.ttf selected *************",
                what, file);
  log_message(msg.c_str());
  font_name = "arial.ttf";
  return cpwLoadFont(this_cpw, font_name.c_str(), CPW_FONTLOC_HOST, nullptr);
}

void print_measure(const CpwFontBBox& b) {
  if (DEBUG) std::printf("DxI, DyI, Offsetx, -y  %d %d %d %d\n", b.width, b.height, b.offsetx, b.offsety);
}

// DxI and DyI from "0", Yoffset from "_" of the input font. Without any
// font the cell is estimated from the text size, so boxes and buttons keep
// their proportions (their texts are not drawn).
void measure_input_font() {
  cpwFontMode(this_cpw, CPW_FONTOPT_SIZE, font_size);
  CpwFontBBox b{};
  if (Inp_Font && cpwGetFontBBox(this_cpw, Inp_Font, "0", &b)) {
    print_measure(b);
    DxI = b.width;
    DyI = b.height;
    b = {};
    cpwGetFontBBox(this_cpw, Inp_Font, "_", &b);
    print_measure(b);
    Yoffset = b.offsety;
    return;
  }
  log_message("************* no font could be loaded: the form's texts are not drawn *************");
  DxI = std::max(1, font_size * 6 / 10);
  DyI = font_size * 7 / 10;
  Yoffset = std::max(1, font_size / 4);
}

// Why the window could not be opened, from the toolkit's error.
std::string failure_reason(int error, bool french) {
  if (error == cpw_error_initfailed) {
    const char* display = std::getenv("DISPLAY");
    std::string where = display && *display ? std::string(" (DISPLAY=") + display + ")" : " (DISPLAY is not set)";
    return (french ? "aucun \xE9" "cran n'est accessible" : "no display can be reached") + where;
  }
  if (error >= cpw_error_nopixelformat && error <= cpw_error_makecurrent)
    return std::string(french ? "OpenGL n'est pas disponible" : "OpenGL is not available") + " (error " +
           std::to_string(error) + ")";
  return std::string(french ? "la fen\xEAtre n'a pas pu \xEAtre cr\xE9\xE9" "e" : "the window cannot be created") +
         " (error " + std::to_string(error) + ")";
}

// Without a window the form cannot run: the user is told why, the log
// keeps it, and the session is left as if never started.
int no_window(int error) {
  bool fr = IsLanguageFrench() != 0;
  Field<512> text(std::string(fr ? "La fen\xEAtre du formulaire n'a pas pu \xEAtre ouverte :/"
                                 : "The form's window could not be opened:/") +
                  failure_reason(error, fr));
  log_message_f(text.view());
  int status = 1;
  error_message_tit(status, Title.view(), text, qline);
  Txt_Font = Inp_Font = nullptr;
  cpwFreeContext(&this_cpw);
  windowInfo.id = 0;
  return 0;
}

// The OpenGL state every frame relies on (blending for text and smooth lines).
void set_gl_state() {
  glPixelStorei(GL_UNPACK_LSB_FIRST, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glShadeModel(GL_SMOOTH);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_POLYGON_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(1, 1, 1, 1);
  draw_state_init();
  gl_state_set = true;
}

// A new or newly laid-out form starts with nothing current, no list open,
// no message and the keys stopped.
void reset_interaction() {
  if (kbd_hook_running()) frm_StartKbdHook(0);
  CurInpt = CurInptOld = CurPos_1 = CurPos_2 = CurButt = CurOvfl = CurDDL = CurDDL_N = -1;
  DyScrl0 = MsgInpt = xmsg = ymsg = -1;
  ddl_offset = ScrollDrag = 0;
  ddl_pos = {-1, -1, -1, -1};
}

// The native handle of a toolkit window; 0 when there is no such window.
std::uintptr_t get_hwnd(unsigned int id) {
  std::uintptr_t native = 0;
  cpwGetNativeWindow(this_cpw, id, &native, nullptr);
  return native;
}

}  // namespace

void request_redraw() {
  if (this_cpw && windowInfo.id != 0 && !window_gone) cpwPostRedisplay(this_cpw);
}

}  // namespace forms_window

using namespace forms_window;

void set_opt(const std::array<int, 3>& opt) {
  ActWin = opt[0];
  font_size = opt[1];
  DEBUG = opt[2];
}

int frm_start_graphics(const char* font, const char* title) {
  font_name = arg_text(font, 1024);
  Title = arg_text(title, 1024);
  if (DEBUG) std::printf("ActWin,font_size,DEBUG %d %d %d\n", ActWin, font_size, DEBUG);

  // One form window per process: a new start replaces the old window.
  if (this_cpw && windowInfo.id != 0 && !window_gone) cpwDestroyWindow(this_cpw, windowInfo.id);
  windowInfo.id = 0;
  window_gone = false;
  gl_state_set = false;
  reset_interaction();
  if (!cpwInitContext(&this_cpw)) return no_window(this_cpw ? cpwGetLastError(this_cpw) : cpw_error_outofmemory);

  cpwFontMode(this_cpw, CPW_FONTOPT_MODE1, 0);
  cpwFontMode(this_cpw, CPW_FONTOPT_ALIGNLEFT, 0);
  cpwFontMode(this_cpw, CPW_FONTOPT_SIZE, font_size);
  cpwFontMode(this_cpw, CPW_FONTOPT_KERNING, 1);
  cpwFontMode(this_cpw, CPW_FONTOPT_PIXELMAP_GLFORMAT, GL_RGBA);
  cpwFontMode(this_cpw, CPW_FONTOPT_PIXELMAP_OUTLINE, 1);
  cpwFontMode(this_cpw, CPW_FONTOPT_SPACING, 1);

  if (Txt_Font) cpwUnloadFont(this_cpw, Txt_Font);
  if (Inp_Font) cpwUnloadFont(this_cpw, Inp_Font);
  Txt_Font = load_font(font_name.c_str(), "Txt_Font");
  Inp_Font = load_font("cour.ttf", "Inp_Font");
  if (DEBUG) std::printf("Font %d %s %d %d\n", font_size, font_name.c_str(), Inp_Font ? 1 : 0, Txt_Font ? 1 : 0);

  measure_input_font();
  form_setup(metrics());

  // A fixed frame; without the active flag, a caption without a close box.
  // The default kind is set again for a window that replaces one without.
  cpwInitWindowProperty(this_cpw, CPW_WINDOWPROP_FIXEDFRAME, 0, 0);
  cpwInitWindowProperty(this_cpw, ActWin == 0 ? CPW_WINDOWPROP_NODRESSING : CPW_WINDOWPROP_STANDARD, 0, 0);
  windowInfo.id = static_cast<int>(
      cpwCreateWindowEx(this_cpw, Title.c_str(), static_cast<unsigned>(windowInfo.x),
                        static_cast<unsigned>(windowInfo.y), static_cast<unsigned>(windowInfo.width),
                        static_cast<unsigned>(windowInfo.height)));
  if (windowInfo.id == 0) return no_window(cpwGetLastError(this_cpw));

  hwnd = get_hwnd(static_cast<unsigned>(windowInfo.id));
  if (hwnd == 0) {
    std::snprintf(msg.data(), CText<256>::capacity, "\nhwnd %d", 0);
    log_message(msg.c_str());
  }
  frm_window_platform_start(this_cpw, static_cast<unsigned>(windowInfo.id), hwnd, DEBUG);

  cpwCreateCallback(this_cpw, frm_window);
  cpwDisplayCallback(this_cpw, frm_draw);
  cpwReshapeCallback(this_cpw, frm_reshape);
  cpwMouseClickCallback(this_cpw, frm_mouseclick);
  cpwMouseEntryCallback(this_cpw, frm_mouseentry);
  cpwMouseMoveCallback(this_cpw, frm_mousemove);
  cpwMouseDragCallback(this_cpw, frm_mousedrag);
  frm_keys_start();
  return windowInfo.id;
}

int frm_do_graphics() {
  if (windowInfo.id == 0 || !this_cpw) return 0;
  // Closed by the user in an earlier run: there is nothing to show or wait for.
  if (window_gone) return -999;
  const unsigned id = static_cast<unsigned>(windowInfo.id);
  cpwShowWindow(this_cpw, id);
  cpwMainLoop(this_cpw);
  if (!window_gone) cpwHideWindow(this_cpw, id);
  return ExitStat;
}

int frm_new_form_gr() {
  if (windowInfo.id == 0 || window_gone) return 0;
  reset_interaction();
  form_setup(metrics());
  cpwReshapeWindow(this_cpw, static_cast<unsigned>(windowInfo.width), static_cast<unsigned>(windowInfo.height),
                   static_cast<unsigned>(windowInfo.id));
  return windowInfo.id;
}

void frm_window(pCpw cpw, unsigned int id, unsigned int flag) {
  if (flag == 1) {
    set_gl_state();
  } else if (flag == 0) {
    // The user closed the window.
    cpwDestroyWindow(cpw, id);
    window_gone = true;
    ExitStat = -999;
    cpwBreakMainLoop(cpw);
  }
}

void frm_reshape(pCpw, unsigned int, unsigned int width, unsigned int height) {
  windowInfo.width = width == 0 ? 1 : static_cast<int>(width);
  windowInfo.height = height == 0 ? 1 : static_cast<int>(height);
  set2DMatrix();
  glViewport(0, 0, windowInfo.width, windowInfo.height);
}

void frm_draw(pCpw cpw, unsigned int id) {
  // The host may ask for the first frame (the window's first exposure)
  // before the queued creation reaches frm_window.
  if (!gl_state_set) set_gl_state();
  drawWindowOne();
  cpwSwapWindowBuffers(cpw, id);
}
