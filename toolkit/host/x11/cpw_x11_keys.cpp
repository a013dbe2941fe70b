// X11 keys as the Windows keyboard reports them on the same layout.
//
// Every keycode gets its PC scan code from its XKB key name (the physical
// position), and a virtual key from what it carries on the active group:
// function keys by their keysym, letters by the layout's letter, the keys
// carrying a digit as VK_0..VK_9, the other character keys an OEM virtual
// key (VK_OEM_PLUS, _COMMA, _MINUS, _PERIOD where the key carries that
// character, else the OEM key of its US position, else a spare OEM code), so
// that no two keys share a virtual key and the reverse lookup of any
// character a key gives finds that key.
// The publishing and technical keysyms hold some of Windows-1252's characters.
#define XK_PUBLISHING
#define XK_TECHNICAL
#include <X11/keysym.h>

#include "toolkit/host/x11/cpw_x11_keys.h"

#include <X11/Xutil.h>

#include <cstring>

#include "toolkit/host/cpw_host.h"

namespace {

enum : unsigned { VK_LCONTROL = 0xA2, VK_RMENU = 0xA5 };

struct PcKey {
  const char* name;  // XKB key name
  unsigned scan;
  bool extended;
};

// PC scan codes by XKB key name.
const PcKey pc_keys[] = {
    {"ESC", 0x01, false},  {"AE01", 0x02, false}, {"AE02", 0x03, false}, {"AE03", 0x04, false},
    {"AE04", 0x05, false}, {"AE05", 0x06, false}, {"AE06", 0x07, false}, {"AE07", 0x08, false},
    {"AE08", 0x09, false}, {"AE09", 0x0A, false}, {"AE10", 0x0B, false}, {"AE11", 0x0C, false},
    {"AE12", 0x0D, false}, {"BKSP", 0x0E, false}, {"TAB", 0x0F, false},  {"AD01", 0x10, false},
    {"AD02", 0x11, false}, {"AD03", 0x12, false}, {"AD04", 0x13, false}, {"AD05", 0x14, false},
    {"AD06", 0x15, false}, {"AD07", 0x16, false}, {"AD08", 0x17, false}, {"AD09", 0x18, false},
    {"AD10", 0x19, false}, {"AD11", 0x1A, false}, {"AD12", 0x1B, false}, {"RTRN", 0x1C, false},
    {"LCTL", 0x1D, false}, {"AC01", 0x1E, false}, {"AC02", 0x1F, false}, {"AC03", 0x20, false},
    {"AC04", 0x21, false}, {"AC05", 0x22, false}, {"AC06", 0x23, false}, {"AC07", 0x24, false},
    {"AC08", 0x25, false}, {"AC09", 0x26, false}, {"AC10", 0x27, false}, {"AC11", 0x28, false},
    {"TLDE", 0x29, false}, {"LFSH", 0x2A, false}, {"BKSL", 0x2B, false}, {"AC12", 0x2B, false},
    {"AB01", 0x2C, false}, {"AB02", 0x2D, false}, {"AB03", 0x2E, false}, {"AB04", 0x2F, false},
    {"AB05", 0x30, false}, {"AB06", 0x31, false}, {"AB07", 0x32, false}, {"AB08", 0x33, false},
    {"AB09", 0x34, false}, {"AB10", 0x35, false}, {"RTSH", 0x36, false}, {"KPMU", 0x37, false},
    {"LALT", 0x38, false}, {"SPCE", 0x39, false}, {"CAPS", 0x3A, false}, {"FK01", 0x3B, false},
    {"FK02", 0x3C, false}, {"FK03", 0x3D, false}, {"FK04", 0x3E, false}, {"FK05", 0x3F, false},
    {"FK06", 0x40, false}, {"FK07", 0x41, false}, {"FK08", 0x42, false}, {"FK09", 0x43, false},
    {"FK10", 0x44, false}, {"PAUS", 0x45, false}, {"SCLK", 0x46, false}, {"KP7", 0x47, false},
    {"KP8", 0x48, false},  {"KP9", 0x49, false},  {"KPSU", 0x4A, false}, {"KP4", 0x4B, false},
    {"KP5", 0x4C, false},  {"KP6", 0x4D, false},  {"KPAD", 0x4E, false}, {"KP1", 0x4F, false},
    {"KP2", 0x50, false},  {"KP3", 0x51, false},  {"KP0", 0x52, false},  {"KPDL", 0x53, false},
    {"LSGT", 0x56, false}, {"FK11", 0x57, false}, {"FK12", 0x58, false}, {"FK13", 0x64, false},
    {"FK14", 0x65, false}, {"FK15", 0x66, false}, {"FK16", 0x67, false}, {"FK17", 0x68, false},
    {"FK18", 0x69, false}, {"FK19", 0x6A, false}, {"FK20", 0x6B, false}, {"FK21", 0x6C, false},
    {"FK22", 0x6D, false}, {"FK23", 0x6E, false}, {"FK24", 0x76, false}, {"AB11", 0x73, false},
    {"AE13", 0x7D, false}, {"KPEN", 0x1C, true},  {"RCTL", 0x1D, true},  {"KPDV", 0x35, true},
    {"PRSC", 0x37, true},  {"RALT", 0x38, true},  {"NMLK", 0x45, true},  {"HOME", 0x47, true},
    {"UP", 0x48, true},    {"PGUP", 0x49, true},  {"LEFT", 0x4B, true},  {"RGHT", 0x4D, true},
    {"END", 0x4F, true},   {"DOWN", 0x50, true},  {"PGDN", 0x51, true},  {"INS", 0x52, true},
    {"DELE", 0x53, true},  {"LWIN", 0x5B, true},  {"LMTA", 0x5B, true},  {"RWIN", 0x5C, true},
    {"RMTA", 0x5C, true},  {"COMP", 0x5D, true},  {"MENU", 0x5D, true},
};

struct SymVk {
  KeySym sym;
  unsigned vk;
};

// Keys that give no character, by their keysym.
const SymVk function_keys[] = {
    {XK_BackSpace, 0x08},  {XK_Tab, 0x09},        {XK_ISO_Left_Tab, 0x09}, {XK_Return, 0x0D},
    {XK_Pause, 0x13},      {XK_Break, 0x03},      {XK_Caps_Lock, 0x14},    {XK_Escape, 0x1B},
    {XK_space, 0x20},      {XK_Prior, 0x21},      {XK_Next, 0x22},         {XK_End, 0x23},
    {XK_Home, 0x24},       {XK_Left, 0x25},       {XK_Up, 0x26},           {XK_Right, 0x27},
    {XK_Down, 0x28},       {XK_Select, 0x29},     {XK_Print, 0x2C},        {XK_Sys_Req, 0x2C},
    {XK_Execute, 0x2B},    {XK_Insert, 0x2D},     {XK_Delete, 0x2E},       {XK_Help, 0x2F},
    {XK_Super_L, 0x5B},    {XK_Super_R, 0x5C},    {XK_Menu, 0x5D},         {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91}, {XK_Shift_L, 0xA0},   {XK_Shift_R, 0xA1},      {XK_Control_L, 0xA2},
    {XK_Control_R, 0xA3},  {XK_Alt_L, 0xA4},      {XK_Meta_L, 0xA4},       {XK_Alt_R, 0xA5},
    {XK_Meta_R, 0xA5},     {XK_Clear, 0x0C},
};

// The numeric pad, by the keysym of the level in use.
const SymVk keypad_keys[] = {
    {XK_KP_0, 0x60},        {XK_KP_1, 0x61},       {XK_KP_2, 0x62},      {XK_KP_3, 0x63},
    {XK_KP_4, 0x64},        {XK_KP_5, 0x65},       {XK_KP_6, 0x66},      {XK_KP_7, 0x67},
    {XK_KP_8, 0x68},        {XK_KP_9, 0x69},       {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C}, {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F},
    {XK_KP_Home, 0x24},     {XK_KP_Up, 0x26},      {XK_KP_Prior, 0x21},  {XK_KP_Left, 0x25},
    {XK_KP_Begin, 0x0C},    {XK_KP_Right, 0x27},   {XK_KP_End, 0x23},    {XK_KP_Down, 0x28},
    {XK_KP_Next, 0x22},     {XK_KP_Insert, 0x2D},  {XK_KP_Delete, 0x2E}, {XK_KP_Enter, 0x0D},
    {XK_KP_Equal, 0x92},    {XK_KP_Space, 0x20},   {XK_KP_Tab, 0x09},
};

// The OEM virtual keys Windows uses for character keys, and the spare ones
// given to keys whose own is taken.
const unsigned oem_keys[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xE2};
const unsigned spare_keys[] = {0xDF, 0xE2, 0xE1, 0xE3, 0xE4, 0xE6, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,
                               0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0,
                               0xDB, 0xDC, 0xDD, 0xDE, 0x92, 0x93, 0x94, 0x95, 0x96, 0xC1, 0xC2};

unsigned vk_of(const SymVk* table, std::size_t n, KeySym sym) {
  for (std::size_t i = 0; i < n; ++i)
    if (table[i].sym == sym) return table[i].vk;
  return 0;
}
unsigned function_vk(KeySym sym) { return vk_of(function_keys, sizeof function_keys / sizeof *function_keys, sym); }
unsigned keypad_vk(KeySym sym) { return vk_of(keypad_keys, sizeof keypad_keys / sizeof *keypad_keys, sym); }

bool is_charvk(unsigned vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return true;
  for (unsigned o : oem_keys)
    if (o == vk) return true;
  return false;
}

// A keysym that stands for a character or a dead key (not a function).
bool is_charsym(KeySym sym) {
  if (sym == NoSymbol) return false;
  if (sym >= 0x1000000 && sym <= 0x110FFFF) return true;
  if (sym >= 0xFE50 && sym <= 0xFEFF) return true;  // dead keys
  return sym >= 0x20 && sym < 0xFE00;
}

// The four modifier combinations of the reverse lookup and their shift
// state bits (0x100 Shift, 0x200 Ctrl, 0x400 Alt: AltGr is Ctrl+Alt).
struct Combo {
  bool shift, level3;
  int bits;
};
const Combo combos[] = {{false, false, 0}, {true, false, 0x100}, {false, true, 0x600}, {true, true, 0x700}};

}  // namespace

