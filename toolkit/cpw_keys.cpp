// Keys: Windows virtual keys to toolkit key codes, and key codes back to the
// characters of a US keyboard.
#include "toolkit/cpw.h"

namespace {

struct VkCode {
  unsigned vk;
  unsigned code;
};

// Keys that give system keyboard events.
const VkCode special_keys[] = {
    {0x25, CPW_KEY_LEFT},     {0x26, CPW_KEY_UP},       {0x27, CPW_KEY_RIGHT},     {0x28, CPW_KEY_DOWN},
    {0x21, CPW_KEY_PAGEUP},   {0x22, CPW_KEY_PAGEDOWN}, {0x24, CPW_KEY_HOME},      {0x23, CPW_KEY_END},
    {0x2D, CPW_KEY_INSERT},   {0x2E, CPW_KEY_DELETE},   {0x14, CPW_KEY_CAPSLOCK},  {0x10, CPW_KEY_SHIFT},
    {0xA0, CPW_KEY_SHIFT},    {0xA1, CPW_KEY_SHIFT},    {0x11, CPW_KEY_CONTROL},   {0xA2, CPW_KEY_CONTROL},
    {0xA3, CPW_KEY_CONTROL},  {0x12, CPW_KEY_ALT},      {0xA4, CPW_KEY_ALT},       {0xA5, CPW_KEY_ALT},
    {0x1B, CPW_KEY_ESCAPE},   {0x09, CPW_KEY_TAB},      {0x08, CPW_KEY_BACKSPACE}, {0x0D, CPW_KEY_ENTER},
    {0x6A, CPW_KEY_MULTIPLY}, {0x6B, CPW_KEY_ADD},      {0x6C, CPW_KEY_SEPERATOR}, {0x6D, CPW_KEY_SUBTRACT},
    {0x6E, CPW_KEY_DECIMAL},  {0x6F, CPW_KEY_DIVIDE},   {0x90, CPW_KEY_NUMLOCK},   {0x2C, CPW_KEY_PRINTSCREEN},
    {0x2A, CPW_KEY_PRINTSCREEN}, {0x91, CPW_KEY_SCROLLLOCK}, {0x13, CPW_KEY_PAUSE},
};

const char punctuation[] = "-=[];`',./\\";        // codes 57 .. 67
const char punctuation_shifted[] = "_+{}:~\"<>?|";
const char digits_shifted[] = "!@#$%^&*()";        // codes 41 .. 50 (1 .. 9, 0)

}  // namespace

// Toolkit key code of a virtual key; false when the key has none.
bool cpw_keys_translate(unsigned int vk, unsigned int mapped, bool shift, bool capslock, unsigned int* code,
                        bool* shiftflag, bool* special) {
  *shiftflag = false;
  *special = false;
  if (vk >= 0x70 && vk <= 0x7B) {  // F1 .. F12
    *code = vk - 0x70 + CPW_KEY_F1;
    *special = true;
    return true;
  }
  for (const VkCode& k : special_keys) {
    if (k.vk != vk) continue;
    *code = k.code;
    *special = true;
    return true;
  }
  if (vk >= 0x60 && vk <= 0x69) {  // numeric pad digits: never shifted
    unsigned digit = vk - 0x60;
    *code = digit == 0 ? CPW_KEY_0 : CPW_KEY_1 + digit - 1;
    return true;
  }
  unsigned c = mapped;
  if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
  if (c >= 'A' && c <= 'Z') {
    *code = CPW_KEY_A + (c - 'A');
    *shiftflag = shift || capslock;
    return true;
  }
  *shiftflag = shift;
  if (c >= '1' && c <= '9') {
    *code = CPW_KEY_1 + (c - '1');
    return true;
  }
  if (c == '0') {
    *code = CPW_KEY_0;
    return true;
  }
  if (c == ' ') {
    *code = CPW_KEY_SPACE;
    return true;
  }
  for (unsigned i = 0; punctuation[i]; ++i) {
    if (unsigned(static_cast<unsigned char>(punctuation[i])) != c) continue;
    *code = CPW_KEY_MINUS + i;
    return true;
  }
  *shiftflag = false;
  return false;
}

