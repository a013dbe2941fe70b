// The program's texts are single bytes of the Windows code page
// (Windows-1252); the Linux host (file names in a Wine prefix, zenity) wants
// UTF-8. These convert between the two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

std::string cp1252_to_utf8(std::string_view s);
// Characters without a single-byte form become "?".
std::string utf8_to_cp1252(std::string_view s);
char code_point_to_cp1252(unsigned cp);
// The code point of the UTF-8 sequence at s[i], moving i past it; a malformed
// byte stands for itself.
unsigned next_utf8_code_point(std::string_view s, std::size_t& i);