int cpw_x11_keysym_cp1252(KeySym sym) {
  unsigned u = 0;
  if ((sym >= 0x20 && sym < 0x7F) || (sym >= 0xA0 && sym <= 0xFF)) u = unsigned(sym);
  else if (sym >= 0x1000000 && sym <= 0x110FFFF) u = unsigned(sym - 0x1000000);
  else {
    static const struct {
      KeySym sym;
      unsigned u;
    } legacy[] = {
        {XK_EuroSign, 0x20AC},        {XK_Scaron, 0x0160},         {XK_scaron, 0x0161},
        {XK_Zcaron, 0x017D},          {XK_zcaron, 0x017E},         {XK_OE, 0x0152},
        {XK_oe, 0x0153},              {XK_Ydiaeresis, 0x0178},     {XK_function, 0x0192},
        {XK_emdash, 0x2014},          {XK_endash, 0x2013},         {XK_ellipsis, 0x2026},
        {XK_trademark, 0x2122},       {XK_leftsinglequotemark, 0x2018}, {XK_rightsinglequotemark, 0x2019},
        {XK_leftdoublequotemark, 0x201C}, {XK_rightdoublequotemark, 0x201D}, {XK_permille, 0x2030},
        {XK_enfilledcircbullet, 0x2022}, {XK_dagger, 0x2020},      {XK_doubledagger, 0x2021},
        {XK_singlelowquotemark, 0x201A}, {XK_doublelowquotemark, 0x201E},
    };
    for (const auto& l : legacy)
      if (l.sym == sym) u = l.u;
  }
  return u ? cpw_keys_cp1252(u) : -1;
}

