// The window and event toolkit: OpenGL windows, their events delivered to
// callbacks from the toolkit's own main loop, timers and FreeType text.
//
// All state lives in one context record; every operation takes a handle to it
// first. Operations return 1 on success and 0 on failure unless stated, and a
// failure stores an error code in the context (cpwGetLastError). The platform
// code sits behind one host layer (toolkit/host/); everything here is the same
// on every platform.
#pragma once

#include <cstdint>

#include "toolkit/cpw_list.h"
#include "toolkit/cpw_str.h"

struct _CpwContext;
typedef _CpwContext* pCpw;

// ---- error codes (cpwGetLastError) ---------------------------------------
enum CpwError {
  cpw_error_noerror = 0,
  cpw_error_fontopen = 1,         // a face cannot be opened (missing file included)
  cpw_error_outofmemory = 2,
  cpw_error_invalidparameter = 3,
  cpw_error_fontformat = 4,       // not a format the font engine recognises
  cpw_error_initfailed = 5,       // the host window class cannot be registered
  cpw_error_createwindowfailed = 6,
  cpw_error_nopixelformat = 7,
  cpw_error_setpixelformat = 8,
  cpw_error_createcontext = 9,
  cpw_error_makecurrent = 10,
  cpw_error_setvideomode = 11,
  cpw_error_listvideomodes = 12,
  cpw_error_extensions = 13,
  cpw_error_menu = 14,
  cpw_error_invalidwindowid = 16,
  cpw_error_menuitem = 18,
  cpw_error_menuattach = 19,
  cpw_error_joystick = 20,
};

// ---- window properties (cpwInitWindowProperty) ---------------------------
// The low byte holds one window kind, bits 8 to 11 one frame kind.
enum : std::uint32_t {
  CPW_WINDOWPROP_STANDARD = 0x1,     // caption, system menu, minimise and maximise boxes
  CPW_WINDOWPROP_POPUP = 0x2,        // no caption
  CPW_WINDOWPROP_NODRESSING = 0x4,   // caption only: no close, minimise or maximise box
  CPW_WINDOWPROP_FIXEDFRAME = 0x100, // not resizable by the user
  CPW_WINDOWPROP_THINFRAME = 0x200,
  CPW_WINDOWPROP_THICKFRAME = 0x400, // resizable
  CPW_WINDOWPROP_EXPECTMENU = 0x10000000,
  CPW_WINDOWPROP_DESKTOP = 0x20000000,   // full-screen default geometry
  CPW_WINDOWPROP_SIZE = 0x40000000,      // default size value1 x value2
  CPW_WINDOWPROP_POSITION = 0x80000000,  // default position value1, value2
};

// ---- display mode bits (cpwInitDisplayMode) ------------------------------
enum : std::uint32_t {
  CPW_DM_RGBA = 0x1,
  CPW_DM_INDEX = 0x2,
  CPW_DM_SINGLE = 0x4,
  CPW_DM_DOUBLE = 0x8,
  CPW_DM_ACCUM = 0x10,
  CPW_DM_DEPTH = 0x20,
  CPW_DM_STENCIL = 0x40,
  CPW_DM_COLOR8 = 0x100,   // 8 colour bits, 2 alpha bits
  CPW_DM_COLOR16 = 0x200,  // 16 and 4
  CPW_DM_COLOR32 = 0x400,  // 32 and 8
  CPW_DM_COLOR64 = 0x800,  // 64 and 16
  CPW_DM_DEPTH2 = 0x10000000,
  CPW_DM_DEPTH4 = 0x20000000,
  CPW_DM_DEPTH8 = 0x40000000,
  CPW_DM_DEPTH16 = 0x80000000,
};

