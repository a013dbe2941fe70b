// Key names by scan code as Windows gives them on a US keyboard
// (GetKeyNameTextA), so that KEY boxes read the same on every platform.
// Letters and character keys are named by their US character, upper case.
#include <cstring>

#include "toolkit/cpw.h"

namespace {

struct KeyName {
  unsigned code;  // scan code, 0x100 added for an extended key
  const char* name;
};

const KeyName names[] = {
    {0x01, "Esc"},         {0x02, "1"},           {0x03, "2"},           {0x04, "3"},
    {0x05, "4"},           {0x06, "5"},           {0x07, "6"},           {0x08, "7"},
    {0x09, "8"},           {0x0A, "9"},           {0x0B, "0"},           {0x0C, "-"},
    {0x0D, "="},           {0x0E, "Backspace"},   {0x0F, "Tab"},         {0x10, "Q"},
    {0x11, "W"},           {0x12, "E"},           {0x13, "R"},           {0x14, "T"},
    {0x15, "Y"},           {0x16, "U"},           {0x17, "I"},           {0x18, "O"},
    {0x19, "P"},           {0x1A, "["},           {0x1B, "]"},           {0x1C, "Enter"},
    {0x1D, "Ctrl"},        {0x1E, "A"},           {0x1F, "S"},           {0x20, "D"},
    {0x21, "F"},           {0x22, "G"},           {0x23, "H"},           {0x24, "J"},
    {0x25, "K"},           {0x26, "L"},           {0x27, ";"},           {0x28, "'"},
    {0x29, "`"},           {0x2A, "Shift"},       {0x2B, "\\"},          {0x2C, "Z"},
    {0x2D, "X"},           {0x2E, "C"},           {0x2F, "V"},           {0x30, "B"},
    {0x31, "N"},           {0x32, "M"},           {0x33, ","},           {0x34, "."},
    {0x35, "/"},           {0x36, "Right Shift"}, {0x37, "Num *"},       {0x38, "Alt"},
    {0x39, "Space"},       {0x3A, "Caps Lock"},   {0x3B, "F1"},          {0x3C, "F2"},
    {0x3D, "F3"},          {0x3E, "F4"},          {0x3F, "F5"},          {0x40, "F6"},
    {0x41, "F7"},          {0x42, "F8"},          {0x43, "F9"},          {0x44, "F10"},
    {0x45, "Pause"},       {0x46, "Scroll Lock"}, {0x47, "Num 7"},       {0x48, "Num 8"},
    {0x49, "Num 9"},       {0x4A, "Num -"},       {0x4B, "Num 4"},       {0x4C, "Num 5"},
    {0x4D, "Num 6"},       {0x4E, "Num +"},       {0x4F, "Num 1"},       {0x50, "Num 2"},
    {0x51, "Num 3"},       {0x52, "Num 0"},       {0x53, "Num Del"},     {0x54, "Sys Req"},
    {0x56, "\\"},          {0x57, "F11"},         {0x58, "F12"},
    // F13 to F24 are named where Windows' US layout names them, not at the
    // scan codes the keys send (0x64 to 0x6E, 0x76), which have no name.
    {0x7C, "F13"},         {0x7D, "F14"},         {0x7E, "F15"},         {0x7F, "F16"},
    {0x80, "F17"},         {0x81, "F18"},         {0x82, "F19"},         {0x83, "F20"},
    {0x84, "F21"},         {0x85, "F22"},         {0x86, "F23"},         {0x87, "F24"},
    {0x11C, "Num Enter"},  {0x11D, "Right Ctrl"}, {0x135, "Num /"},      {0x137, "Prnt Scrn"},
    {0x138, "Right Alt"},  {0x145, "Num Lock"},   {0x146, "Break"},      {0x147, "Home"},
    {0x148, "Up"},         {0x149, "Page Up"},    {0x14B, "Left"},       {0x14D, "Right"},
    {0x14F, "End"},        {0x150, "Down"},       {0x151, "Page Down"},  {0x152, "Insert"},
    {0x153, "Delete"},     {0x15B, "Left Windows"}, {0x15C, "Right Windows"}, {0x15D, "Application"},
};

}  // namespace

int cpwGetKeyName(unsigned int scancode, char* name, int size) {
  if (!name || size <= 0) return 0;
  name[0] = '\0';
  for (const KeyName& k : names) {
    if (k.code != scancode) continue;
    std::size_t n = std::strlen(k.name);
    if (n > std::size_t(size - 1)) n = std::size_t(size - 1);
    std::memcpy(name, k.name, n);
    name[n] = '\0';
    return int(n);
  }
  return 0;
}