X11Keyboard::X11Keyboard(Display* dpy) : dpy_(dpy) {
  XkbStateRec st;
  if (XkbGetState(dpy_, XkbUseCoreKbd, &st) == Success) group_ = st.group;
  reload();
}

X11Keyboard::~X11Keyboard() {
  if (xkb_) XkbFreeKeyboard(xkb_, 0, True);
}

void X11Keyboard::reload() {
  if (xkb_) XkbFreeKeyboard(xkb_, 0, True);
  xkb_ = XkbGetMap(dpy_, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd);
  if (xkb_ && XkbGetNames(dpy_, XkbKeyNamesMask, xkb_) != Success && xkb_->names)
    XkbFreeNames(xkb_, XkbKeyNamesMask, True);
  build();
}

void X11Keyboard::setgroup(int group) {
  if (group == group_) return;
  group_ = group;
  build();
}

int X11Keyboard::normalgroup(unsigned kc, int group) const {
  int n = XkbKeyNumGroups(xkb_, kc);
  if (n <= 0) return -1;
  if (group < n && group >= 0) return group;
  unsigned info = XkbKeyGroupInfo(xkb_, kc);
  switch (XkbOutOfRangeGroupAction(info)) {
    case XkbRedirectIntoRange: {
      int g = XkbOutOfRangeGroupNumber(info);
      return g < n ? g : 0;
    }
    case XkbClampIntoRange: return group < 0 ? 0 : n - 1;
    default: return ((group % n) + n) % n;
  }
}

