// vantyr-form: shows a form definition as the program would, for those who
// edit definitions and for tests.
//
//   vantyr-form FILE [DATA]
//
// DATA, a form data file of name=value lines, gives the inputs their values
// before the form is shown.
// When the form ends, standard output gets the line "exit <status>" (what
// the form returned: the type of the button that ended it, -999 when the
// window was closed) and then one line per input:
//   <number> TAB <name> TAB <type> TAB <integer value> TAB <real value> TAB <value text>
// Everything else the forms library writes goes to standard error. Exit
// code 0 when the form ran, 1 when the definition did not read or no window
// could be opened, 2 for a wrong call.
#include <cstdio>
#include <string>

#include "common/field.h"
#include "common/platform.h"
#include "forms/my_forms.h"

namespace {

void write_results(std::FILE* out, int status) {
  std::fprintf(out, "exit %d\n", status);
  for (int n = 1; n <= frm_get_count(); ++n) {
    Field<32> name;
    Field<255> text;
    int iv = 0, type = 0;
    float rv = 0.0f;
    frm_get_name(n, name);
    if (frm_get_value(n, iv, rv, text, type) != 1) continue;
    std::string nm(name.trimmed()), tx(text.trimmed());
    std::fprintf(out, "%d\t%s\t%d\t%d\t%g\t%s\n", n, nm.c_str(), type, iv, static_cast<double>(rv), tx.c_str());
  }
  std::fflush(out);
}

}  // namespace

int main(int argc, char** argv) {
  set_program_name(argv[0]);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: vantyr-form FILE [DATA]\n");
    return 2;
  }
  std::FILE* results = take_standard_output();
  if (!results) results = stdout;
  int faults = frm_read_form(argv[1]);
  if (faults != 0) {
    std::fprintf(stderr, "vantyr-form: %s does not read (status %d); the faults are listed in frm_forms.log\n",
                 argv[1], faults);
    return 1;
  }
  if (argc == 3) {
    int status = frm_read_form_data(argv[2]);
    if (status != 0) {
      std::fprintf(stderr, "vantyr-form: the values of %s cannot be read (status %d)\n", argv[2], status);
      return 1;
    }
  }
  if (frm_create_form() == 0) {
    std::fprintf(stderr, "vantyr-form: the form of %s could not be shown (it needs an input box, and a window)\n",
                 argv[1]);
    return 1;
  }
  write_results(results, frm_do_form());
  return 0;
}
