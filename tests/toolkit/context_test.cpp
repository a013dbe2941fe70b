// The context: defaults, init and exit chains, properties, errors; windows
// on the null host.
#include <gtest/gtest.h>

#include "null_host_fixture.h"

namespace {

TEST(Context, InitSetsTheDefaultsAndASecondInitKeepsTheFirstContext) {
  pCpw cpw = nullptr;
  ASSERT_TRUE(cpwInitContext(&cpw));
  pCpw first = cpw;
  EXPECT_TRUE(cpw->cpw_initsuccess);
  EXPECT_EQ(cpw->cpw_displaymode, 0x40000029u);
  EXPECT_EQ(cpw->win_properties, 0x401u);
  EXPECT_EQ(cpw->win_initx, 100u);
  EXPECT_EQ(cpw->win_inity, 100u);
  EXPECT_EQ(cpw->win_initwidth, 200u);
  EXPECT_EQ(cpw->win_initheight, 300u);
  EXPECT_EQ(cpw->cpw_screenwidth, 1024u);  // read from the host after the defaults
  EXPECT_FALSE(cpw->cpw_running);
  EXPECT_NE(cpw->stack, nullptr);
  EXPECT_NE(cpw->ctx_font, nullptr);
  EXPECT_NE(cpw->ctx_joystick, nullptr);
  cpwInitDisplayMode(cpw, 0x5);
  EXPECT_TRUE(cpwInitContext(&cpw));
  EXPECT_EQ(cpw, first);
  EXPECT_EQ(cpw->cpw_displaymode, 0x5u);
  EXPECT_TRUE(cpwFreeContext(&cpw));
  EXPECT_EQ(cpw, nullptr);
  EXPECT_TRUE(cpwFreeContext(&cpw));  // empty handle
  EXPECT_FALSE(cpwFreeContext(nullptr));
  EXPECT_FALSE(cpwInitContext(nullptr));
}

TEST(Context, EachContextRegistersANewlyNumberedWindowClass) {
  pCpw a = nullptr, b = nullptr;
  ASSERT_TRUE(cpwInitContext(&a));
  ASSERT_TRUE(cpwInitContext(&b));
  std::string ca = a->ctx_localhost->classname, cb = b->ctx_localhost->classname;
  ASSERT_EQ(ca.rfind("CPWWindow", 0), 0u);
  EXPECT_EQ(std::stoi(cb.substr(9)), std::stoi(ca.substr(9)) + 1);
  EXPECT_NE(cpw_null_log(a).find("init " + ca), std::string::npos);
  cpwFreeContext(&a);
  cpwFreeContext(&b);
}

TEST(Context, AFailedInitLeavesAContextTheMainLoopRefuses) {
  cpw_null_failnext("init");
  pCpw cpw = nullptr;
  EXPECT_FALSE(cpwInitContext(&cpw));
  ASSERT_NE(cpw, nullptr);
  EXPECT_FALSE(cpw->cpw_initsuccess);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_initfailed);
  EXPECT_EQ(cpw->stack, nullptr);  // later steps never ran
  EXPECT_FALSE(cpwMainLoop(cpw));
  EXPECT_FALSE(cpw->cpw_running);
  EXPECT_EQ(cpwCreateWindow(cpw, "refused"), 0u);
  EXPECT_TRUE(cpwFreeContext(&cpw));
}

TEST(Context, WindowPropertiesReplaceOneKindAndOneFrame) {
  pCpw cpw = nullptr;
  ASSERT_TRUE(cpwInitContext(&cpw));
  EXPECT_TRUE(cpwInitWindowProperty(cpw, CPW_WINDOWPROP_FIXEDFRAME, 0, 0));
  EXPECT_EQ(cpw->win_properties, 0x101u);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_THICKFRAME, 0, 0);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_POPUP, 0, 0);
  EXPECT_TRUE(cpwInitWindowProperty(cpw, CPW_WINDOWPROP_NODRESSING, 0, 0));
  EXPECT_EQ(cpw->win_properties, 0x404u);
  EXPECT_FALSE(cpwInitWindowProperty(cpw, 8, 0, 0));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  EXPECT_EQ(cpw->win_properties, 0x404u);
  // Errors stay until something else is stored.
  EXPECT_TRUE(cpwInitWindowProperty(cpw, CPW_WINDOWPROP_SIZE, 640, 480));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  EXPECT_EQ(cpw->win_initwidth, 640u);
  EXPECT_EQ(cpw->win_initheight, 480u);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_POSITION, 7, 9);
  EXPECT_EQ(cpw->win_initx, 7u);
  EXPECT_EQ(cpw->win_inity, 9u);
  EXPECT_TRUE(cpwInitWindowProperty(cpw, CPW_WINDOWPROP_DESKTOP, 0, 0));
  EXPECT_EQ(cpw->win_initx, 0u);
  EXPECT_EQ(cpw->win_initwidth, 1024u);
  EXPECT_EQ(cpw->win_initheight, 768u);
  EXPECT_FALSE(cpw->win_expectmenu);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_EXPECTMENU, 0, 0);
  EXPECT_TRUE(cpw->win_expectmenu);
  EXPECT_FALSE(cpwInitDisplayModeExact(cpw, 1));
  cpwSetLastError(cpw, 0);
  EXPECT_TRUE(cpwSetUserdata(cpw, 1234));
  EXPECT_EQ(cpwGetUserdata(cpw), 1234u);
  cpwFreeContext(&cpw);
}

