// The choosers of the form's path and colour elements. The platform's file,
// folder and colour dialogs are not offered by the dialog module yet, so
// every chooser says so on the console and returns without a choice; the
// element keeps its value.
#include "common/trace.h"
#include "forms_window/window_session.h"

namespace forms_window {

namespace {
bool not_available(const char* chooser, const char* current) {
  trace("The", chooser, "chooser is not available yet; the value stays", current ? current : "");
  return false;
}
}  // namespace

bool choose_input_file(const char*, const char* default_path, const char*, std::string&) {
  return not_available("file", default_path);
}

bool choose_output_file(const char*, const char* default_path, const char*, std::string&) {
  return not_available("file", default_path);
}

bool choose_folder(const char*, const char* default_folder, std::string&) {
  return not_available("folder", default_folder);
}

bool choose_colour(const char* default_colour, std::array<unsigned char, 3>&, std::string&) {
  return not_available("colour", default_colour);
}

}  // namespace forms_window