// ---- cursors ---------------------------------------------------------------
enum CpwCursor {
  CursorArrow = 1,
  CursorHand = 2,
  CursorNo = 3,
  CursorQuestion = 4,
  CursorBeam = 5,
  CursorWait = 6,
  CursorCrosshair = 7,
  CursorNone = 8,  // hidden
  CursorSizeNSEW = 9,
  CursorSizeNS = 10,
  CursorSizeNeSw = 11,
  CursorSizeEW = 12,
  CursorSizeSeNw = 13,
  CursorCustom = 14,  // nothing is shown or changed
};

// ---- events ----------------------------------------------------------------
enum CpwEventType {
  CPW_NO_EVENT = 0,
  CPW_MOUSECLICK_EVENT = 1,   // state, button, x, y
  CPW_MOUSEMOTION_EVENT = 2,  // x, y
  CPW_MOUSEDRAG_EVENT = 3,    // button, x, y
  CPW_MOUSEENTRY_EVENT = 4,   // state
  CPW_KEYBOARD_EVENT = 5,     // key code, shift flag, state, x, y
  CPW_SYSKEYBOARD_EVENT = 6,  // key code, state, x, y
  CPW_CREATE_EVENT = 7,
  CPW_DESTROY_EVENT = 8,      // close requested
  CPW_POSITION_EVENT = 9,     // x, y
  CPW_DISPLAY_EVENT = 10,
  CPW_VISIBILITY_EVENT = 11,  // state
  CPW_RESHAPE_EVENT = 12,     // width, height
  CPW_MENUSELECT_EVENT = 13,  // menu id, item id
};
constexpr int CPW_EVENT_TYPES = 14;
constexpr int CPW_EVENT_SLOTS = 256;

// Click states, buttons, entry, visibility and key states.
enum : unsigned {
  CPW_BUTTON_DOWN = 0, CPW_BUTTON_UP = 1, CPW_BUTTON_WHEEL = 2,
  CPW_BUTTON_LEFT = 0, CPW_BUTTON_MIDDLE = 1, CPW_BUTTON_RIGHT = 2,
  CPW_MOUSE_ENTER = 0, CPW_MOUSE_LEAVE = 1,
  CPW_HIDE = 0, CPW_SHOW = 1, CPW_GAINEDFOCUS = 2, CPW_LOSTFOCUS = 3, CPW_ICONIC = 4,
  CPW_KEYMOD_DOWN = 1, CPW_KEYMOD_UP = 2,
};

// Toolkit key codes (keyboard_state index, system keyboard events).
enum CpwKey : unsigned {
  CPW_KEY_F1 = 1,  // F1 .. F12 are 1 .. 12
  CPW_KEY_LEFT = 13, CPW_KEY_UP, CPW_KEY_RIGHT, CPW_KEY_DOWN,
  CPW_KEY_PAGEUP = 17, CPW_KEY_PAGEDOWN, CPW_KEY_HOME, CPW_KEY_END,
  CPW_KEY_INSERT = 21, CPW_KEY_DELETE,
  CPW_KEY_CAPSLOCK = 23, CPW_KEY_SHIFT, CPW_KEY_CONTROL, CPW_KEY_ALT,
  CPW_KEY_ESCAPE = 27, CPW_KEY_TAB, CPW_KEY_BACKSPACE, CPW_KEY_ENTER,
  CPW_KEY_MULTIPLY = 31, CPW_KEY_ADD, CPW_KEY_SEPERATOR, CPW_KEY_SUBTRACT, CPW_KEY_DECIMAL, CPW_KEY_DIVIDE,
  CPW_KEY_NUMLOCK = 37, CPW_KEY_PRINTSCREEN, CPW_KEY_SCROLLLOCK, CPW_KEY_PAUSE,
  CPW_KEY_1 = 41,  // digits 1 .. 9 are 41 .. 49, 0 is 50
  CPW_KEY_0 = 50,
  CPW_KEY_LCONTROL = 51, CPW_KEY_RCONTROL, CPW_KEY_LSHIFT, CPW_KEY_RSHIFT, CPW_KEY_LALT, CPW_KEY_RALT,
  CPW_KEY_MINUS = 57, CPW_KEY_EQUALS, CPW_KEY_LBRACKET, CPW_KEY_RBRACKET, CPW_KEY_SEMICOLON,
  CPW_KEY_BACKQUOTE, CPW_KEY_QUOTE, CPW_KEY_COMMA, CPW_KEY_PERIOD, CPW_KEY_SLASH, CPW_KEY_BACKSLASH,
  CPW_KEY_SPACE = 68,
  CPW_KEY_A = 69,  // letters A .. Z are 69 .. 94
  CPW_KEY_Z = 94,
};