KeySym X11Keyboard::keysym(unsigned kc, int group, unsigned mods, int* levelout) const {
  if (levelout) *levelout = -1;
  if (!xkb_ || kc < xkb_->min_key_code || kc > xkb_->max_key_code) return NoSymbol;
  int g = normalgroup(kc, group);
  if (g < 0) return NoSymbol;
  XkbKeyTypePtr type = XkbKeyKeyType(xkb_, kc, g);
  unsigned active = mods & type->mods.mask;
  int level = 0;
  unsigned preserved = 0;
  for (int i = 0; i < type->map_count; ++i) {
    const XkbKTMapEntryRec& e = type->map[i];
    if (e.active && e.mods.mask == active) {
      level = e.level;
      if (type->preserve) preserved = type->preserve[i].mask;
      break;
    }
  }
  if (level >= XkbKeyGroupWidth(xkb_, kc, g)) return NoSymbol;
  if (levelout) *levelout = level;
  KeySym sym = XkbKeySymEntry(xkb_, kc, level, g);
  // Caps Lock that the key's type does not use (or keeps) capitalises, as
  // Xlib does when it turns keys into text.
  unsigned consumed = type->mods.mask & ~preserved;
  if ((mods & LockMask) && !(consumed & LockMask)) {
    KeySym lower, upper;
    XConvertCase(sym, &lower, &upper);
    sym = upper;
  }
  return sym;
}

void X11Keyboard::build() {
  keys_.assign(256, Entry{});
  nummask_ = l3mask_ = 0;
  if (!xkb_) {
    build_reverse();
    return;
  }
  bool level3_keys = false;
  for (unsigned kc = xkb_->min_key_code; kc <= xkb_->max_key_code && kc < 256; ++kc) {
    int groups = XkbKeyNumGroups(xkb_, kc);
    for (int g = 0; g < groups; ++g)
      for (int l = 0; l < XkbKeyGroupWidth(xkb_, kc, g); ++l) {
        KeySym s = XkbKeySymEntry(xkb_, kc, l, g);
        unsigned modmap = xkb_->map->modmap ? xkb_->map->modmap[kc] : 0;
        if (s == XK_Num_Lock) nummask_ |= modmap;
        if (s == XK_ISO_Level3_Shift) {
          l3mask_ |= modmap;
          level3_keys = true;
        }
      }
  }
  if (!nummask_) nummask_ = Mod2Mask;
  if (level3_keys && !l3mask_) l3mask_ = Mod5Mask;

  for (unsigned kc = xkb_->min_key_code; kc <= xkb_->max_key_code && kc < 256; ++kc) {
    Entry& e = keys_[kc];
    bool have_names = xkb_->names && xkb_->names->keys;
    if (have_names) {
      const char* n = xkb_->names->keys[kc].name;
      for (const PcKey& p : pc_keys)
        if (std::strncmp(n, p.name, XkbKeyNameLength) == 0) {
          e.scan = p.scan;
          e.extended = p.extended;
          e.named = true;
          break;
        }
    } else if (kc >= 9 && kc - 8 <= 0x58) {  // evdev keycodes: the PC scan code plus 8
      e.scan = kc - 8;
      e.named = true;
    }
    KeySym base = keysym(kc, group_, 0);
    KeySym numlocked = keysym(kc, group_, nummask_);
    if (base == XK_ISO_Level3_Shift) {
      e.altgr = true;
      e.vk = VK_RMENU;
    } else if (IsKeypadKey(base) || IsKeypadKey(numlocked)) {
      e.keypad = true;
      e.vk = keypad_vk(numlocked) ? keypad_vk(numlocked) : keypad_vk(base);
    } else if (unsigned vk = function_vk(base)) {
      e.vk = vk;
    } else {
      for (const Combo& c : combos)
        if (is_charsym(keysym(kc, group_, (c.shift ? ShiftMask : 0) | (c.level3 ? l3mask_ : 0)))) e.character = true;
      // A key carrying no symbol keeps its US virtual key.
      if (!e.character && e.named) e.vk = cpw_keys_usvk(e.scan, e.extended);
    }
  }
  assign_characters();
  build_reverse();
}

