// Closes the program's form window for a run that has nobody to answer it.
//
// The Windows build's program opens its form on the display under Wine: while
// a FormCloser lives, a thread of its own watches for a visible window of the
// toolkit's window class titled "Vantyr" in another process and asks it to
// close, as its close box would. On Linux the program runs without a display
// there, its form has no window, and a FormCloser closes nothing.
#pragma once

#include <atomic>
#include <thread>

namespace app_test {

class FormCloser {
 public:
  FormCloser();
  ~FormCloser();
  FormCloser(const FormCloser&) = delete;
  FormCloser& operator=(const FormCloser&) = delete;

  // How many form windows it asked to close.
  int closed() const { return closed_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> closed_{0};
  std::thread watcher_;
};

}  // namespace app_test