// ---- callbacks -------------------------------------------------------------
typedef void (*CpwPrintHandler)(const char* text);
typedef void (*CpwCreateCallback)(pCpw cpw, unsigned int id, unsigned int flag);  // 1 created, 0 close requested
typedef void (*CpwDisplayCallback)(pCpw cpw, unsigned int id);
typedef void (*CpwPositionCallback)(pCpw cpw, unsigned int id, unsigned int x, unsigned int y);
typedef void (*CpwReshapeCallback)(pCpw cpw, unsigned int id, unsigned int width, unsigned int height);
typedef void (*CpwKeyboardCallback)(pCpw cpw, unsigned int id, unsigned int key, unsigned int state, unsigned int x,
                                    unsigned int y);
typedef void (*CpwSystemKeyboardCallback)(pCpw cpw, unsigned int id, unsigned int key, unsigned int state,
                                          unsigned int x, unsigned int y);
typedef void (*CpwMouseClickCallback)(pCpw cpw, unsigned int id, unsigned int state, unsigned int button,
                                      unsigned int x, unsigned int y);
typedef void (*CpwMouseDragCallback)(pCpw cpw, unsigned int id, unsigned int button, int x, int y);
typedef void (*CpwMouseMoveCallback)(pCpw cpw, unsigned int id, unsigned int x, unsigned int y);
typedef void (*CpwMouseEntryCallback)(pCpw cpw, unsigned int id, unsigned int state);
typedef void (*CpwVisibilityCallback)(pCpw cpw, unsigned int id, unsigned int state);
typedef void (*CpwMainLoopCallback)(pCpw cpw, bool activity);
typedef void (*CpwIdleCallback)(pCpw cpw);
typedef void (*CpwTimerCallback)(pCpw cpw, unsigned int timerid);

// ---- records ---------------------------------------------------------------

// Host part of a window, filled by the host layer. `hwnd` is the native
// window (a Win32 HWND, an X11 Window), `glContext` the OpenGL rendering
// context, `hdc` the device context (on X11 the display connection).
struct _CpwLocalhostWindow {
  void* glContext;
  std::uintptr_t hwnd;
  void* hdc;
  void* hmenu;
  std::uint32_t winstyle;  // host style bits used at creation
  int updates;
  bool visible;            // shown by the toolkit (cpwShowWindow results)
  void* host;              // the host layer's own per-window state
};
typedef _CpwLocalhostWindow* pCpwLhwc;

struct _CpwWindowStruct {
  unsigned int id;
  pStr title;
  unsigned int x, y;
  unsigned int width, height;
  unsigned int bx, by, bwidth, bheight;
  CpwCursor cursor;
  bool cursorpresent;
  bool fullscreen;
  unsigned int menuid;
  unsigned int buttonmenuid[3];
  pCpwLhwc plhwc;
  CpwCreateCallback createCallback;
  CpwDisplayCallback displayCallback;
  CpwPositionCallback positionCallback;
  CpwReshapeCallback reshapeCallback;
  CpwKeyboardCallback keyCallback;
  CpwSystemKeyboardCallback skeyCallback;
  CpwMouseClickCallback mouseclickCallback;
  CpwMouseDragCallback mousedragCallback;
  CpwMouseMoveCallback mousemoveCallback;
  CpwMouseEntryCallback mouseentryCallback;
  CpwVisibilityCallback visibilityCallback;
  std::uintptr_t userdata;
};
typedef _CpwWindowStruct* pCpwWin;

