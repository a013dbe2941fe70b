// The form's window session and its mouse handling on the toolkit's null
// host.
#include "tests/forms_window/null_form.h"
#include "tests/support/temp_tree.h"

using namespace null_form;

namespace {

class Session : public NullForm {};

TEST_F(Session, StartOpensAFixedWindowAtItsPlaceWithTheFontsMeasuredAndTheCallbacksSet) {
  std::string form = kForm;
  const unsigned first = open(form);
  pCpw c = cpw();
  ASSERT_NE(c, nullptr);
  // The input font's cell and margin measured at size 14 (Liberation Mono).
  EXPECT_EQ(fw::DxI, 8);
  EXPECT_GT(fw::Yoffset, 0);
  EXPECT_LT(fw::Yoffset, 6);
  EXPECT_NE(fw::Txt_Font, nullptr);
  EXPECT_NE(fw::Inp_Font, nullptr);
  std::string log = cpw_null_log(c);
  char expected[128];
  std::snprintf(expected, sizeof expected, "create %u \"Null form\" 100 100 %d %d props=0x101", id(),
                fw::windowInfo.width, fw::windowInfo.height);
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  EXPECT_EQ(c->createCallback, frm_window);
  EXPECT_EQ(c->displayCallback, frm_draw);
  EXPECT_EQ(c->reshapeCallback, frm_reshape);
  EXPECT_EQ(c->mouseclickCallback, frm_mouseclick);
  EXPECT_EQ(c->mouseentryCallback, frm_mouseentry);
  EXPECT_EQ(c->mousemoveCallback, frm_mousemove);
  EXPECT_EQ(c->mousedragCallback, frm_mousedrag);

  // A window without a close box, and a text font that cannot be loaded.
  form.replace(form.find("Active=1"), 8, "Active=0");
  form.replace(form.find("FontName=arial.ttf"), 18, "FontName=nosuch.ttf");
  unsigned second = open(form);
  EXPECT_NE(second, 0u);
  EXPECT_NE(cpw_null_log(c).find("props=0x104"), std::string::npos);
  EXPECT_NE(fw::Txt_Font, nullptr);
  EXPECT_EQ(fw::font_name.view(), "arial.ttf");
  std::vector<std::string> logged = lines("Logfile.txt");
  EXPECT_NE(std::find(logged.begin(), logged.end(),
                      "************* Txt_Font : nosuch.ttf could not be loaded - arial.ttf selected *************"),
            logged.end());
  // One form window per process: the first one is gone.
  EXPECT_EQ(cpw_window_lookup(c, first), nullptr);
  // With the toolkit's default kind again, the replacing window has its close box.
  form.replace(form.find("Active=0"), 8, "Active=1");
  open(form);
  EXPECT_NE(cpw_null_log(c).rfind("props=0x101"), std::string::npos);
}

TEST_F(Session, ButtonsEndTheFormByTheirTypeAfterTheChecksTheirTypeAsks) {
  open();
  // A button pressed and released outside it does nothing; pressed outside
  // and released on it, it runs.
  const auto& ok = fw::butt_pos[OK_BUTTON];
  press((ok[0] + ok[2]) / 2, 20);
  release(ok[2] + 30, 200);
  press(ok[2] + 30, 200);
  release((ok[0] + ok[2]) / 2, 20);
  EXPECT_EQ(run(), 1);
  EXPECT_TRUE(ended_by_form());
  EXPECT_EQ(callbacks, (std::vector<std::array<int, 3>>{{6, 1, 1}}));

  // Apply (type 500) calls the application and keeps the form open; All
  // (type 3) too, without checking; Cancel ends it without a call.
  callbacks.clear();
  click_button(APPLY);
  click_button(ALL);
  EXPECT_EQ(run(), 3);
  EXPECT_FALSE(ended_by_form());
  EXPECT_EQ(callbacks, (std::vector<std::array<int, 3>>{{6, 2, 500}, {6, 3, 3}}));
  callbacks.clear();
  click_button(CANCEL);
  EXPECT_EQ(run(), -1);
  EXPECT_TRUE(ended_by_form());
  EXPECT_TRUE(callbacks.empty());
}

TEST_F(Session, AnInvalidValueKeepsTheFormOpenMarkedAndARightPressShowsWhy) {
  open(kForm, {{1, "150"}});
  bound_count();
  click_button(OK_BUTTON);
  EXPECT_EQ(run(), 1);  // the button's type, but the form did not end
  EXPECT_FALSE(ended_by_form());
  EXPECT_TRUE(callbacks.empty());
  EXPECT_EQ(fw::inpt_OK[COUNT], 0);
  EXPECT_EQ(fw::inpt_OK[NAME], 1);
  EXPECT_EQ(fw::inpt_msg[COUNT].view(), "Value must be in [0,100]");

  press(at(COUNT)[0], at(COUNT)[1], 2);
  run();
  EXPECT_EQ(fw::MsgInpt, COUNT);
  EXPECT_EQ(fw::xmsg, at(COUNT)[0]);
  EXPECT_EQ(fw::ymsg, at(COUNT)[1]);
  release(at(COUNT)[0], at(COUNT)[1], 2);  // the message goes with the release
  run();
  EXPECT_EQ(fw::xmsg, -1);
  press(at(NAME)[0], at(NAME)[1], 2);  // a valid value has no message
  run();
  EXPECT_EQ(fw::xmsg, -1);
}

TEST_F(Session, ClosingTheWindowEndsTheFormForGood) {
  open();
  post(CPW_NULL_CLOSE);
  EXPECT_EQ(run(), -999);
  EXPECT_TRUE(ended_by_form());
  EXPECT_EQ(cpw_window_lookup(cpw(), id()), nullptr);
  // Later runs come back at once instead of waiting on a window that is gone:
  // the loop does not even take the quit message.
  cpw_null_post(cpw(), CpwNullMessage{CPW_NULL_QUIT, 0, 0, 0, 0, 0, false, false});
  EXPECT_EQ(frm_do_form(), -999);
  EXPECT_EQ(cpw_null_pending(cpw()), 1);
  cpwMainLoop(cpw());
  EXPECT_EQ(frm_new_form(), 0);
}

TEST_F(Session, ASecondRunShowsTheSameWindowWithTheValuesOfTheFirst) {
  open();
  click_element(ON);
  click_button(CANCEL);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(value(3), 0);  // cancelled: the model keeps its value
  EXPECT_EQ(fw::inpt_ival[ON], 1);
  cpw_null_clearlog(cpw());
  click_button(OK_BUTTON);
  EXPECT_EQ(run(), 1);
  EXPECT_TRUE(ended_by_form());
  EXPECT_EQ(value(3), 1);
  std::string log = cpw_null_log(cpw());
  EXPECT_NE(log.find("show " + std::to_string(id())), std::string::npos) << log;
  EXPECT_NE(log.find("hide " + std::to_string(id())), std::string::npos) << log;
}

TEST_F(Session, TickBoxesRadioGroupsAndDependencies) {
  open();
  EXPECT_EQ(fw::inpt_act[DEP], 0);
  EXPECT_EQ(fw::inpt_act[INV], 1);
  click_element(ON);
  click_element(A);
  click_element(B);
  click_element(B);  // a set radio member stays set
  click_element(OFF);  // inactive: not current, no call
  run();
  EXPECT_EQ(fw::inpt_ival[ON], 1);
  EXPECT_EQ(fw::inpt_act[DEP], 1);
  EXPECT_EQ(fw::inpt_act[INV], 0);
  EXPECT_EQ(fw::inpt_ival[A], 0);
  EXPECT_EQ(fw::inpt_ival[B], 1);
  EXPECT_EQ(fw::CurInpt, -1);
  EXPECT_EQ(callbacks, (std::vector<std::array<int, 3>>{{1, 3, 1}, {1, 6, 1}, {1, 7, 1}, {1, 7, 1}}));
}

TEST_F(Session, ListsOpenScrollAndChoose) {
  open();
  // The long list: the wheel scrolls it and stops at its ends.
  click_element(LONG);
  run();
  EXPECT_EQ(callbacks, (std::vector<std::array<int, 3>>{{1, 8, -1}}));  // the release that opened it
  callbacks.clear();
  wheel(-3);
  run();
  EXPECT_EQ(fw::CurDDL, 0);
  EXPECT_EQ(fw::ddl_offset, 3);
  EXPECT_EQ(fw::Scroll, 1);
  EXPECT_EQ(fw::DxScrl, 2 * fw::DxI);
  wheel(-50);
  run();
  EXPECT_EQ(fw::ddl_offset, 20);
  wheel(50);
  run();
  EXPECT_EQ(fw::ddl_offset, 0);

  // The scroll bar's cells step it; the thumb dragged to the end shows the last entries.
  const auto lp = fw::ddl_pos;  // x1, top, x2, bottom
  click(lp[2] - 3, lp[3] + 3);
  click(lp[2] - 3, lp[3] + 3);
  click(lp[2] - 3, lp[1] - 3);
  run();
  EXPECT_EQ(fw::ddl_offset, 1);
  int thumb = (fw::YScrl0 + fw::YScrl1) / 2;
  post(CPW_NULL_SETFOCUS);  // drags come to the window with the focus
  press(lp[2] - 3, thumb);
  post(CPW_NULL_MOUSEMOVE, CPW_MK_LBUTTON, 0, lp[2] - 3, fw::windowInfo.height - lp[3]);
  run();
  EXPECT_EQ(fw::ddl_offset, 20);
  // Letting the thumb go over the rows chooses nothing.
  release(lp[0] + 5, lp[1] - 5);
  run();
  EXPECT_EQ(fw::CurDDL, 0);
  EXPECT_TRUE(callbacks.empty());

  // A row: its entry, the call with the entry counted from 1, the list closed.
  const int rh = fw::inpt_pos[LONG][3] - fw::inpt_pos[LONG][1];
  click(lp[0] + 5, lp[1] - 2 * rh - rh / 2);  // third visible row: entry 22
  click_button(OK_BUTTON);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(fw::CurDDL, -1);
  EXPECT_EQ(fw::inpt_cval[LONG].view(), "L23");
  EXPECT_EQ(value(8), 23);
  ASSERT_FALSE(callbacks.empty());
  EXPECT_EQ(callbacks.front(), (std::array<int, 3>{1, 8, 23}));

  // The short list has no scroll bar; a click outside closes it unchanged.
  callbacks.clear();
  click_element(SHORT);
  run();
  EXPECT_EQ(fw::Scroll, 0);
  EXPECT_EQ(fw::DxScrl, 0);
  click(fw::windowInfo.width - 2, fw::windowInfo.height - 2);
  run();
  EXPECT_EQ(fw::CurDDL, -1);
  EXPECT_EQ(fw::ddl_offset, 0);
  EXPECT_EQ(callbacks, (std::vector<std::array<int, 3>>{{1, 9, -1}}));  // no entry chosen yet
}

TEST_F(Session, SpinArrowsStepTheValueWithinItsBounds) {
  open(kForm, {{1, "98"}});
  bound_count();
  const auto& r = fw::inpt_pos[COUNT];
  const int up_x = r[2] + fw::DxI, up_y = r[3] - 2, down_y = r[1] + 2;
  press(up_x, up_y);
  run();
  EXPECT_EQ(fw::inpt_inc[COUNT], 1);  // drawn pressed while held
  const int first = std::atoi(fw::inpt_cval[COUNT].c_str());
  EXPECT_GT(first, 98);
  EXPECT_LE(first, 100);
  release(up_x, up_y);
  click(up_x, up_y);
  click(up_x, up_y);
  run();
  EXPECT_EQ(fw::inpt_inc[COUNT], 0);
  EXPECT_EQ(fw::inpt_cval[COUNT].view(), "100");  // held at the bound
  click(up_x, down_y);
  click_button(OK_BUTTON);
  EXPECT_EQ(run(), 1);
  const int last = std::atoi(fw::inpt_cval[COUNT].c_str());
  EXPECT_LT(last, 100);
  EXPECT_EQ(value(1), last);
}

TEST_F(Session, ClicksPlaceTheCaretAndSelectInTextBoxes) {
  open(kForm, {{2, "Hello"}});
  const auto& r = fw::inpt_pos[NAME];
  const int mid = (r[1] + r[3]) / 2;
  auto cell_x = [&](int c) { return r[0] + fw::Yoffset + c * fw::DxI + fw::DxI / 2; };
  click(r[0] + 1, mid);  // the left margin: before the first character
  run();
  EXPECT_EQ(fw::CurInpt, NAME);
  EXPECT_EQ(fw::CurPos_1, 0);
  EXPECT_EQ(fw::CurPos_2, 0);
  EXPECT_TRUE(fw::kbd_hook_running());
  click(cell_x(8), mid);  // beyond the text: after its last character
  run();
  EXPECT_EQ(fw::CurPos_1, 5);
  EXPECT_EQ(fw::CurPos_2, 5);
  press(cell_x(3), mid);  // from right to left: the cells between
  release(cell_x(1), mid);
  run();
  EXPECT_EQ(fw::CurPos_1, 1);
  EXPECT_EQ(fw::CurPos_2, 3);
  // Leaving the window ends the editing.
  post(CPW_NULL_SETFOCUS);
  post(CPW_NULL_SETCURSOR, 1);
  post(CPW_NULL_SETCURSOR, 0);
  run();
  EXPECT_EQ(fw::CurInpt, -1);
  EXPECT_EQ(fw::CurPos_1, -1);
  EXPECT_FALSE(fw::kbd_hook_running());
}

TEST_F(Session, APathElementIsSelectedFirstAndItsChooserOpensOnTheSecondClick) {
  open(kForm, {{10, "C:\\data\\in.txt"}});
  click_element(IN);
  run();
  EXPECT_EQ(fw::CurInpt, IN);
  EXPECT_TRUE(fw::kbd_hook_running());
  EXPECT_EQ(out_.find("No file specification returned"), std::string::npos);
  click_element(IN);
  run();
  // The chooser cancelled: the message, the value as it was.
  EXPECT_NE(out_.find("Error\nNo file specification returned\n"), std::string::npos) << out_;
  EXPECT_EQ(fw::inpt_cval[IN].view(), "C:\\data\\in.txt");
  EXPECT_FALSE(fw::kbd_hook_running());
}

TEST_F(Session, TheChoosersAnswersBecomeTheValues) {
  write_file("chosen.txt", "a file to open");
  const std::string chosen = test_support::program_path(folder_ / "chosen.txt");
  write_file("answers.txt", chosen + "\n0,0,255\n");
  open(with_colour(), {{10, "C:\\data\\in.txt"}, {12, "#FF8000"}});
  ASSERT_NE(std::freopen("answers.txt", "r", stdin), nullptr);
  click_element(IN);
  run();
  click_element(IN);
  click_element(COLOUR);
  click_button(OK_BUTTON);
  EXPECT_EQ(run(), 1) << out_;
  EXPECT_EQ(fw::inpt_cval[IN].view(), chosen);
  EXPECT_EQ(fw::inpt_cval[COLOUR].view(), "#0000FF");
  EXPECT_EQ(value(12), 255);
}

TEST_F(Session, ReshapesKeepASizeOfAtLeastOnePixelAndANewLayoutResizesTheWindow) {
  open();
  const int width = fw::windowInfo.width;
  post(CPW_NULL_SIZE, CPW_SIZE_RESTORED, width, 0);
  run();
  EXPECT_EQ(fw::windowInfo.height, 1);
  cpw_null_clearlog(cpw());
  EXPECT_EQ(frm_new_form(), static_cast<int>(id()));
  std::string expected = "reshape " + std::to_string(id()) + " " + std::to_string(width) + " " +
                         std::to_string(fw::windowInfo.height);
  EXPECT_GT(fw::windowInfo.height, 300);
  EXPECT_NE(cpw_null_log(cpw()).find(expected), std::string::npos) << cpw_null_log(cpw());
}

TEST_F(Session, AWindowThatCannotBeOpenedIsReportedAndTheFormGivesZero) {
  write_file("form.frm", kForm);
  for (const char* failing : {"init", "createglcontext"}) {
    SCOPED_TRACE(failing);
    cpwFreeContext(&fw::this_cpw);
    cpw_null_failnext(failing);
    testing::internal::CaptureStdout();
    ASSERT_EQ(frm_read_form("form.frm"), 0);
    EXPECT_EQ(frm_create_form(), 0);
    EXPECT_EQ(frm_do_form(), 0);
    std::string out = testing::internal::GetCapturedStdout();
    std::string why = std::string(failing) == "init" ? "no display can be reached" : "OpenGL is not available (error 9)";
    EXPECT_NE(out.find("Null form\nThe form's window could not be opened:\n" + why), std::string::npos) << out;
    std::vector<std::string> logged = lines("Logfile.txt");
    EXPECT_NE(std::find(logged.begin(), logged.end(), "The form's window could not be opened:"), logged.end());
    EXPECT_EQ(fw::this_cpw, nullptr);
  }
}

}  // namespace
