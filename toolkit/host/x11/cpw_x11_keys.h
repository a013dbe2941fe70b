// The X keyboard as Windows reports it: every key's virtual key and PC scan
// code on the active layout group, the characters its levels give in
// Windows-1252, and the reverse lookup from a character to its key.
#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <vector>

struct X11Key {
  unsigned vk;      // Windows virtual key; 0 when the key has none
  unsigned scan;    // PC scan code (set 1), 0 for keys without a PC position
  bool extended;    // the scan code is an E0 one
  bool altgr;       // the key is AltGr (ISO_Level3_Shift)
};

class X11Keyboard {
 public:
  explicit X11Keyboard(Display* dpy);
  ~X11Keyboard();
  X11Keyboard(const X11Keyboard&) = delete;
  X11Keyboard& operator=(const X11Keyboard&) = delete;

  // The keyboard mapping changed: fetch it again and rebuild the keys.
  void reload();
  // The active layout group; the keys are rebuilt when it changes.
  void setgroup(int group);
  int group() const { return group_; }

  // A key event's key: the keycode with the event's modifier state (which
  // selects the numeric pad's digits or navigation keys).
  X11Key key(unsigned keycode, unsigned state) const;
  // The character a key gives with a Windows key state, as ToAscii does;
  // -1 for none. The key is found by scan code (0x100 added for an
  // extended one), else by virtual key.
  int toascii(unsigned vk, unsigned scancode, const unsigned char keystate[256]) const;
  // VkKeyScanA: the key and shift state giving a Windows-1252 character.
  int vkkeyscan(unsigned char ch) const { return vkscan_[ch]; }

  unsigned numlockmask() const { return nummask_; }
  unsigned level3mask() const { return l3mask_; }

 private:
  struct Entry {
    unsigned vk = 0;
    unsigned scan = 0;
    bool extended = false;
    bool keypad = false;     // vk follows the level (Num Lock)
    bool altgr = false;
    bool character = false;  // gives characters: letters, digits, OEM keys
    bool named = false;      // has a PC position
  };

  void build();
  void assign_characters();
  void build_reverse();
  int normalgroup(unsigned keycode, int group) const;
  // The keysym of a key at a modifier state; `level` gets the level index.
  KeySym keysym(unsigned keycode, int group, unsigned mods, int* level = nullptr) const;
  unsigned keycode_of(unsigned vk, unsigned scancode) const;

  Display* dpy_;
  XkbDescPtr xkb_ = nullptr;
  int group_ = 0;
  unsigned nummask_ = 0, l3mask_ = 0;
  std::vector<Entry> keys_;  // by keycode
  int vkscan_[256];
};

// Windows-1252 code of a keysym, -1 for none (dead keys, functions, and
// characters that the code page lacks).
int cpw_x11_keysym_cp1252(KeySym sym);