struct CpwEventStack;     // event queue (cpw_event.cpp)
struct CpwLocalhost;      // host-layer state (toolkit/host/cpw_host.h)
struct CpwFontContext;    // font state (cpw_font.cpp)
struct CpwModuleRecord;   // modules this system leaves empty (cpw_modules.cpp)

struct _CpwContext {
  char* cpw_programname;
  std::uint32_t cpw_displaymode;
  unsigned int cpw_screenheight;
  unsigned int cpw_screenwidth;
  bool cpw_initsuccess;
  bool cpw_running;
  pStr cpw_driverinfo;
  CpwPrintHandler cpw_print;
  unsigned int win_initwidth;
  unsigned int win_initheight;
  unsigned int win_initx;
  unsigned int win_inity;
  unsigned int win_currentid;
  unsigned int win_foregroundid;
  std::uint32_t win_properties;
  bool win_expectmenu;
  bool keyboard_state[256];
  LinkedListData list_win;
  LinkedListData list_timers;
  LinkedListData list_perf;
  LinkedListData list_menus;
  bool timers;
  bool mainloop_break;
  unsigned int mainloop_callbackticks;
  CpwMainLoopCallback mainloopCallback;
  CpwIdleCallback idleCallback;
  CpwCreateCallback createCallback;
  CpwDisplayCallback displayCallback;
  CpwReshapeCallback reshapeCallback;
  CpwKeyboardCallback keyCallback;
  CpwSystemKeyboardCallback skeyCallback;
  CpwMouseClickCallback mouseclickCallback;
  CpwMouseDragCallback mousedragCallback;
  CpwMouseMoveCallback mousemoveCallback;
  CpwMouseEntryCallback mouseentryCallback;
  CpwVisibilityCallback visibilityCallback;
  CpwPositionCallback positionCallback;
  std::int32_t err_code;
  double fps_hpcount, fps_hpfreq;
  unsigned int fps_ticks, fps_fps;
  CpwModuleRecord* extensions;
  CpwEventStack* stack;
  CpwLocalhost* ctx_localhost;
  CpwFontContext* ctx_font;
  CpwModuleRecord* ctx_primitives;
  CpwModuleRecord* ctx_joystick;
  std::uintptr_t ctx_user;
  void* ctx_ao_openal;
  void* ctx_ao_images;
};

// ---- context and initialisation ---------------------------------------------
bool cpwInitContext(pCpw* cpw);
bool cpwFreeContext(pCpw* cpw);
std::int32_t cpwGetLastError(pCpw cpw);
bool cpwSetLastError(pCpw cpw, std::int32_t code);
bool cpwInitWindowPosition(pCpw cpw, unsigned int x, unsigned int y);
bool cpwInitWindowSize(pCpw cpw, unsigned int width, unsigned int height);
bool cpwInitWindowProperty(pCpw cpw, std::uint32_t property, unsigned int value1, unsigned int value2);
bool cpwInitDisplayMode(pCpw cpw, std::uint32_t mode);
bool cpwInitDisplayModeExact(pCpw cpw, std::uint32_t mode);
bool cpwInitPrintHandler(pCpw cpw, CpwPrintHandler handler);
bool cpwSetUserdata(pCpw cpw, std::uintptr_t value);
std::uintptr_t cpwGetUserdata(pCpw cpw);

// ---- windows ---------------------------------------------------------------
// Window id 0 stands for the window that has the focus.
unsigned int cpwCreateWindow(pCpw cpw, const char* title);
unsigned int cpwCreateWindowEx(pCpw cpw, const char* title, unsigned int x, unsigned int y, unsigned int width,
                               unsigned int height);
