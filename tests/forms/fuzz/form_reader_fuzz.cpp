// Fuzz target: any bytes as a form definition file, read, handed to the
// window tables and laid out, then as a form data file. AddressSanitizer
// reports any access outside a table; libFuzzer any crash.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "forms/my_forms.h"
#include "forms/my_forms_model.h"
#include "forms_window/forms_window.h"

namespace {

void measure(const char* text, int size, int& w, int& h) {
  w = 7 * static_cast<int>(std::strlen(text));
  h = size;
}

bool write_input(const char* name, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!write_input("fuzz.frm", data, size)) return 0;
  frm_read_form("fuzz.frm");
  // Landscape lists ask the simulator's installation; the rest of the
  // hand-over runs for every input.
  bool landscape = false;
  for (int i = 1; i <= my_forms::nb_inpt; ++i) landscape = landscape || my_forms::is_landscape_list(i);
  if (!landscape) {
    load_form();
    form_setup({8, 3, 12, measure});
  }
  frm_write_form_data("fuzz.dat");
  frm_read_form_data("fuzz.dat");
  frm_read_form_data("fuzz.frm");
  return 0;
}
