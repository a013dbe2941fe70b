// X11 keys as the Windows keyboard reports them: virtual key, PC scan code
// (set 1) and the extended-key flag.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "toolkit/host/cpw_host.h"

namespace {

struct KeyInfo {
  KeySym sym;
  unsigned vk;
  unsigned scan;  // 0: the key's own code (X keycode - 8 for the PC keys)
  bool extended;
};

const KeyInfo keys[] = {
    {XK_Left, 0x25, 0x4B, true},      {XK_Up, 0x26, 0x48, true},        {XK_Right, 0x27, 0x4D, true},
    {XK_Down, 0x28, 0x50, true},      {XK_Prior, 0x21, 0x49, true},     {XK_Next, 0x22, 0x51, true},
    {XK_Home, 0x24, 0x47, true},      {XK_End, 0x23, 0x4F, true},       {XK_Insert, 0x2D, 0x52, true},
    {XK_Delete, 0x2E, 0x53, true},    {XK_Caps_Lock, 0x14, 0, false},   {XK_Shift_L, 0xA0, 0, false},
    {XK_Shift_R, 0xA1, 0, false},     {XK_Control_L, 0xA2, 0, false},   {XK_Control_R, 0xA3, 0x1D, true},
    {XK_Alt_L, 0xA4, 0, false},       {XK_Alt_R, 0xA5, 0x38, true},     {XK_ISO_Level3_Shift, 0xA5, 0x38, true},
    {XK_Escape, 0x1B, 0, false},      {XK_Tab, 0x09, 0, false},         {XK_ISO_Left_Tab, 0x09, 0, false},
    {XK_BackSpace, 0x08, 0, false},   {XK_Return, 0x0D, 0, false},      {XK_KP_Enter, 0x0D, 0x1C, true},
    {XK_KP_Multiply, 0x6A, 0, false}, {XK_KP_Add, 0x6B, 0, false},      {XK_KP_Separator, 0x6C, 0, false},
    {XK_KP_Subtract, 0x6D, 0, false}, {XK_KP_Decimal, 0x6E, 0, false},  {XK_KP_Divide, 0x6F, 0x35, true},
    {XK_Num_Lock, 0x90, 0x45, true},  {XK_Print, 0x2C, 0x37, true},     {XK_Scroll_Lock, 0x91, 0, false},
    {XK_Pause, 0x13, 0x45, false},    {XK_space, 0x20, 0, false},       {XK_minus, 0xBD, 0, false},
    {XK_equal, 0xBB, 0, false},       {XK_bracketleft, 0xDB, 0, false}, {XK_bracketright, 0xDD, 0, false},
    {XK_semicolon, 0xBA, 0, false},   {XK_grave, 0xC0, 0, false},       {XK_apostrophe, 0xDE, 0, false},
    {XK_comma, 0xBC, 0, false},       {XK_period, 0xBE, 0, false},      {XK_slash, 0xBF, 0, false},
    {XK_backslash, 0xDC, 0, false},   {XK_Super_L, 0x5B, 0x5B, true},   {XK_Super_R, 0x5C, 0x5C, true},
    {XK_Menu, 0x5D, 0x5D, true},
    // The numeric pad with num lock off gives the navigation keys, not extended.
    {XK_KP_Home, 0x24, 0, false},     {XK_KP_Up, 0x26, 0, false},       {XK_KP_Prior, 0x21, 0, false},
    {XK_KP_Left, 0x25, 0, false},     {XK_KP_Begin, 0x0C, 0, false},    {XK_KP_Right, 0x27, 0, false},
    {XK_KP_End, 0x23, 0, false},      {XK_KP_Down, 0x28, 0, false},     {XK_KP_Next, 0x22, 0, false},
    {XK_KP_Insert, 0x2D, 0, false},   {XK_KP_Delete, 0x2E, 0, false},
};

}  // namespace

// Translates a key event; false for keys without a virtual key.
bool cpw_x11_translatekey(XKeyEvent* ev, unsigned* vk, unsigned* scan, unsigned* flags) {
  KeySym sym = XLookupKeysym(ev, 0);
  // With num lock on, the numeric pad gives its digits.
  KeySym second = XLookupKeysym(ev, 1);
  if ((ev->state & Mod2Mask) && IsKeypadKey(second)) sym = second;
  *scan = ev->keycode >= 8 && ev->keycode - 8 < 0x59 ? ev->keycode - 8 : 0;
  *flags = 0;
  *vk = 0;
  if (sym >= XK_a && sym <= XK_z) *vk = unsigned('A' + (sym - XK_a));
  else if (sym >= XK_A && sym <= XK_Z) *vk = unsigned(sym);
  else if (sym >= XK_0 && sym <= XK_9) *vk = unsigned(sym);
  else if (sym >= XK_KP_0 && sym <= XK_KP_9) *vk = unsigned(0x60 + (sym - XK_KP_0));
  else if (sym >= XK_F1 && sym <= XK_F12) *vk = unsigned(0x70 + (sym - XK_F1));
  else {
    for (const KeyInfo& k : keys) {
      if (k.sym != sym) continue;
      *vk = k.vk;
      if (k.scan) *scan = k.scan;
      if (k.extended) *flags |= CPW_KEYREC_EXTENDED;
      break;
    }
  }
  return *vk != 0;
}