bool cpwDestroyWindow(pCpw cpw, unsigned int id);
bool cpwShowWindow(pCpw cpw, unsigned int id);  // result: visible before the call
bool cpwHideWindow(pCpw cpw, unsigned int id);
bool cpwReshapeWindow(pCpw cpw, unsigned int width, unsigned int height, unsigned int id);
bool cpwSwapWindowBuffers(pCpw cpw, unsigned int id);
bool cpwSwapBuffers(pCpw cpw);
bool cpwSetCursor(pCpw cpw, CpwCursor cursor, unsigned int id);  // always 0
unsigned int cpwGetWindow(pCpw cpw);
bool cpwSetWindow(pCpw cpw, unsigned int id);
bool cpwSetWindowUserdata(pCpw cpw, std::uintptr_t value, unsigned int id);
// The platform's window behind a toolkit window and its display connection
// (a Win32 HWND and its device context, an X11 Window and its Display*);
// false, with both 0, when there is no such window.
bool cpwGetNativeWindow(pCpw cpw, unsigned int id, std::uintptr_t* window, void** display);
// Brings the window to the front and gives it the focus.
bool cpwRaiseWindow(pCpw cpw, unsigned int id);
std::uintptr_t cpwGetWindowUserdata(pCpw cpw, unsigned int id);

// ---- callbacks -------------------------------------------------------------
// Context-wide callbacks serve windows without a callback of their own.
bool cpwCreateCallback(pCpw cpw, CpwCreateCallback cb);
bool cpwDisplayCallback(pCpw cpw, CpwDisplayCallback cb);
bool cpwReshapeCallback(pCpw cpw, CpwReshapeCallback cb);
bool cpwPositionCallback(pCpw cpw, CpwPositionCallback cb);
bool cpwKeyboardCallback(pCpw cpw, CpwKeyboardCallback cb);
bool cpwSystemKeyboardCallback(pCpw cpw, CpwSystemKeyboardCallback cb);
bool cpwVisibilityCallback(pCpw cpw, CpwVisibilityCallback cb);
bool cpwMouseClickCallback(pCpw cpw, CpwMouseClickCallback cb);
bool cpwMouseDragCallback(pCpw cpw, CpwMouseDragCallback cb);
bool cpwMouseMoveCallback(pCpw cpw, CpwMouseMoveCallback cb);
bool cpwMouseEntryCallback(pCpw cpw, CpwMouseEntryCallback cb);

bool cpwWindowCreateCallback(pCpw cpw, CpwCreateCallback cb, unsigned int id);
bool cpwWindowDisplayCallback(pCpw cpw, CpwDisplayCallback cb, unsigned int id);
bool cpwWindowReshapeCallback(pCpw cpw, CpwReshapeCallback cb, unsigned int id);
bool cpwWindowPositionCallback(pCpw cpw, CpwPositionCallback cb, unsigned int id);
bool cpwWindowKeyboardCallback(pCpw cpw, CpwKeyboardCallback cb, unsigned int id);
bool cpwWindowSystemKeyboardCallback(pCpw cpw, CpwSystemKeyboardCallback cb, unsigned int id);
bool cpwWindowVisibilityCallback(pCpw cpw, CpwVisibilityCallback cb, unsigned int id);
bool cpwWindowMouseClickCallback(pCpw cpw, CpwMouseClickCallback cb, unsigned int id);
bool cpwWindowMouseDragCallback(pCpw cpw, CpwMouseDragCallback cb, unsigned int id);
bool cpwWindowMouseMoveCallback(pCpw cpw, CpwMouseMoveCallback cb, unsigned int id);
bool cpwWindowMouseEntryCallback(pCpw cpw, CpwMouseEntryCallback cb, unsigned int id);

