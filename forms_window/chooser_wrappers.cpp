// The program's dialog wrappers over the dialog module.
#include "forms_window/chooser_wrappers.h"

#include <algorithm>
#include <string>

#include "common/dialogs.h"
#include "common/messages.h"
#include "common/trace.h"

namespace {

constexpr int kMaxPatterns = 10;

void native_dialogs() {
  tinyfd_winUtf8 = 0;
  tinyfd_forceConsole = 0;
}

const char* or_none(const char* text) { return text != nullptr && *text != '\0' ? text : "(none)"; }

void error_box(const char* text) { tinyfd_messageBox("Error", text, "ok", "error", 1); }

const char* file_message() {
  return IsLanguageFrench() ? "Aucun fichier sp\xE9"
                              "cifi\xE9"
                            : "No file specification returned";
}

// Stores a chosen path into the caller's field. A path longer than the
// field would come back cut, naming another file: it is refused with a box.
bool store_path(const char* chosen, FieldRef out, int& length) {
  length = 0;
  if (chosen == nullptr) return false;
  std::string path = chosen;
  if (static_cast<int>(path.size()) > out.size()) {
    std::string text = "The chosen path is too long (" + std::to_string(path.size()) + " characters, at most " +
                       std::to_string(out.size()) + "):\n" + path;
    error_box(text.c_str());
    return false;
  }
  out = path;
  length = static_cast<int>(path.size());
  return true;
}

// The open or save dialog with the filter's patterns.
int file_dialog(bool save, FieldRef file, const char* title, const char* default_path, const char* filter,
                int multiple, int& length) {
  native_dialogs();
  std::vector<std::string> patterns = split_filter(filter);
  std::vector<const char*> list;
  for (const std::string& p : patterns) list.push_back(p.c_str());
  const int count = static_cast<int>(list.size());
  const char* chosen = save ? tinyfd_saveFileDialog(title, default_path, count, list.data(), nullptr)
                            : tinyfd_openFileDialog(title, default_path, count, list.data(), nullptr, multiple);
  if (store_path(chosen, file, length)) return 1;
  if (chosen == nullptr) error_box(file_message());
  return 0;
}

}  // namespace

std::vector<std::string> split_filter(const char* filter) {
  std::vector<std::string> out;
  std::string f = filter != nullptr ? filter : "";
  std::size_t i = 0;
  while (i <= f.size() && static_cast<int>(out.size()) < kMaxPatterns) {
    std::size_t j = f.find(',', i);
    if (j == std::string::npos) j = f.size();
    std::string p = f.substr(i, j - i);
    std::size_t a = p.find_first_not_of(" \t");
    std::size_t b = p.find_last_not_of(" \t");
    if (a != std::string::npos) out.push_back(p.substr(a, b - a + 1));
    i = j + 1;
  }
  return out;
}

int GetFolder(const char* title, const char* default_folder, int& length, FieldRef folder) {
  native_dialogs();
  const char* chosen = tinyfd_selectFolderDialog(title, default_folder);
  if (store_path(chosen, folder, length)) return 0;
  if (chosen == nullptr) error_box("No folder selected");
  return 1;
}

int GetFileName(FieldRef file, const char* title, const char* default_path, const char* filter, const char*,
                int multiple, int& length) {
  trace("Filter:", or_none(filter));
  trace("Default path:", or_none(default_path));
  return file_dialog(false, file, title, default_path, filter, multiple, length);
}

int SaveFileName(FieldRef file, const char* title, const char* default_path, const char* filter, const char*,
                 int& length) {
  return file_dialog(true, file, title, default_path, filter, 0, length);
}

void GetString(const char* title, const char* prompt, FieldRef text, const char* default_text, int& length) {
  native_dialogs();
  trace("Prompt:", or_none(prompt));
  length = 0;
  const char* entered = tinyfd_inputBox(title, prompt, default_text);
  if (entered == nullptr) return;
  std::string s = entered;
  text = s;
  length = std::min(static_cast<int>(s.size()), text.size());
}