// The character a keyboard event carries for a key code.
unsigned int cpw_keys_tochar(unsigned int code, bool shift) {
  if (code >= CPW_KEY_A && code <= CPW_KEY_Z) return (shift ? 'A' : 'a') + (code - CPW_KEY_A);
  if (code >= CPW_KEY_1 && code <= CPW_KEY_0) {
    unsigned i = code - CPW_KEY_1;
    return static_cast<unsigned char>(shift ? digits_shifted[i] : (i == 9 ? '0' : char('1' + i)));
  }
  if (code >= CPW_KEY_MINUS && code <= CPW_KEY_BACKSLASH) {
    unsigned i = code - CPW_KEY_MINUS;
    return static_cast<unsigned char>(shift ? punctuation_shifted[i] : punctuation[i]);
  }
  if (code == CPW_KEY_SPACE) return ' ';
  return 0;
}

unsigned int cpw_keys_uschar(unsigned int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
  if (vk >= 0x60 && vk <= 0x69) return '0' + (vk - 0x60);
  switch (vk) {
    case 0x20: return ' ';
    case 0xBA: return ';';
    case 0xBB: return '=';
    case 0xBC: return ',';
    case 0xBD: return '-';
    case 0xBE: return '.';
    case 0xBF: return '/';
    case 0xC0: return '`';
    case 0xDB: return '[';
    case 0xDC: return '\\';
    case 0xDD: return ']';
    case 0xDE: return '\'';
    case 0xE2: return '\\';
    case 0x6A: return '*';
    case 0x6B: return '+';
    case 0x6D: return '-';
    case 0x6E: return '.';
    case 0x6F: return '/';
    case 0x0D: return '\r';
    case 0x08: return '\b';
    case 0x09: return '\t';
    case 0x1B: return 0x1B;
    default: return 0;
  }
}

// ---- US keyboard positions, Windows-1252 ------------------------------------------