// ---- main loop, events and timers -----------------------------------------------
bool cpwMainLoop(pCpw cpw);
bool cpwBreakMainLoop(pCpw cpw);
bool cpwMainLoopIsRunning(pCpw cpw);
bool cpwMainLoopUpdate(pCpw cpw, unsigned int turns);
bool cpwMainLoopCallback(pCpw cpw, CpwMainLoopCallback cb, unsigned int turns);
bool cpwIdleCallback(pCpw cpw, CpwIdleCallback cb);
bool cpwPostRedisplay(pCpw cpw);
bool cpwPostWindowRedisplay(pCpw cpw, unsigned int id);
bool cpwFilterEvent(pCpw cpw, unsigned int type, bool flag);  // result: previous flag
bool cpwTimerCallback(pCpw cpw, unsigned int milliseconds, unsigned int timerid, bool repeat, CpwTimerCallback cb);
bool cpwKillTimer(pCpw cpw, unsigned int timerid);

// Queue inspection.
unsigned int cpwNextEvent(pCpw cpw);                    // type of the next pending event, 0 if none
unsigned int cpwNextWindowEvent(pCpw cpw, unsigned int id);
bool cpwClearEvents(pCpw cpw);
bool cpwClearEvent(pCpw cpw, unsigned int type);
bool cpwClearWindowEvents(pCpw cpw, unsigned int id);
bool cpwClearWindowEvent(pCpw cpw, unsigned int type, unsigned int id);
bool cpwPopEvent(pCpw cpw);
unsigned int cpwStackDepth(pCpw cpw);

// ---- keyboard: key records, key state, translation, names -------------------
// The keys of the context's windows as Windows' low-level keyboard hook sees
// them, on every host: a record per press and release, with the Windows
// virtual key and the PC scan code (set 1) of the key on the active layout.

// Low-level key record handed to an installed key hook.
struct CpwKeyRecord {
  unsigned int vk;        // Windows virtual-key code
  unsigned int scancode;  // PC scan code (set 1), without the extended flag
  // CPW_KEYREC_EXTENDED: an E0 key (arrows, Right Ctrl, Right Alt, Num
  // Enter, ...) and, as Windows' hook reports it, the right Shift key.
  // CPW_KEYREC_ALTDOWN: Alt (either side, AltGr too) is down after the
  // key: set on the Alt press and on keys while it is held, clear on the
  // Alt release.
  unsigned int flags;
  bool up;                // true for a release
  unsigned long time;     // host time stamp, milliseconds
};
enum : unsigned { CPW_KEYREC_EXTENDED = 0x1, CPW_KEYREC_ALTDOWN = 0x20 };
// Returns true when it consumed the key (no toolkit key event follows).
typedef bool (*CpwKeyHook)(pCpw cpw, const CpwKeyRecord* key);