TEST(Context, TheDefaultPrintHandlerWritesToStandardError) {
  pCpw cpw = nullptr;
  ASSERT_TRUE(cpwInitContext(&cpw));
  testing::internal::CaptureStderr();
  cpw->cpw_print("toolkit says\n");
  cpw->cpw_print(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "toolkit says\n");
  cpwInitPrintHandler(cpw, [](const char* t) { calls.push_back(t); });
  calls.clear();
  cpw->cpw_print("mine");
  EXPECT_EQ(joined(), "mine;");
  cpwFreeContext(&cpw);
}

using Windows = NullHost;

TEST_F(Windows, CreationAsksTheHostInOrderAndQueuesItsFourEvents) {
  record_all();
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_NODRESSING, 0, 0);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_FIXEDFRAME, 0, 0);
  cpw_null_clearlog(cpw);
  unsigned id = cpwCreateWindowEx(cpw, "Form", 100, 120, 250, 300);
  EXPECT_EQ(id, 1u);
  EXPECT_EQ(cpw_null_log(cpw),
            "create 1 \"Form\" 100 120 250 300 props=0x104 menu=0\n"
            "pixelformat 1 0x40000029\nglcontext 1\nforeground 1\ncurrent 1\n");
  EXPECT_EQ(cpw->win_foregroundid, 1u);
  EXPECT_EQ(cpw->win_currentid, 1u);
  pCpwWin w = cpw_window_lookup(cpw, id);
  ASSERT_NE(w, nullptr);
  EXPECT_STREQ(str(w->title), "Form");
  EXPECT_EQ(w->cursor, CursorArrow);
  EXPECT_EQ(w->bwidth, 250u);
  settle();
  EXPECT_EQ(joined(), "create 1 1;position 1 100 120;reshape 1 250 300;display 1;");
  EXPECT_EQ(cpwCreateWindow(cpw, "second"), 2u);
  EXPECT_NE(cpw_null_log(cpw).find("create 2 \"second\" 100 100 200 300"), std::string::npos);
}

TEST_F(Windows, AFailedCreationLeavesNoWindowAndSetsTheHostsError) {
  cpw_null_failnext("setpixelformat");
  EXPECT_EQ(cpwCreateWindow(cpw, "a"), 0u);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_setpixelformat);
  EXPECT_NE(cpw_null_log(cpw).find("destroy 1"), std::string::npos);  // the host part is released
  cpw_null_failnext("createwindow");
  EXPECT_EQ(cpwCreateWindow(cpw, "b"), 0u);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_createwindowfailed);
  cpw_null_failnext("createglcontext");
  EXPECT_EQ(cpwCreateWindow(cpw, "c"), 0u);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_createcontext);
  EXPECT_EQ(ll_getLength(&cpw->list_win), 0u);
  EXPECT_EQ(cpwStackDepth(cpw), 0u);
  EXPECT_EQ(cpwCreateWindow(cpw, "d"), 4u);  // ids are never reused
}

TEST_F(Windows, OperationsOnAbsentWindowsFailWithError16) {
  EXPECT_FALSE(cpwSwapBuffers(cpw));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidwindowid);
  cpwSetLastError(cpw, 0);
  EXPECT_FALSE(cpwPostRedisplay(cpw));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidwindowid);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwGetWindow(cpw), 0u);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidwindowid);
  unsigned id = quiet_window();
  cpwSetLastError(cpw, 0);
  EXPECT_FALSE(cpwDestroyWindow(cpw, id + 1));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidwindowid);
  EXPECT_FALSE(cpwWindowDisplayCallback(cpw, on_display, id + 1));
  EXPECT_FALSE(cpwSetWindow(cpw, id + 1));
  EXPECT_FALSE(cpwReshapeWindow(cpw, 10, 10, id + 1));
  EXPECT_EQ(cpwGetWindow(cpw), id);
  EXPECT_TRUE(cpwSwapBuffers(cpw));
  EXPECT_TRUE(cpwSwapWindowBuffers(cpw, 0));  // 0: the window with the focus
  EXPECT_TRUE(cpwSetWindowUserdata(cpw, 77, id));
  EXPECT_EQ(cpwGetWindowUserdata(cpw, id), 77u);
}

