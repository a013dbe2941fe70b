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