// Installs the hook (a null one removes it); false when the host cannot
// deliver key records. The key state is up to date for the record's key
// when the hook is called. AltGr arrives as Windows sends it: a left Ctrl
// record (vk 0xA2, scan 0x1D) just before the right Alt one (0xA5, 0x38,
// extended), in both directions, and Ctrl and Alt stay down while it is
// held; a right Alt that is a plain Alt (US) comes alone.
bool cpwSetKeyHook(pCpw cpw, CpwKeyHook hook);
// Every virtual key's state, as GetKeyboardState gives it: bit 0x80 down,
// bit 0x01 toggled (Caps Lock, Num Lock, Scroll Lock). The generic Shift,
// Control and Alt keys (16, 17, 18) are down while either side (0xA0 to
// 0xA5) is. Kept from the keys of the context's windows (resynchronised
// when a window gets the focus or the pointer); mouse buttons are not in it.
bool cpwGetKeyboardState(pCpw cpw, unsigned char state[256]);
// Whether the virtual key is down (GetKeyState's high bit).
bool cpwKeyDown(pCpw cpw, unsigned int vk);
// The character that the key (virtual key and scan code) gives with the
// state on the active layout, in Windows-1252, as ToAscii does: 1 and the
// character, or 0 for none (dead keys, keys without a character). Ctrl with
// a letter gives its control character (Ctrl+C gives 3); Backspace, Tab,
// Enter and Escape give 8, 9, 13 and 27. Ctrl+Alt (either sides) is AltGr:
// the key's AltGr character, or none where the key has no AltGr level (and
// always none on a US layout); Alt alone changes nothing. The key is found
// by the scan code (256 added for an extended key), else by `vk`.
int cpwToAscii(pCpw cpw, unsigned int vk, unsigned int scancode, const unsigned char state[256], unsigned char* ch);
// The key that gives the Windows-1252 character `ch` on the active layout,
// as VkKeyScanA: virtual key in the low byte, 0x100 Shift, 0x200 Ctrl,
// 0x400 Alt (AltGr characters carry 0x600); -1 when no key gives it. The
// fewest modifiers win; control characters give Ctrl+letter (3: 0x243).
int cpwVkKeyScan(pCpw cpw, unsigned char ch);
// The name Windows gives a key on a US keyboard, by scan code (256 added
// for an extended key): "Esc", "F5", "Num Lock", "Right"; at most size - 1
// bytes and a NUL; the name's length, 0 when the key has none. Needs no
// context.
int cpwGetKeyName(unsigned int scancode, char* name, int size);

// ---- clipboard -------------------------------------------------------------
// Text on the system clipboard, in UTF-8. The program stays the owner of
// what it put there while its main loop runs (or cpwServeClipboard is
// called), so that other programs can paste it.
bool cpwSetClipboardText(pCpw cpw, const char* text);
// The clipboard's text, at most size - 1 bytes (whole UTF-8 characters)
// and a NUL; false (and an empty text) when it holds no text or its owner
// does not answer within about a second. Other events stay queued meanwhile.
bool cpwGetClipboardText(pCpw cpw, char* text, int size);
// Answers other programs' clipboard requests, and nothing else, while the
// main loop cannot run (a modal child process is being waited for).
void cpwServeClipboard(pCpw cpw);

// ---- fonts -----------------------------------------------------------------
struct FT_FaceRec_;
typedef FT_FaceRec_* CpwFontFace;  // a FreeType face

enum : int {
  CPW_FONTOPT_MODE1 = 1,
  CPW_FONTOPT_ALIGNRIGHT = 10,
  CPW_FONTOPT_ALIGNLEFT = 11,
  CPW_FONTOPT_VERTICAL_DOWN = 12,
  CPW_FONTOPT_VERTICAL_UP = 13,
  CPW_FONTOPT_ALIGNCENTER = 14,
  CPW_FONTOPT_SIZE = 20,
  CPW_FONTOPT_GETSIZE = 21,
  CPW_FONTOPT_KERNING = 22,
  CPW_FONTOPT_SPACING = 23,
  CPW_FONTOPT_PIXELMAP_GLFORMAT = 26,
  CPW_FONTOPT_PIXELMAP_OUTLINE = 27,
};
enum : int { CPW_FONTLOC_HOST = 1, CPW_FONTLOC_RELATIVE = 2 };
enum : int { CPW_DRAWFONT_PIXELS = 1 };

struct CpwFontBBox {
  std::int32_t width;    // sum of the advances
  std::int32_t height;   // tallest glyph
  std::int32_t offsetx;  // always 0
  std::int32_t offsety;  // deepest extent below the baseline
};

CpwFontFace cpwLoadFont(pCpw cpw, const char* name, int location, const char* folder);
bool cpwUnloadFont(pCpw cpw, CpwFontFace face);
int cpwFontMode(pCpw cpw, int mode, int value);
bool cpwGetFontBBox(pCpw cpw, CpwFontFace face, const char* text, CpwFontBBox* bbox);
bool cpwDrawFont(pCpw cpw, CpwFontFace face, const char* text, int drawmode);