void X11Keyboard::assign_characters() {
  bool taken[256] = {};
  // Keys with a PC position first, then the ones without (such as the
  // spare keycodes that tools remap to type a missing character).
  std::vector<unsigned> order;
  for (int pass = 0; pass < 2; ++pass)
    for (unsigned kc = 0; kc < keys_.size(); ++kc)
      if (keys_[kc].character && keys_[kc].named == (pass == 0)) order.push_back(kc);
  auto give = [&](unsigned kc, unsigned vk) {
    keys_[kc].vk = vk;
    taken[vk] = true;
  };
  auto sym = [&](unsigned kc, bool shift) { return keysym(kc, group_, shift ? ShiftMask : 0); };

  // Letters by the layout's letter.
  for (unsigned kc : order) {
    KeySym s = sym(kc, false);
    unsigned vk = s >= XK_a && s <= XK_z ? unsigned('A' + (s - XK_a)) : s >= XK_A && s <= XK_Z ? unsigned(s) : 0;
    if (vk && !taken[vk]) give(kc, vk);
  }
  // Keys carrying a digit on their first two levels: the digit keys.
  for (unsigned kc : order) {
    if (keys_[kc].vk) continue;
    for (bool shift : {false, true}) {
      KeySym s = sym(kc, shift);
      if (s >= XK_0 && s <= XK_9 && !taken[s]) {
        give(kc, unsigned(s));
        break;
      }
    }
  }
  // The keys carrying + , - . have their own OEM keys: the keys carrying
  // them unshifted first, then shifted, preferring the key at the OEM key's
  // US position.
  static const struct {
    KeySym sym;
    unsigned vk;
  } named_oem[] = {{XK_plus, 0xBB}, {XK_comma, 0xBC}, {XK_minus, 0xBD}, {XK_period, 0xBE}};
  for (bool shift : {false, true}) {
    for (const auto& o : named_oem) {
      if (taken[o.vk]) continue;
      unsigned chosen = 0;
      for (unsigned kc : order) {
        if (keys_[kc].vk || sym(kc, shift) != o.sym) continue;
        if (!chosen || cpw_keys_usvk(keys_[kc].scan, keys_[kc].extended) == o.vk) chosen = kc;
      }
      if (chosen) give(chosen, o.vk);
    }
  }
  // The others: the virtual key of their US position, else a spare one.
  for (unsigned kc : order) {
    if (keys_[kc].vk) continue;
    unsigned vk = keys_[kc].named ? cpw_keys_usvk(keys_[kc].scan, keys_[kc].extended) : 0;
    if (vk && is_charvk(vk) && !taken[vk]) give(kc, vk);
  }
  for (unsigned kc : order) {
    if (keys_[kc].vk) continue;
    for (unsigned s : spare_keys)
      if (!taken[s]) {
        give(kc, s);
        break;
      }
  }
}

void X11Keyboard::build_reverse() {
  for (int& v : vkscan_) v = -1;
  if (!xkb_) return;
  // Fewest modifiers first: the unshifted character of a key wins over the
  // same character shifted on another.
  for (const Combo& c : combos) {
    unsigned mods = (c.shift ? ShiftMask : 0) | (c.level3 ? l3mask_ : 0);
    if (c.level3 && !l3mask_) continue;
    for (unsigned kc = 0; kc < keys_.size(); ++kc) {
      const Entry& e = keys_[kc];
      if (!e.vk || !(e.character || e.vk == 0x20)) continue;
      int level = -1, plain = -1;
      KeySym s = keysym(kc, group_, mods, &level);
      // AltGr counts only where it selects a level of its own.
      if (c.level3) {
        keysym(kc, group_, c.shift ? ShiftMask : 0, &plain);
        if (level == plain) continue;
      }
      int ch = cpw_x11_keysym_cp1252(s);
      if (ch >= 0 && vkscan_[ch] < 0) vkscan_[ch] = int(e.vk) | c.bits;
    }
  }
  // Ctrl with a letter gives its control character; and the keys of
  // Backspace, Tab, Enter and Escape.
  for (unsigned kc = 0; kc < keys_.size(); ++kc) {
    unsigned vk = keys_[kc].vk;
    if (vk >= 'A' && vk <= 'Z' && vkscan_[vk - 0x40] < 0) vkscan_[vk - 0x40] = int(vk) | 0x200;
  }
  for (unsigned vk : {0x08u, 0x09u, 0x0Du, 0x1Bu})
    for (unsigned kc = 0; kc < keys_.size(); ++kc)
      if (keys_[kc].vk == vk && !keys_[kc].keypad) {
        vkscan_[vk] = int(vk);
        break;
      }
}

