// Fuzz target: any bytes as the texts the conversion routines read: key
// texts, free-format numbers, items of a line, key and value. What reads
// back is written again in its canonical text; a key code read from a text
// gives the same code when its own text is read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/convert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  int k = b2k(text);
  Field<64> key_text;
  int len = 0;
  k2b(k, key_text, len);
  int flags = 0, base = 0;
  split_key_code(k, flags, base);
  if (base != 0 && b2k(key_text.trimmed()) != k) std::abort();

  int i = 7;
  if (read_int(text, i)) {
    Field<16> t;
    i2b(i, t, len);
  }
  float f = 0.0f;
  double d = 0.0;
  if (read_real(text, f)) {
    Field<64> t;
    f2b(f, t, "(F16.6)", len);
    f2b(f, t, "(1PE16.9)", len);
    t2b(f, t, len);
  }
  read_real(text, d);

  Field<256> line(text), item;
  for (int n = 0; n < 300 && !line.is_blank(); ++n) extract_list(line, item, ";");
  Field<256> items[60];
  int count = 0;
  read_list(text, count, items, 60, ",");
  Field<128> key, value;
  Field<2> rel;
  extract_key_val(text, key, value);
  extract_key_val_rel(text, key, value, rel);
  is_true(text);
  return 0;
}
