// A form on the toolkit's null host for tests: read from a definition,
// shown, and operated with posted native messages (presses, releases,
// wheel, keys, close) in form coordinates. A run of the form ends when the
// form ends itself or, failing that, when every posted message has been
// handled (the loop's idle call stops it).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "forms/my_forms.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "forms_window/window_session.h"
#include "tests/forms/form_files.h"
#include "toolkit/host/cpw_host.h"
#include "toolkit/host/null/cpw_null.h"

namespace fw = forms_window;

// Every call of the application's call-back, as (kind, number, value).
extern std::vector<std::array<int, 3>> callbacks;

namespace null_form {

inline bool went_idle = false;
inline void stop_when_idle(pCpw cpw) {
  if (!cpw->mainloop_break) went_idle = true;  // not ended by the form in this turn
  cpwBreakMainLoop(cpw);
}

inline constexpr const char* kForm =
    "[General]\n"
    "Window Title=Null form\n"
    "Version=1\n"
    "FontName=arial.ttf\n"
    "FontSize=14\n"
    "TickSize=14\n"
    "Active=1\n"
    "[Input-boxes]\n"
    "{Txt=Count; Name=count; Type=INT; Pos=10,300; Size=6; Arr=1}\n"
    "{Txt=Name; Name=name; Type=CHR; Pos=10,270; Size=10}\n"
    "{Txt=Enable; Name=on; Type=TCK; Pos=10,240}\n"
    "{Txt=Needs on; Name=dep; Type=CHR; Pos=10,210; Size=6; Dep=on}\n"
    "{Txt=Needs off; Name=inv; Type=CHR; Pos=200,210; Size=6; Dep=-on}\n"
    "{Txt=A; Name=a; Type=TCK; Pos=10,180}\n"
    "{Txt=B; Name=b; Type=TCK; Pos=60,180}\n"
    "{Txt=Long,L1,L2,L3,L4,L5,L6,L7,L8,L9,L10,L11,L12,L13,L14,L15,L16,L17,L18,L19,L20,L21,L22,L23,L24,L25,L26,"
    "L27,L28,L29,L30; Name=long; Type=DDL; Pos=10,150; Size=8}\n"
    "{Txt=Short,S1,S2,S3,S4,S5,S6,S7,S8,S9,S10; Name=short; Type=DDL; Pos=200,150; Size=8}\n"
    "{Txt=In; Name=in; Type=IFP; Pos=10,120; Size=10}\n"
    "{Txt=-Off; Name=off; Type=CHR; Pos=10,90; Size=6}\n"
    "[Radio-buttons]\n"
    "{Set=a,b}\n"
    "[Buttons]\n"
    "{Txt=OK; Type=OK; Pos=10,10; Size=60}\n"
    "{Txt=Apply; Type=500; Pos=80,10; Size=60}\n"
    "{Txt=All; Type=3; Pos=150,10; Size=60}\n"
    "{Txt=Cancel; Type=CANCEL; Pos=220,10; Size=60}\n";

// 0-based elements and buttons of kForm.
enum { COUNT, NAME, ON, DEP, INV, A, B, LONG, SHORT, IN, OFF, COLOUR };  // COLOUR: see with_colour
// kForm with a colour box after its other inputs.
inline std::string with_colour() {
  std::string form = kForm;
  form.insert(form.find("[Radio-buttons]"), "{Txt=Colour; Name=col; Type=COL; Pos=200,90; Size=8}\n");
  return form;
}
enum { OK_BUTTON, APPLY, ALL, CANCEL };

class NullForm : public InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    callbacks.clear();
    // Dialogs answer from standard input: here it is empty, every chooser a
    // cancel, whatever the tests were started from.
    write_file("no_answers.txt", "");
    if (std::freopen("no_answers.txt", "r", stdin) == nullptr) ADD_FAILURE() << "no empty standard input";
  }

  // Reads `definition`, gives the named inputs their values and opens the
  // form; the window id.
  unsigned open(const std::string& definition = kForm, std::vector<std::pair<int, std::string>> values = {}) {
    write_file("form.frm", definition);
    testing::internal::CaptureStdout();
    EXPECT_EQ(frm_read_form("form.frm"), 0);
    for (auto& [n, v] : values) frm_set_value(n, std::atoi(v.c_str()), 0.0f, v, false);
    int id = frm_create_form();
    out_ = testing::internal::GetCapturedStdout();
    EXPECT_GT(id, 0) << out_;
    run();  // the window's first events: created, placed, sized, drawn
    return static_cast<unsigned>(id);
  }

  pCpw cpw() const { return fw::this_cpw; }
  unsigned id() const { return static_cast<unsigned>(fw::windowInfo.id); }

  void post(CpwNullMessageKind kind, int a = 0, int b = 0, int c = 0, int d = 0) {
    cpw_null_post(cpw(), CpwNullMessage{kind, id(), a, b, c, d, false, false});
  }
  // A press or release at form point (x, y) (y upwards), then a frame, so
  // that what the drawing stores (the open list's place) is there for the
  // next message.
  void press(int x, int y, int button = 0) { mouse(x, y, button, 1); }
  void release(int x, int y, int button = 0) { mouse(x, y, button, 0); }
  void click(int x, int y, int button = 0) {
    press(x, y, button);
    release(x, y, button);
  }
  void mouse(int x, int y, int button, int down) {
    post(CPW_NULL_BUTTON, button, down, x, fw::windowInfo.height - y);
    post(CPW_NULL_PAINT);
  }
  // A key pressed (down) or released, by its Windows virtual key.
  void key(int vk, bool down) {
    post(CPW_NULL_KEY, vk, down ? 1 : 0);
    post(CPW_NULL_PAINT);
  }
  void tap(int vk) {
    key(vk, true);
    key(vk, false);
  }
  // A key with a modifier held (0xA0 left Shift, 0xA2 left Ctrl).
  void tap_with(int modifier, int vk) {
    key(modifier, true);
    tap(vk);
    key(modifier, false);
  }
  void wheel(int notches) {
    post(CPW_NULL_WHEEL, 120 * notches);
    post(CPW_NULL_PAINT);
  }
  // Centre of element e's box, and of button b.
  std::array<int, 2> at(int e) const {
    const auto& r = fw::inpt_pos[e];
    return {(r[0] + r[2]) / 2, (r[1] + r[3]) / 2};
  }
  void click_element(int e) { click(at(e)[0], at(e)[1]); }
  void click_button(int b) {
    const auto& r = fw::butt_pos[b];
    click((r[0] + r[2]) / 2, (r[1] + r[3]) / 2);
  }

  // Runs the form until it ends or the posted messages run out; its result.
  int run() {
    went_idle = false;
    cpwIdleCallback(cpw(), stop_when_idle);
    testing::internal::CaptureStdout();
    int status = frm_do_form();
    out_ = testing::internal::GetCapturedStdout();
    return status;
  }
  // Whether the last run ended by the form itself.
  bool ended_by_form() const { return !went_idle; }

  // Integer boxes take their bounds from the application: 0 to 100 for count.
  void bound_count() {
    frm_set_prop(1, 1, 201, 0, 0.0f, "", false);
    frm_set_prop(1, 1, 202, 0, 100.0f, "", false);
  }

  int value(int n) {
    int iv = 0, type = 0;
    float rv = 0;
    Field<255> cv;
    frm_get_value(n, iv, rv, cv, type);
    return iv;
  }

  std::string out_;
};

}  // namespace null_form