TEST_F(Windows, AContextThatCouldNotBeMadeCurrentIsTriedAgain) {
  unsigned a = quiet_window(), b = quiet_window();
  cpw_null_failnext("makecurrent");
  EXPECT_FALSE(cpwSetWindow(cpw, a));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_makecurrent);
  EXPECT_EQ(cpw->win_currentid, 0u);
  cpw_null_clearlog(cpw);
  EXPECT_TRUE(cpwSetWindow(cpw, a));
  EXPECT_TRUE(cpwSetWindow(cpw, a));  // already current: the host is not asked again
  EXPECT_EQ(cpw_null_log(cpw), "current 1\n");
  EXPECT_EQ(cpw->win_currentid, a);
  EXPECT_NE(a, b);
}

TEST_F(Windows, ShowAndHideReportTheVisibilityBeforeTheCall) {
  unsigned id = quiet_window();
  EXPECT_TRUE(cpwHideWindow(cpw, id));
  EXPECT_FALSE(cpwHideWindow(cpw, id));
  EXPECT_FALSE(cpwShowWindow(cpw, id));
  EXPECT_TRUE(cpwShowWindow(cpw, id));
}

TEST_F(Windows, ReshapeStoresTheSizeQueuesReshapeAndDisplayAndResizesTheHostWindow) {
  record_all();
  unsigned id = quiet_window();
  cpw_null_clearlog(cpw);
  EXPECT_TRUE(cpwReshapeWindow(cpw, 320, 240, id));
  EXPECT_EQ(cpw_window_lookup(cpw, id)->width, 320u);
  EXPECT_EQ(cpw_null_log(cpw), "reshape 1 320 240\n");
  settle();
  EXPECT_EQ(joined(), "reshape 1 320 240;display 1;");
}

TEST_F(Windows, TheCursorChangesOnlyInTheFocusedWindowWithThePointerInside) {
  unsigned id = quiet_window();
  unsigned other = quiet_window();
  cpw_null_clearlog(cpw);
  // The newest window has the focus; the pointer is in neither.
  EXPECT_FALSE(cpwSetCursor(cpw, CursorBeam, id));
  EXPECT_FALSE(cpwSetCursor(cpw, CursorBeam, other));
  EXPECT_EQ(cpw_window_lookup(cpw, id)->cursor, CursorArrow);
  EXPECT_EQ(cpw_window_lookup(cpw, other)->cursor, CursorArrow);
  post(CPW_NULL_SETFOCUS, other);
  settle();
  cpw_null_clearlog(cpw);
  EXPECT_FALSE(cpwSetCursor(cpw, CursorBeam, other));  // always 0
  EXPECT_EQ(cpw_window_lookup(cpw, other)->cursor, CursorBeam);
  EXPECT_EQ(cpw_null_log(cpw), "cursor 2 5\n");
  EXPECT_FALSE(cpwSetCursor(cpw, CursorHand, id));
  EXPECT_EQ(cpw_window_lookup(cpw, id)->cursor, CursorArrow);
}

void redisplay_on_display(pCpw cpw, unsigned id) {
  on_display(cpw, id);
  cpwPostRedisplay(cpw);
}

TEST_F(Windows, FreeingTheContextDeliversWhatIsQueuedThenTheCloseRequests) {
  record_all();
  cpwDisplayCallback(cpw, redisplay_on_display);
  cpwCreateWindow(cpw, "a");
  cpwCreateWindow(cpw, "b");
  cpwFreeContext(&cpw);
  // Redisplays asked for during the shutdown are filtered out.
  EXPECT_EQ(joined(),
            "create 1 1;position 1 100 100;reshape 1 200 300;display 1;"
            "create 2 1;position 2 100 100;reshape 2 200 300;display 2;create 1 0;create 2 0;");
}

TEST_F(Windows, WithoutACreateCallbackACloseRequestDestroysTheWindow) {
  unsigned a = quiet_window(), b = quiet_window();
  post(CPW_NULL_CLOSE, b);
  settle();
  EXPECT_EQ(cpw_window_lookup(cpw, b), nullptr);
  EXPECT_NE(cpw_null_log(cpw).find("destroy 2"), std::string::npos);
  EXPECT_EQ(cpw->win_foregroundid, 0u);  // the focused window went away
  // Closing window 1 ends a running main loop by itself.
  post(CPW_NULL_CLOSE, a);
  EXPECT_TRUE(cpwMainLoop(cpw));
  EXPECT_EQ(ll_getLength(&cpw->list_win), 0u);
}

}  // namespace