namespace {

struct UsKey {
  unsigned vk;
  unsigned scan;
  bool extended;
};

// Virtual keys of a US keyboard and the scan codes (set 1) Windows reports
// for them in a low-level key record. The right Shift key is flagged
// extended, as the low-level hook reports it.
const UsKey us_keys[] = {
    {0x1B, 0x01, false}, {0x31, 0x02, false}, {0x32, 0x03, false}, {0x33, 0x04, false}, {0x34, 0x05, false},
    {0x35, 0x06, false}, {0x36, 0x07, false}, {0x37, 0x08, false}, {0x38, 0x09, false}, {0x39, 0x0A, false},
    {0x30, 0x0B, false}, {0xBD, 0x0C, false}, {0xBB, 0x0D, false}, {0x08, 0x0E, false}, {0x09, 0x0F, false},
    {'Q', 0x10, false},  {'W', 0x11, false},  {'E', 0x12, false},  {'R', 0x13, false},  {'T', 0x14, false},
    {'Y', 0x15, false},  {'U', 0x16, false},  {'I', 0x17, false},  {'O', 0x18, false},  {'P', 0x19, false},
    {0xDB, 0x1A, false}, {0xDD, 0x1B, false}, {0x0D, 0x1C, false}, {0xA2, 0x1D, false}, {'A', 0x1E, false},
    {'S', 0x1F, false},  {'D', 0x20, false},  {'F', 0x21, false},  {'G', 0x22, false},  {'H', 0x23, false},
    {'J', 0x24, false},  {'K', 0x25, false},  {'L', 0x26, false},  {0xBA, 0x27, false}, {0xDE, 0x28, false},
    {0xC0, 0x29, false}, {0xA0, 0x2A, false}, {0xDC, 0x2B, false}, {'Z', 0x2C, false},  {'X', 0x2D, false},
    {'C', 0x2E, false},  {'V', 0x2F, false},  {'B', 0x30, false},  {'N', 0x31, false},  {'M', 0x32, false},
    {0xBC, 0x33, false}, {0xBE, 0x34, false}, {0xBF, 0x35, false}, {0xA1, 0x36, true},  {0x6A, 0x37, false},
    {0xA4, 0x38, false}, {0x20, 0x39, false}, {0x14, 0x3A, false}, {0x70, 0x3B, false}, {0x71, 0x3C, false},
    {0x72, 0x3D, false}, {0x73, 0x3E, false}, {0x74, 0x3F, false}, {0x75, 0x40, false}, {0x76, 0x41, false},
    {0x77, 0x42, false}, {0x78, 0x43, false}, {0x79, 0x44, false}, {0x13, 0x45, false}, {0x91, 0x46, false},
    {0x67, 0x47, false}, {0x68, 0x48, false}, {0x69, 0x49, false}, {0x6D, 0x4A, false}, {0x64, 0x4B, false},
    {0x65, 0x4C, false}, {0x66, 0x4D, false}, {0x6B, 0x4E, false}, {0x61, 0x4F, false}, {0x62, 0x50, false},
    {0x63, 0x51, false}, {0x60, 0x52, false}, {0x6E, 0x53, false}, {0xE2, 0x56, false}, {0x7A, 0x57, false},
    {0x7B, 0x58, false}, {0x0C, 0x4C, false},
    {0x7C, 0x64, false}, {0x7D, 0x65, false}, {0x7E, 0x66, false}, {0x7F, 0x67, false}, {0x80, 0x68, false},
    {0x81, 0x69, false}, {0x82, 0x6A, false}, {0x83, 0x6B, false}, {0x84, 0x6C, false}, {0x85, 0x6D, false},
    {0x86, 0x6E, false}, {0x87, 0x76, false},
    // Extended keys.
    {0xA3, 0x1D, true},  {0x6F, 0x35, true},  {0x2C, 0x37, true},  {0xA5, 0x38, true},  {0x90, 0x45, true},
    {0x03, 0x46, true},  {0x24, 0x47, true},  {0x26, 0x48, true},  {0x21, 0x49, true},  {0x25, 0x4B, true},
    {0x27, 0x4D, true},  {0x23, 0x4F, true},  {0x28, 0x50, true},  {0x22, 0x51, true},  {0x2D, 0x52, true},
    {0x2E, 0x53, true},  {0x5B, 0x5B, true},  {0x5C, 0x5C, true},  {0x5D, 0x5D, true},
};

// Windows-1252 0x80 .. 0x9F by Unicode code point (0: unassigned).
const unsigned cp1252_high[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

bool cpw_keys_usscan(unsigned int vk, unsigned int* scan, bool* extended) {
  // The generic modifier keys stand for their left side.
  if (vk == 0x10) vk = 0xA0;
  if (vk == 0x11) vk = 0xA2;
  if (vk == 0x12) vk = 0xA4;
  for (const UsKey& k : us_keys) {
    if (k.vk != vk) continue;
    *scan = k.scan;
    *extended = k.extended;
    return true;
  }
  *scan = 0;
  *extended = false;
  return false;
}

unsigned int cpw_keys_usvk(unsigned int scan, bool extended) {
  for (const UsKey& k : us_keys) {
    // The right Shift key is found without the flag too: it is not extended
    // in the key's position, only in the hook's record.
    if (k.scan == scan && (k.extended == extended || k.vk == 0xA1) && k.vk != 0x0C) return k.vk;
  }
  return 0;
}

int cpw_keys_cp1252(unsigned int unicode) {
  if ((unicode >= 0x20 && unicode < 0x7F) || (unicode >= 0xA0 && unicode <= 0xFF)) return int(unicode);
  if (unicode == 0) return -1;
  for (unsigned i = 0; i < 32; ++i)
    if (cp1252_high[i] == unicode) return int(0x80 + i);
  return -1;
}

unsigned int cpw_keys_cp1252_unicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return cp1252_high[c - 0x80];
  return c;
}
