// The event queue, the dispatcher, the main loop, timers and the window
// procedure rules, driven through the null host.
#include <gtest/gtest.h>

#include <algorithm>

#include "null_host_fixture.h"
#include "toolkit/cpw_internal.h"

namespace {

using Events = NullHost;

TEST_F(Events, TheRingHolds256EventsAndDropsTheNextSilently) {
  record_all();
  unsigned id = quiet_window();
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(cpwPostWindowRedisplay(cpw, id));
  EXPECT_EQ(cpwStackDepth(cpw), 0u);  // read and write positions meet when full
  EXPECT_EQ(cpwNextEvent(cpw), unsigned(CPW_DISPLAY_EVENT));
  EXPECT_TRUE(cpwPostWindowRedisplay(cpw, id));  // dropped, reported as queued
  settle();
  EXPECT_EQ(calls.size(), 256u);
  EXPECT_EQ(cpwNextEvent(cpw), 0u);
}

TEST_F(Events, FiltersKeepEventsOutOfTheQueueButNotOutOfImmediateDelivery) {
  record_all();
  unsigned id = quiet_window();
  EXPECT_FALSE(cpwFilterEvent(cpw, CPW_DISPLAY_EVENT, true));
  EXPECT_TRUE(cpwFilterEvent(cpw, CPW_DISPLAY_EVENT, true));  // previous flag
  EXPECT_FALSE(cpwFilterEvent(cpw, 14, true));
  EXPECT_FALSE(cpwPostWindowRedisplay(cpw, id));
  EXPECT_EQ(cpwStackDepth(cpw), 0u);
  cpwFilterEvent(cpw, CPW_RESHAPE_EVENT, true);
  post(CPW_NULL_PAINT, id);
  post(CPW_NULL_SIZE, id, CPW_SIZE_RESTORED, 300, 200);
  settle();
  EXPECT_EQ(joined(), "display 1;reshape 1 300 200;display 1;");
  EXPECT_EQ(cpw_window_lookup(cpw, id)->width, 300u);
}

TEST_F(Events, OnlyTheLastOfConsecutivePositionOrReshapeEventsIsDelivered) {
  record_all();
  unsigned a = quiet_window(), b = quiet_window();
  cpw_event_insert(cpw, CPW_POSITION_EVENT, a, 1, 1);
  cpw_event_insert(cpw, CPW_POSITION_EVENT, b, 2, 2);  // of another window: merged all the same
  cpw_event_insert(cpw, CPW_POSITION_EVENT, a, 3, 3);
  cpw_event_insert(cpw, CPW_POSITION_EVENT, a, 4, 4);
  cpwPostWindowRedisplay(cpw, a);
  cpw_event_insert(cpw, CPW_RESHAPE_EVENT, a, 10, 20);
  cpw_event_insert(cpw, CPW_RESHAPE_EVENT, a, 30, 40);
  cpw_event_insert(cpw, CPW_POSITION_EVENT, a, 5, 5);
  cpwPostWindowRedisplay(cpw, a);
  settle();
  EXPECT_EQ(joined(), "position 1 4 4;display 1;reshape 1 30 40;position 1 5 5;display 1;");
  EXPECT_EQ(cpw_window_lookup(cpw, a)->x, 5u);
  EXPECT_EQ(cpw_window_lookup(cpw, a)->height, 40u);
  EXPECT_EQ(cpw_window_lookup(cpw, b)->x, 100u);  // its event was skipped
}

TEST_F(Events, EventsGoToTheWindowsCallbackThenTheContextsThenTheDefault) {
  unsigned a = quiet_window(), b = quiet_window();
  cpwReshapeCallback(cpw, on_reshape);
  cpwWindowReshapeCallback(cpw, [](pCpw, unsigned id, unsigned, unsigned) { calls.push_back("own " + std::to_string(id)); }, b);
  cpwReshapeWindow(cpw, 5, 5, a);
  cpwReshapeWindow(cpw, 6, 6, b);
  cpwReshapeWindow(cpw, 7, 7, a);
  settle();
  // Reshape events reach nothing but reshape callbacks; display has none here.
  EXPECT_EQ(joined(), "reshape 1 5 5;own 2;reshape 1 7 7;");
}

void three_redisplays(pCpw cpw, unsigned id) {
  on_display(cpw, id);
  if (calls.size() == 1)
    for (int i = 0; i < 3; ++i) cpwPostRedisplay(cpw);
}

TEST_F(Events, EveryQueuedDisplayEventGivesOneDisplayCallback) {
  unsigned id = quiet_window();
  cpwDisplayCallback(cpw, three_redisplays);
  cpwPostWindowRedisplay(cpw, id);
  settle();
  EXPECT_EQ(joined(), "display 1;display 1;display 1;display 1;");
}

TEST_F(Events, EventsForADestroyedWindowAreDropped) {
  record_all();
  unsigned a = quiet_window(), b = quiet_window();
  cpw_event_insert(cpw, CPW_MOUSECLICK_EVENT, b, 0, 0, 5, 5);
  cpwPostWindowRedisplay(cpw, a);
  cpwDestroyWindow(cpw, b);
  cpwSetLastError(cpw, 0);
  settle();
  EXPECT_EQ(joined(), "display 1;");
  EXPECT_EQ(cpwGetLastError(cpw), 0);
}

void break_on_display(pCpw cpw, unsigned id) {
  on_display(cpw, id);
  cpwBreakMainLoop(cpw);
}

TEST_F(Events, ABreakEndsTheLoopAtTheNextTurnAndLeftoverEventsWait) {
  unsigned id = quiet_window();
  cpwDisplayCallback(cpw, break_on_display);
  cpwPositionCallback(cpw, on_position);
  cpwBreakMainLoop(cpw);  // requested while not running: forgotten
  cpwPostWindowRedisplay(cpw, id);
  for (int i = 0; i < 5; ++i) cpw_event_insert(cpw, CPW_POSITION_EVENT, id, i, i);
  for (int i = 0; i < 5; ++i) cpwPostWindowRedisplay(cpw, id);
  EXPECT_TRUE(cpwMainLoop(cpw));
  // The turn that delivered the display event delivered at most two more.
  EXPECT_EQ(joined(), "display 1;");
  EXPECT_GT(cpwStackDepth(cpw), 0u);
  EXPECT_FALSE(cpwMainLoopIsRunning(cpw));
  calls.clear();
  EXPECT_TRUE(cpwMainLoop(cpw));
  // Skipped positions count as deliveries: the second loop's first turn ends
  // on the last position event, the break comes in the second turn, which
  // still delivers its three display events.
  EXPECT_EQ(joined(), "position 1 4 4;display 1;display 1;display 1;");
  EXPECT_EQ(cpwStackDepth(cpw), 2u);
}

TEST_F(Events, TheLoopReportsFailureWhenAnErrorIsStored) {
  quiet_window();
  cpwSetLastError(cpw, cpw_error_invalidwindowid);
  post(CPW_NULL_QUIT, 0);
  EXPECT_FALSE(cpwMainLoop(cpw));
  cpwSetLastError(cpw, -1);
  post(CPW_NULL_QUIT, 0);
  EXPECT_TRUE(cpwMainLoop(cpw));
}

std::vector<int> loop_turns;  // idle turn count at each main-loop callback
int idle_turns = 0;

TEST_F(Events, TheMainLoopCallbackRunsEveryNTurns) {
  for (unsigned every : {5u, 0u}) {
    loop_turns.clear();
    idle_turns = 0;
    cpwIdleCallback(cpw, [](pCpw) { ++idle_turns; });
    cpwMainLoopCallback(cpw, [](pCpw cpw, bool activity) {
      EXPECT_FALSE(activity);
      loop_turns.push_back(idle_turns);
      if (loop_turns.size() == 3) cpwBreakMainLoop(cpw);
    }, every);
    double clock = cpw_null_clock(cpw);
    cpwMainLoop(cpw);
    if (every == 5)
      EXPECT_EQ(loop_turns, (std::vector<int>{5, 10, 15}));
    else
      EXPECT_EQ(loop_turns, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cpw_null_clock(cpw), clock);  // the idle callback replaces the sleep
  }
}

std::vector<std::string> fired;

void on_timer(pCpw cpw, unsigned id) {
  fired.push_back(std::to_string(id) + "@" + std::to_string(int(cpw_null_clock(cpw))));
}

TEST_F(Events, TimersFireOnTheFirstTurnAfterTheirIntervalAndOneShotsGoAway) {
  fired.clear();
  EXPECT_FALSE(cpwKillTimer(cpw, 1));  // no timers at all
  int t0 = int(cpw_null_clock(cpw));
  cpwTimerCallback(cpw, 0, 1, false, on_timer);
  cpwTimerCallback(cpw, 10, 3, false, on_timer);
  EXPECT_TRUE(cpw->timers);
  EXPECT_TRUE(cpwKillTimer(cpw, 99));  // no timer has that id
  // The idle loop's wait moves the virtual clock straight to the next timer.
  cpwMainLoopCallback(cpw, [](pCpw cpw, bool) {
    if (!cpw->list_timers.baseElement) cpwBreakMainLoop(cpw);
  }, 1);
  cpwMainLoop(cpw);
  EXPECT_EQ(fired, (std::vector<std::string>{"1@" + std::to_string(t0), "3@" + std::to_string(t0 + 10)}));
  EXPECT_EQ(int(cpw_null_clock(cpw)), t0 + 10);
  EXPECT_EQ(ll_getLength(&cpw->list_timers), 0u);
  EXPECT_FALSE(cpw_timers_tick(cpw));
  EXPECT_FALSE(cpw->timers);  // the loop stops looking at timers
  // A repeating timer of 0 milliseconds fires on every tick.
  fired.clear();
  cpwTimerCallback(cpw, 0, 2, true, on_timer);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(cpw_timers_tick(cpw));
  EXPECT_EQ(fired.size(), 3u);
  EXPECT_TRUE(cpwKillTimer(cpw, 2));
  EXPECT_EQ(ll_getLength(&cpw->list_timers), 0u);
}

int drawn_at = -1;
void redraw_all(pCpw cpw, unsigned) { cpwPostRedisplay(cpw); }
void break_loop(pCpw cpw, unsigned) { cpwBreakMainLoop(cpw); }

// A repeating timer asks for a redraw, or a break, while a later timer
// (examined after it, not due) makes the turn look idle: the loop does that
// work before it waits for the next timer.
TEST_F(Events, WorkLeftByATimerIsDoneBeforeTheLoopWaitsForTheNextTimer) {
  quiet_window();
  cpwDisplayCallback(cpw, [](pCpw cpw, unsigned) {
    drawn_at = int(cpw_null_clock(cpw));
    cpwBreakMainLoop(cpw);
  });
  for (CpwTimerCallback first : {redraw_all, break_loop}) {
    drawn_at = -1;
    int t0 = int(cpw_null_clock(cpw));
    cpwTimerCallback(cpw, 100, 1, true, first);
    cpwTimerCallback(cpw, 1000, 2, true, on_timer);
    ASSERT_TRUE(cpwMainLoop(cpw));
    EXPECT_EQ(int(cpw_null_clock(cpw)), t0 + 100);
    if (first == redraw_all) {
      EXPECT_EQ(drawn_at, t0 + 100);
    }
    cpwKillTimer(cpw, 1);
    cpwKillTimer(cpw, 2);
  }
}

TEST_F(Events, ARepeatingTimerIsReArmedFromTheMomentItFired) {
  fired.clear();
  int t0 = int(cpw_null_clock(cpw));
  cpwTimerCallback(cpw, 10, 4, true, on_timer);
  cpw_null_advance(cpw, 9);
  EXPECT_FALSE(cpw_timers_tick(cpw));
  cpw_null_advance(cpw, 4);  // fires 3 ms late
  EXPECT_TRUE(cpw_timers_tick(cpw));
  cpw_null_advance(cpw, 9);
  EXPECT_FALSE(cpw_timers_tick(cpw));
  cpw_null_advance(cpw, 1);
  EXPECT_TRUE(cpw_timers_tick(cpw));
  EXPECT_EQ(fired, (std::vector<std::string>{"4@" + std::to_string(t0 + 13), "4@" + std::to_string(t0 + 23)}));
}

TEST_F(Events, ATickReportsTheLastTimerItExamined) {
  fired.clear();
  cpwTimerCallback(cpw, 0, 1, true, on_timer);
  cpwTimerCallback(cpw, 50, 2, true, on_timer);
  EXPECT_FALSE(cpw_timers_tick(cpw));  // 1 fired, 2 (examined last) did not
  EXPECT_EQ(fired.size(), 1u);
  cpw_null_advance(cpw, 50);
  EXPECT_TRUE(cpw_timers_tick(cpw));
  EXPECT_EQ(fired.size(), 3u);
}

void kill_self(pCpw cpw, unsigned id) {
  fired.push_back("killed " + std::to_string(id));
  cpwKillTimer(cpw, id);
}

TEST_F(Events, ARepeatingTimerMayKillItselfFromItsCallback) {
  fired.clear();
  cpwTimerCallback(cpw, 0, 7, true, kill_self);
  cpwTimerCallback(cpw, 0, 8, true, on_timer);
  cpw_timers_tick(cpw);
  cpw_timers_tick(cpw);
  EXPECT_EQ(fired.front(), "killed 7");
  EXPECT_EQ(std::count(fired.begin(), fired.end(), "killed 7"), 1);
  EXPECT_EQ(ll_getLength(&cpw->list_timers), 1u);
}

TEST_F(Events, UpdateRunsTurnsUntilOneFindsNothingToDo) {
  unsigned id = quiet_window();
  cpwDisplayCallback(cpw, on_display);
  EXPECT_FALSE(cpwMainLoopUpdate(cpw, 10));
  for (int i = 0; i < 9; ++i) cpwPostWindowRedisplay(cpw, id);
  EXPECT_TRUE(cpwMainLoopUpdate(cpw, 1));   // 3 delivered, more pending
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_FALSE(cpwMainLoopUpdate(cpw, 10)); // drains the rest, then a turn is idle
  EXPECT_EQ(calls.size(), 9u);
  cpwBreakMainLoop(cpw);
  EXPECT_TRUE(cpwMainLoopUpdate(cpw, 10));
}

TEST_F(Events, QueueInspectionCancelsWithoutRemoving) {
  record_all();
  unsigned a = quiet_window(), b = quiet_window();
  cpwPostWindowRedisplay(cpw, a);
  cpwReshapeWindow(cpw, 8, 8, b);  // reshape b, display b
  cpwPostWindowRedisplay(cpw, a);
  EXPECT_EQ(cpwStackDepth(cpw), 4u);
  EXPECT_EQ(cpwNextEvent(cpw), unsigned(CPW_DISPLAY_EVENT));
  EXPECT_EQ(cpwNextWindowEvent(cpw, b), unsigned(CPW_RESHAPE_EVENT));
  EXPECT_TRUE(cpwPopEvent(cpw));  // the first display of a
  EXPECT_EQ(cpwNextEvent(cpw), unsigned(CPW_RESHAPE_EVENT));
  cpwClearWindowEvent(cpw, CPW_DISPLAY_EVENT, b);
  settle();
  EXPECT_EQ(joined(), "reshape 2 8 8;display 1;");
  calls.clear();
  cpwPostWindowRedisplay(cpw, a);
  cpwPostWindowRedisplay(cpw, b);
  cpwClearWindowEvents(cpw, a);
  settle();
  EXPECT_EQ(joined(), "display 2;");
  calls.clear();
  cpwPostRedisplay(cpw);
  cpwClearEvent(cpw, CPW_DISPLAY_EVENT);
  EXPECT_EQ(cpwNextEvent(cpw), 0u);
  cpwPostRedisplay(cpw);
  cpwClearEvents(cpw);
  settle();
  EXPECT_EQ(joined(), "");
}

using WindowProcedure = NullHost;

TEST_F(WindowProcedure, FocusBringsEntryAndVisibilityEventsAndLosingItUndoesThem) {
  record_all();
  unsigned a = quiet_window(), b = quiet_window();
  cpw_null_clearlog(cpw);
  post(CPW_NULL_SETFOCUS, a);
  settle();
  EXPECT_EQ(joined(), "visibility 1 2;entry 1 0;");
  EXPECT_EQ(cpw->win_foregroundid, a);
  EXPECT_EQ(cpw->win_currentid, a);
  EXPECT_EQ(cpw_null_log(cpw), "current 1\ncursor 1 1\n");
  calls.clear();
  post(CPW_NULL_SETCURSOR, a, 1);  // already inside: nothing new
  post(CPW_NULL_SETCURSOR, b, 1);  // b has no focus: no entry
  post(CPW_NULL_KILLFOCUS, a);
  post(CPW_NULL_SETCURSOR, a, 0);
  settle();
  EXPECT_EQ(joined(), "entry 1 1;visibility 1 3;");
  EXPECT_EQ(cpw->win_foregroundid, 0u);
  EXPECT_FALSE(cpw_window_lookup(cpw, a)->cursorpresent);
  calls.clear();
  post(CPW_NULL_SHOWWINDOW, b, 0);
  post(CPW_NULL_SIZE, b, CPW_SIZE_MINIMIZED, 0, 0);
  post(CPW_NULL_CLOSE, b);
  settle();
  EXPECT_EQ(joined(), "visibility 2 0;visibility 2 4;create 2 0;");
}

TEST_F(WindowProcedure, MouseMovesAndDragsReachOnlyTheFocusedWindow) {
  record_all();
  unsigned a = quiet_window();
  post(CPW_NULL_MOUSEMOVE, a, 0, 0, 10, 10);  // no host focus yet
  post(CPW_NULL_SETFOCUS, a);
  settle();
  calls.clear();
  post(CPW_NULL_MOUSEMOVE, a, 0, 0, 12, 15);
  post(CPW_NULL_MOUSEMOVE, a, CPW_MK_LBUTTON, 0, 13, 16);
  post(CPW_NULL_MOUSEMOVE, a, CPW_MK_RBUTTON, 0, 14, 17);
  post(CPW_NULL_MOUSEMOVE, a, CPW_MK_MBUTTON, 0, 15, 18);
  post(CPW_NULL_MOUSEMOVE, a, CPW_MK_LBUTTON | CPW_MK_SHIFT, 0, -5, -7);  // outside, captured
  settle();
  EXPECT_EQ(joined(), "move 1 12 15;drag 1 0 13 16;drag 1 2 14 17;drag 1 1 15 18;drag 1 -1 -5 -7;");
  CpwLocalhost* lh = cpw->ctx_localhost;
  EXPECT_EQ(lh->mousex, -5);
  EXPECT_EQ(lh->accumx, 0 - (-5));  // the sum of (previous - new) positions
  calls.clear();
  cpwFilterEvent(cpw, CPW_MOUSEMOTION_EVENT, true);
  cpwFilterEvent(cpw, CPW_MOUSEDRAG_EVENT, true);
  post(CPW_NULL_MOUSEMOVE, a, 0, 0, 50, 50);
  settle();
  EXPECT_EQ(lh->mousex, -5);  // with both filtered the message is not looked at
}

TEST_F(WindowProcedure, ButtonsCaptureTheMouseAndTheWheelCountsNotches) {
  record_all();
  unsigned a = quiet_window();
  cpw_null_clearlog(cpw);
  post(CPW_NULL_BUTTON, a, 0, 1, 10, 20);
  post(CPW_NULL_BUTTON, a, 0, 0, -3, -4);
  post(CPW_NULL_BUTTON, a, 2, 1, 1, 1);
  post(CPW_NULL_WHEEL, a, -120, 0, 9, 9);
  post(CPW_NULL_WHEEL, a, 60, 0, 9, 9);
  post(CPW_NULL_WHEEL, a, 360, 0, 9, 9);
  settle();
  // Unsigned click arguments carry negative positions as their images.
  EXPECT_EQ(joined(), "click 1 0 0 10 20;click 1 1 0 -3 -4;click 1 0 2 1 1;click 1 2 1 -1 0;click 1 2 1 0 0;click 1 2 1 3 0;");
  EXPECT_EQ(cpw->ctx_localhost->wheel, 0);  // -1, unchanged, +1
  EXPECT_TRUE(cpw->ctx_localhost->buttons[2]);
  EXPECT_FALSE(cpw->ctx_localhost->buttons[0]);
  EXPECT_EQ(cpw_null_log(cpw), "capture 1 on\ncapture 1 off\ncapture 1 on\n");
}

TEST_F(WindowProcedure, KeysBecomeCharactersOrSystemKeys) {
  record_all();
  unsigned a = quiet_window();
  post(CPW_NULL_KEY, a, 'A', 1, 3, 4);
  post(CPW_NULL_KEY, a, 'A', 1, 3, 4, true);
  post(CPW_NULL_KEY, a, 'A', 0, 3, 4, false, true);  // caps lock shifts letters
  post(CPW_NULL_KEY, a, '1', 1, 0, 0, true);
  post(CPW_NULL_KEY, a, 0x61, 1, 0, 0, true);  // numeric pad 1: never shifted
  post(CPW_NULL_KEY, a, 0xBA, 1, 0, 0, true);  // ; and :
  post(CPW_NULL_KEY, a, '5', 1, 0, 0, false, true);  // caps lock leaves digits alone
  post(CPW_NULL_KEY, a, 0x74, 1);  // F5
  post(CPW_NULL_KEY, a, 0x74, 0);
  post(CPW_NULL_KEY, a, 0xA0, 1);  // left shift
  settle();
  EXPECT_EQ(joined(), "key 1 a 1 3 4;key 1 A 1 3 4;key 1 A 2 3 4;key 1 ! 1 0 0;key 1 1 1 0 0;key 1 : 1 0 0;"
                      "key 1 5 1 0 0;skey 1 5 1;skey 1 5 2;skey 1 24 1;");
  EXPECT_FALSE(cpw->keyboard_state[CPW_KEY_A]);  // released last
  EXPECT_TRUE(cpw->keyboard_state[CPW_KEY_1]);
  EXPECT_FALSE(cpw->keyboard_state[5]);
  EXPECT_TRUE(cpw->keyboard_state[CPW_KEY_SHIFT]);
  EXPECT_TRUE(cpw->keyboard_state[CPW_KEY_LSHIFT]);
  EXPECT_FALSE(cpw->keyboard_state[CPW_KEY_RSHIFT]);
  calls.clear();
  testing::internal::CaptureStdout();
  post(CPW_NULL_KEY, a, 0x5B, 1);  // the Windows key has no toolkit code
  settle();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "error in key processing (0)\n");
  EXPECT_EQ(joined(), "");
}

TEST_F(WindowProcedure, MessagesForUnknownWindowsAreIgnoredAndQuitStopsTheLoop) {
  record_all();
  unsigned a = quiet_window();
  post(CPW_NULL_BUTTON, 42, 0, 1, 1, 1);
  post(CPW_NULL_PAINT, 42);
  post(CPW_NULL_DISPLAYCHANGE, 0, 1280, 1024);
  post(CPW_NULL_QUIT, 0);
  post(CPW_NULL_PAINT, a);  // after the quit: waits for the next loop
  EXPECT_TRUE(cpwMainLoop(cpw));
  EXPECT_EQ(joined(), "");
  EXPECT_EQ(cpw->cpw_screenwidth, 1280u);
  EXPECT_EQ(cpw_null_pending(cpw), 1);
}

}  // namespace