X11Key X11Keyboard::key(unsigned keycode, unsigned state) const {
  X11Key k{0, 0, false, false};
  if (keycode >= keys_.size()) return k;
  const Entry& e = keys_[keycode];
  k.scan = e.scan;
  k.extended = e.extended;
  k.altgr = e.altgr;
  k.vk = e.vk;
  if (e.keypad) {
    unsigned vk = keypad_vk(keysym(keycode, group_, state & (ShiftMask | nummask_)));
    if (vk) k.vk = vk;
    // Without Num Lock the pad's navigation keys are the ones that are not
    // extended; the Enter and / keys are extended always.
  }
  return k;
}

unsigned X11Keyboard::keycode_of(unsigned vk, unsigned scancode) const {
  unsigned scan = scancode & 0xFF;
  bool extended = scancode & 0x100;
  if (scan) {
    for (unsigned kc = 0; kc < keys_.size(); ++kc)
      if (keys_[kc].named && keys_[kc].scan == scan && keys_[kc].extended == extended) return kc;
  }
  for (unsigned kc = 0; kc < keys_.size(); ++kc)
    if (keys_[kc].vk == vk && !keys_[kc].keypad) return kc;
  for (unsigned kc = 0; kc < keys_.size(); ++kc)
    if (keys_[kc].keypad && keypad_vk(keysym(kc, group_, nummask_)) == vk) return kc;
  return 0;
}

int X11Keyboard::toascii(unsigned vk, unsigned scancode, const unsigned char state[256]) const {
  unsigned kc = keycode_of(vk, scancode);
  if (!kc || !xkb_) return -1;
  bool ctrl = cpw_keystate_control(state), alt = cpw_keystate_alt(state);
  unsigned mods = 0;
  if (cpw_keystate_shift(state)) mods |= ShiftMask;
  if (state[0x14] & 0x01) mods |= LockMask;
  if (state[0x90] & 0x01) mods |= nummask_;
  bool altgr = ctrl && alt;
  if (altgr) {
    // Ctrl+Alt is AltGr: it gives the key's AltGr level, or nothing.
    if (!l3mask_) return -1;
    int with = -1, without = -1;
    keysym(kc, group_, mods | l3mask_, &with);
    keysym(kc, group_, mods, &without);
    if (with == without) return -1;
    mods |= l3mask_;
  }
  KeySym sym = keysym(kc, group_, mods);
  switch (sym) {
    case XK_BackSpace: return ctrl && !altgr ? 0x7F : 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_KP_Tab: return ctrl && !altgr ? -1 : 0x09;
    case XK_Return:
    case XK_KP_Enter: return ctrl && !altgr ? 0x0A : 0x0D;
    case XK_Escape: return 0x1B;
    default: break;
  }
  if (ctrl && !altgr) {
    if (vk >= 'A' && vk <= 'Z') return int(vk - 0x40);
    KeySym plain = keysym(kc, group_, 0);
    if (plain == XK_bracketleft) return 0x1B;
    if (plain == XK_backslash) return 0x1C;
    if (plain == XK_bracketright) return 0x1D;
    if (plain == XK_space) return 0x20;
    return -1;
  }
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return int('0' + (sym - XK_KP_0));
  switch (sym) {
    case XK_KP_Space: return ' ';
    case XK_KP_Multiply: return '*';
    case XK_KP_Add: return '+';
    case XK_KP_Separator: return ',';
    case XK_KP_Subtract: return '-';
    case XK_KP_Decimal: return '.';
    case XK_KP_Divide: return '/';
    case XK_KP_Equal: return '=';
    default: break;
  }
  return cpw_x11_keysym_cp1252(sym);
}
