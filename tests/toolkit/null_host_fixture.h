// A toolkit context on the null host, and a recorder for callbacks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/cpw.h"
#include "toolkit/host/cpw_host.h"
#include "toolkit/host/null/cpw_null.h"

// Every callback appends one line to this log.
inline std::vector<std::string> calls;

inline std::string joined() {
  std::string all;
  for (const std::string& c : calls) all += c + ";";
  return all;
}

inline void on_create(pCpw, unsigned id, unsigned flag) { calls.push_back("create " + std::to_string(id) + " " + std::to_string(flag)); }
inline void on_display(pCpw, unsigned id) { calls.push_back("display " + std::to_string(id)); }
inline void on_reshape(pCpw, unsigned id, unsigned w, unsigned h) {
  calls.push_back("reshape " + std::to_string(id) + " " + std::to_string(w) + " " + std::to_string(h));
}
inline void on_position(pCpw, unsigned id, unsigned x, unsigned y) {
  calls.push_back("position " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y));
}
inline void on_click(pCpw, unsigned id, unsigned state, unsigned button, unsigned x, unsigned y) {
  calls.push_back("click " + std::to_string(id) + " " + std::to_string(state) + " " + std::to_string(int(button)) +
                  " " + std::to_string(int(x)) + " " + std::to_string(int(y)));
}
inline void on_drag(pCpw, unsigned id, unsigned button, int x, int y) {
  calls.push_back("drag " + std::to_string(id) + " " + std::to_string(int(button)) + " " + std::to_string(x) + " " +
                  std::to_string(y));
}
inline void on_move(pCpw, unsigned id, unsigned x, unsigned y) {
  calls.push_back("move " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y));
}
inline void on_entry(pCpw, unsigned id, unsigned state) { calls.push_back("entry " + std::to_string(id) + " " + std::to_string(state)); }
inline void on_visibility(pCpw, unsigned id, unsigned state) {
  calls.push_back("visibility " + std::to_string(id) + " " + std::to_string(state));
}
inline void on_key(pCpw, unsigned id, unsigned key, unsigned state, unsigned x, unsigned y) {
  calls.push_back("key " + std::to_string(id) + " " + std::string(1, char(key)) + " " + std::to_string(state) + " " +
                  std::to_string(x) + " " + std::to_string(y));
}
inline void on_skey(pCpw, unsigned id, unsigned key, unsigned state, unsigned, unsigned) {
  calls.push_back("skey " + std::to_string(id) + " " + std::to_string(key) + " " + std::to_string(state));
}

class NullHost : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(cpwInitContext(&cpw));
  }
  void TearDown() override { cpwFreeContext(&cpw); }

  // Registers every context-wide callback of the recorder.
  void record_all() {
    cpwCreateCallback(cpw, on_create);
    cpwDisplayCallback(cpw, on_display);
    cpwReshapeCallback(cpw, on_reshape);
    cpwPositionCallback(cpw, on_position);
    cpwMouseClickCallback(cpw, on_click);
    cpwMouseDragCallback(cpw, on_drag);
    cpwMouseMoveCallback(cpw, on_move);
    cpwMouseEntryCallback(cpw, on_entry);
    cpwVisibilityCallback(cpw, on_visibility);
    cpwKeyboardCallback(cpw, on_key);
    cpwSystemKeyboardCallback(cpw, on_skey);
  }

  // A window whose creation events have been delivered and forgotten.
  unsigned quiet_window(const char* title = "w") {
    unsigned id = cpwCreateWindowEx(cpw, title, 100, 100, 200, 300);
    cpwClearEvents(cpw);
    calls.clear();
    return id;
  }

  void post(CpwNullMessageKind kind, unsigned id, int a = 0, int b = 0, int c = 0, int d = 0, bool shift = false,
            bool caps = false) {
    cpw_null_post(cpw, CpwNullMessage{kind, id, a, b, c, d, shift, caps});
  }

  // Pumps every posted message and delivers every queued event.
  void settle() {
    for (int i = 0; i < 1000 && (cpw_null_pending(cpw) > 0 || cpwStackDepth(cpw) > 0 || cpwNextEvent(cpw)); ++i)
      cpwMainLoopUpdate(cpw, 1);
  }

  pCpw cpw = nullptr;
};
