// The choosers of the form's path and colour elements, through the dialog
// module: the open-file, save-file and select-folder dialogs titled with the
// form's title and offering the element's pattern, and the colour chooser.
// While a dialog runs, the form keeps serving what it put on the clipboard.
#include "common/dialogs.h"
#include "forms_window/window_session.h"

namespace forms_window {

namespace {

void serve_clipboard() {
  if (this_cpw != nullptr) cpwServeClipboard(this_cpw);
}

// Serves the clipboard for the scope, then restores the callback before.
class ServingClipboard {
 public:
  ServingClipboard() : saved_(dialogs_set_wait_callback(serve_clipboard)) {}
  ~ServingClipboard() { dialogs_set_wait_callback(saved_); }
  ServingClipboard(const ServingClipboard&) = delete;
  ServingClipboard& operator=(const ServingClipboard&) = delete;

 private:
  DialogWaitCallback saved_;
};

bool take(const char* answer, std::string& chosen) {
  if (answer == nullptr) return false;
  chosen = answer;
  return true;
}

}  // namespace

bool choose_input_file(const char* title, const char* default_path, const char* pattern, std::string& chosen) {
  ServingClipboard serving;
  const char* patterns[] = {pattern};
  int count = pattern != nullptr && *pattern != '\0' ? 1 : 0;
  return take(tinyfd_openFileDialog(title, default_path, count, patterns, nullptr, 0), chosen);
}

bool choose_output_file(const char* title, const char* default_path, const char* pattern, std::string& chosen) {
  ServingClipboard serving;
  const char* patterns[] = {pattern};
  int count = pattern != nullptr && *pattern != '\0' ? 1 : 0;
  return take(tinyfd_saveFileDialog(title, default_path, count, patterns, nullptr), chosen);
}

bool choose_folder(const char* title, const char* default_folder, std::string& chosen) {
  ServingClipboard serving;
  return take(tinyfd_selectFolderDialog(title, default_folder), chosen);
}

bool choose_colour(const char* default_colour, std::array<unsigned char, 3>& rgb, std::string& chosen) {
  ServingClipboard serving;
  // One array is both the default and the result, as the dialog allows; the
  // text comes back as "#RRGGBB" in upper case.
  return take(tinyfd_colorChooser("choose a nice color", default_colour, rgb.data(), rgb.data()), chosen);
}

}  // namespace forms_window
