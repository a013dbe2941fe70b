// The form closer of the Windows build: polls the top-level windows every
// 20 ms and posts WM_CLOSE to each new form window it sees.
#include <windows.h>

#include <chrono>
#include <cstring>
#include <set>

#include "tests/app/form_closer.h"

namespace app_test {

namespace {

struct Scan {
  DWORD self;
  std::set<HWND>* seen;
  int found = 0;
};

BOOL CALLBACK close_form(HWND window, LPARAM data) {
  Scan& scan = *reinterpret_cast<Scan*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == scan.self || !IsWindowVisible(window) || scan.seen->count(window)) return TRUE;
  char cls[64] = {}, title[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  if (std::strncmp(cls, "CPWWindow", 9) == 0 && std::strcmp(title, "Vantyr") == 0) {
    scan.seen->insert(window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ++scan.found;
  }
  return TRUE;
}

}  // namespace

FormCloser::FormCloser() {
  watcher_ = std::thread([this] {
    std::set<HWND> seen;
    while (!stop_) {
      Scan scan{GetCurrentProcessId(), &seen};
      EnumWindows(close_form, reinterpret_cast<LPARAM>(&scan));
      closed_ += scan.found;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

FormCloser::~FormCloser() {
  stop_ = true;
  watcher_.join();
}

}  // namespace app_test
