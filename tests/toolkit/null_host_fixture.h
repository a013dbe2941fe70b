// A toolkit context on the null host, and a recorder for callbacks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/cpw.h"
#include "toolkit/host/cpw_host.h"
#include "toolkit/host/null/cpw_null.h"
#include "recorder.h"

class NullHost : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(cpwInitContext(&cpw));
  }
  void TearDown() override { cpwFreeContext(&cpw); }

  // Registers every context-wide callback of the recorder.
  void record_all() { record_all_callbacks(cpw); }

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
