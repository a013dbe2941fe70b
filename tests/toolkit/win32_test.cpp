// The Win32 host with real windows (under Wine on a display in the test
// run): ids, classes and styles, the events of creation, reshape, the pixel
// format and text read back, the mouse through sent messages, close
// requests, keys from SendInput through the low-level hook, the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "recorder.h"
#include "toolkit/cpw.h"
#include "toolkit/cpw_gl.h"
#include "toolkit/host/cpw_host.h"

namespace {

class Win32 : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(cpwInitContext(&cpw));
    record_all_callbacks(cpw);
  }
  void TearDown() override { cpwFreeContext(&cpw); }

  // Runs loop turns until `done` holds or `ms` have passed.
  template <class Done>
  bool pump_until(Done done, int ms = 3000) {
    for (ULONGLONG end = GetTickCount64() + ULONGLONG(ms); GetTickCount64() < end; Sleep(2)) {
      cpwMainLoopUpdate(cpw, 3);
      if (done()) return true;
    }
    return false;
  }
  void pump_for(int ms) { pump_until([] { return false; }, ms); }
  bool seen(const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

  HWND hwnd(unsigned id) {
    std::uintptr_t native = 0;
    cpwGetNativeWindow(cpw, id, &native, nullptr);
    return reinterpret_cast<HWND>(native);
  }
  // A window that has been created and drawn.
  unsigned open(const char* title, unsigned x, unsigned y, unsigned w, unsigned h) {
    unsigned id = cpwCreateWindowEx(cpw, title, x, y, w, h);
    std::string shown = "display " + std::to_string(id);
    EXPECT_TRUE(pump_until([&] { return seen(shown); })) << title;
    return id;
  }
  SIZE client_size(unsigned id) {
    RECT r{};
    GetClientRect(hwnd(id), &r);
    return SIZE{r.right, r.bottom};
  }

  pCpw cpw = nullptr;
};

LPARAM at(int x, int y) { return LPARAM((unsigned(y) & 0xFFFF) << 16 | (unsigned(x) & 0xFFFF)); }

// Notes display callbacks that run without the window's own rendering context current.
int wrong_context = 0;
void on_display_checked(pCpw cpw, unsigned id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w || !w->plhwc->glContext || wglGetCurrentContext() != w->plhwc->glContext) ++wrong_context;
  on_display(cpw, id);
}

TEST_F(Win32, WindowsHaveIdsClassesStylesAndTheEventsOfCreationInOrder) {
  wrong_context = 0;
  cpwDisplayCallback(cpw, on_display_checked);
  ASSERT_EQ(open("First", 100, 100, 200, 150), 1u);
  // The toolkit's own events of creation in this order; what the system
  // reported while it showed the window may come before.
  std::vector<std::string> after;
  for (auto c = std::find(calls.begin(), calls.end(), "create 1 1"); c != calls.end(); ++c)
    if (c->rfind("position", 0) == 0 || c->rfind("reshape", 0) == 0 || c->rfind("display", 0) == 0)
      after.push_back(*c);
  ASSERT_GE(after.size(), 3u) << joined();
  EXPECT_EQ(after[0], "position 1 100 100");
  EXPECT_EQ(after[1], "reshape 1 200 150");
  EXPECT_EQ(after[2], "display 1");

  // The context's class; the context and the id attached whole.
  HWND h = hwnd(1);
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  EXPECT_STREQ(name, cpw->ctx_localhost->classname);
  EXPECT_EQ(std::strncmp(name, "CPWWindow", 9), 0);
  EXPECT_EQ(GetClassLongPtrA(h, 0), reinterpret_cast<ULONG_PTR>(cpw));
  EXPECT_EQ(GetWindowLongPtrA(h, 0), 1);
  RECT outer;
  GetWindowRect(h, &outer);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 100);
  const LONG boxes = WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & boxes, boxes);

  // Caption only, fixed frame: no close box, no resizing; the outer size
  // is the client size plus caption and border.
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_NODRESSING, 0, 0);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_FIXEDFRAME, 0, 0);
  unsigned fixed = open("Caption only", 350, 100, 250, 180);
  EXPECT_EQ(fixed, 2u);
  LONG style = GetWindowLongA(hwnd(fixed), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & boxes, 0) << std::hex << style;
  RECT want{0, 0, 250, 180};
  AdjustWindowRect(&want, WS_CAPTION, FALSE);
  GetWindowRect(hwnd(fixed), &outer);
  EXPECT_EQ(outer.bottom - outer.top, want.bottom - want.top);
  EXPECT_GT(outer.bottom - outer.top, 180);
  EXPECT_EQ(client_size(fixed).cy, 180);

  // Ids are never reused; every display callback drew into its own window.
  HWND h2 = hwnd(fixed);
  EXPECT_TRUE(cpwDestroyWindow(cpw, fixed));
  EXPECT_FALSE(IsWindow(h2));
  EXPECT_EQ(open("Third", 350, 100, 120, 80), 3u);
  EXPECT_EQ(wrong_context, 0);
}

TEST_F(Win32, ReshapeKeepsThePositionAndHideShowReportVisibility) {
  unsigned id = open("Reshaped", 120, 110, 120, 80);
  RECT before, after;
  GetWindowRect(hwnd(id), &before);
  EXPECT_TRUE(cpwReshapeWindow(cpw, 150, 90, id));
  ASSERT_TRUE(pump_until([&] { return seen("reshape 1 150 90"); })) << joined();
  GetWindowRect(hwnd(id), &after);
  EXPECT_EQ(client_size(id).cx, 150);
  EXPECT_EQ(client_size(id).cy, 90);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_TRUE(cpwHideWindow(cpw, id));  // was visible
  EXPECT_FALSE(IsWindowVisible(hwnd(id)));
  EXPECT_FALSE(cpwShowWindow(cpw, id));
  ASSERT_TRUE(pump_until([&] { return seen("visibility 1 0") && seen("visibility 1 1"); })) << joined();
}

TEST_F(Win32, TheDisplayModeChoosesThePixelFormatAndTextIsDrawn) {
  unsigned id = open("Text", 100, 100, 200, 60);
  void* dc = nullptr;
  ASSERT_TRUE(cpwGetNativeWindow(cpw, id, nullptr, &dc));
  HDC hdc = static_cast<HDC>(dc);
  PIXELFORMATDESCRIPTOR pfd{};
  ASSERT_GT(DescribePixelFormat(hdc, GetPixelFormat(hdc), sizeof pfd, &pfd), 0);
  EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
  const DWORD flags = PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW;
  EXPECT_EQ(pfd.dwFlags & flags, flags);
  EXPECT_GE(pfd.cDepthBits, 8);
  // A second window has a context of its own.
  unsigned other = open("Other", 350, 100, 100, 60);
  ASSERT_TRUE(cpwSetWindow(cpw, other));
  HGLRC second = wglGetCurrentContext();
  ASSERT_TRUE(cpwSetWindow(cpw, id));
  EXPECT_NE(wglGetCurrentContext(), second);

  CpwFontFace face = cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_HOST, nullptr);
  ASSERT_NE(face, nullptr) << "no arial.ttf in the Windows font folder, error " << cpwGetLastError(cpw);
  glViewport(0, 0, 200, 60);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 200, 0, 60, -1, 1);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1, 1, 1, 1);
  cpwFontMode(cpw, CPW_FONTOPT_SIZE, 40);
  cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_GLFORMAT, GL_RGBA);
  glRasterPos2d(10, 15);
  ASSERT_TRUE(cpwDrawFont(cpw, face, "HH", CPW_DRAWFONT_PIXELS));
  std::vector<unsigned char> pixels(200 * 60 * 4);
  glReadPixels(0, 0, 200, 60, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int inside = 0, outside = 0;  // lit pixels; two H of 40 pixels stand on the baseline
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if (pixels[(y * 200 + x) * 4] > 128) ++(x >= 10 && x < 90 && y >= 15 && y < 55 ? inside : outside);
  EXPECT_GT(inside, 300);
  EXPECT_EQ(outside, 0);
  EXPECT_TRUE(cpwSwapWindowBuffers(cpw, id));
  cpwUnloadFont(cpw, face);
}

TEST_F(Win32, ButtonsCaptureTheMouseAndTheWheelCountsNotches) {
  unsigned id = open("Mouse", 100, 100, 200, 150);
  HWND h = hwnd(id);
  ASSERT_EQ(cpw->ctx_localhost->focusid, id) << "the new window did not get the focus";
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 20));
  EXPECT_EQ(GetCapture(), h);
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, at(-5, -7));  // outside, still captured
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(6, 7));
  SendMessageA(h, WM_LBUTTONUP, 0, at(-5, -7));
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(h, WM_RBUTTONDOWN, MK_RBUTTON, at(50, 60));
  SendMessageA(h, WM_MOUSEMOVE, 0, at(70, 80));
  // The wheel's position is on the screen; the notches are truncated.
  for (short delta : {120, 240, -120, 60}) SendMessageA(h, WM_MOUSEWHEEL, WPARAM(MAKELONG(0, delta)), at(150, 150));
  ASSERT_TRUE(pump_until([&] { return seen("click 1 2 1 0 0"); })) << joined();
  for (const char* c : {"click 1 0 0 10 20", "drag 1 0 -5 -7", "drag 1 -1 6 7", "click 1 1 0 -5 -7",
                        "click 1 0 2 50 60", "move 1 70 80", "click 1 2 1 1 0", "click 1 2 1 2 0", "click 1 2 1 -1 0"})
    EXPECT_TRUE(seen(c)) << c << ": " << joined();
  EXPECT_EQ(cpw->ctx_localhost->wheel, 1);  // two forward, one back, half a notch nothing
}

TEST_F(Win32, ThePointerLeavesAndEntersTheClientArea) {
  unsigned id = open("Pointer", 100, 100, 200, 150);
  POINT origin{0, 0};
  ClientToScreen(hwnd(id), &origin);
  // Taking the focus counts as the pointer entering; once it was inside it
  // leaves, also without crossing the frame.
  SetCursorPos(origin.x + 20, origin.y + 30);
  ASSERT_TRUE(pump_until([&] { return seen("move 1 20 30"); })) << joined();
  SetCursorPos(origin.x + 600, origin.y + 600);
  ASSERT_TRUE(pump_until([&] { return seen("entry 1 1"); })) << joined();
  calls.clear();
  SetCursorPos(origin.x + 50, origin.y + 60);
  ASSERT_TRUE(pump_until([&] { return seen("entry 1 0"); })) << joined();
  cpwSetCursor(cpw, CursorNone, id);
  EXPECT_EQ(GetCursor(), nullptr);
  cpwSetCursor(cpw, CursorBeam, id);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)));
}

TEST_F(Win32, ACloseRequestReachesTheCreateCallbackOrClosesTheWindow) {
  unsigned id = open("Close me", 100, 100, 120, 80);
  HWND h = hwnd(id);
  PostMessageA(h, WM_CLOSE, 0, 0);
  ASSERT_TRUE(pump_until([&] { return seen("create 1 0"); })) << joined();
  EXPECT_TRUE(IsWindow(h));  // the callback decides

  // Without a create callback the window is destroyed, which ends the loop.
  cpwCreateCallback(cpw, nullptr);
  PostMessageA(h, WM_CLOSE, 0, 0);
  cpwTimerCallback(cpw, 3000, 1, false, [](pCpw cpw, unsigned) { cpwBreakMainLoop(cpw); });
  EXPECT_TRUE(cpwMainLoop(cpw));
  EXPECT_EQ(cpw_window_lookup(cpw, id), nullptr);
  EXPECT_FALSE(IsWindow(h));
}

// ---- keys ---------------------------------------------------------------------

std::vector<std::string> hooked;

// Notes each record with the key state and the character as the hook sees them.
bool record_hook(pCpw cpw, const CpwKeyRecord* k) {
  unsigned char state[256];
  cpwGetKeyboardState(cpw, state);
  unsigned char ch = 0;
  int n = cpwToAscii(cpw, k->vk, k->scancode, state, &ch);
  char line[96];
  std::snprintf(line, sizeof line, "%02X %02X%s %s%s %d", k->vk, k->scancode, k->flags & CPW_KEYREC_EXTENDED ? "e" : "",
                k->up ? "up" : "down", cpwKeyDown(cpw, k->vk) == !k->up ? "" : " (state!)", n ? int(ch) : -1);
  hooked.push_back(line);
  return k->vk == 'Q';  // consumes Q
}

void send_key(WORD vk, WORD scan, bool up, bool extended = false) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  SendInput(1, &in, sizeof in);
}
void tap(WORD vk, WORD scan, bool extended = false) {
  send_key(vk, scan, false, extended);
  send_key(vk, scan, true, extended);
}

std::vector<std::string> key_events() {
  std::vector<std::string> keys;
  for (const std::string& c : calls)
    if (c.rfind("key ", 0) == 0)
      keys.push_back(c.substr(0, 10));  // without the pointer position
    else if (c.rfind("skey ", 0) == 0)
      keys.push_back(c);
  return keys;
}

// A window of another class, top-level or a child; it counts its key messages.
int plain_keys = 0;
LRESULT CALLBACK plain_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) ++plain_keys;
  return DefWindowProcA(h, msg, wp, lp);
}
HWND plain_window(HWND parent) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = plain_proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VantyrTestPlain";
  RegisterClassA(&wc);  // fails harmlessly the second time
  DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  return CreateWindowExA(0, "VantyrTestPlain", "Plain", style, 0, 0, 100, 60, parent, nullptr, wc.hInstance, nullptr);
}

class Win32Keys : public Win32 {
 protected:
  void SetUp() override {
    Win32::SetUp();
    if (HasFatalFailure()) return;
    hooked.clear();
    plain_keys = 0;
    id = open("Keys", 100, 100, 200, 150);
    ASSERT_EQ(GetForegroundWindow(), hwnd(id));
    ASSERT_TRUE(cpwSetKeyHook(cpw, record_hook));
    calls.clear();
  }
  unsigned id = 0;
};

TEST_F(Win32Keys, EachKeyReachesTheHookOnceWithItsStateThenTheToolkitEvent) {
  tap('A', 0x1E);
  send_key(VK_LSHIFT, 0x2A, false);
  tap('A', 0x1E);
  send_key(VK_LSHIFT, 0x2A, true);
  tap(VK_RIGHT, 0x4D, true);
  tap('Q', 0x10);
  send_key(VK_LCONTROL, 0x1D, false);
  tap('C', 0x2E);
  send_key(VK_LCONTROL, 0x1D, true);
  ASSERT_TRUE(pump_until([&] { return hooked.size() >= 14; })) << hooked.size();
  pump_for(150);  // nothing more, nothing twice
  std::vector<std::string> want = {"41 1E down 97",   "41 1E up 97",  "A0 2A down -1",  "41 1E down 65",
                                   "41 1E up 65",     "A0 2A up -1",  "27 4De down -1", "27 4De up -1",
                                   "51 10 down 113",  "51 10 up 113", "A2 1D down -1",  "43 2E down 3",
                                   "43 2E up 3",      "A2 1D up -1"};
  EXPECT_EQ(hooked, want);
  // No toolkit event for the consumed Q.
  std::vector<std::string> events = {"key 1 a 1 ", "key 1 a 2 ", "skey 1 24 1", "key 1 A 1 ", "key 1 A 2 ",
                                     "skey 1 24 2", "skey 1 15 1", "skey 1 15 2", "skey 1 25 1", "key 1 c 1 ",
                                     "key 1 c 2 ", "skey 1 25 2"};
  EXPECT_EQ(key_events(), events) << joined();
  EXPECT_EQ(cpwVkKeyScan(cpw, 'A'), 0x141);
  EXPECT_EQ(cpwVkKeyScan(cpw, 3), 0x243);

  // A message without a record of the low-level hook makes its own: the
  // side of a modifier from its scan code.
  hooked.clear();
  PostMessageA(hwnd(id), WM_KEYDOWN, VK_SHIFT, 0x36 << 16 | 1);
  ASSERT_TRUE(pump_until([&] { return hooked.size() == 1; }));
  EXPECT_EQ(hooked[0], "A1 36e down -1");
  EXPECT_TRUE(cpwKeyDown(cpw, VK_SHIFT));
  EXPECT_FALSE(cpwKeyDown(cpw, VK_LSHIFT));
}

TEST_F(Win32Keys, AKeyTypedDuringSlowRedrawsReachesTheHookOnce) {
  cpwDisplayCallback(cpw, [](pCpw, unsigned) { Sleep(60); });
  tap('E', 0x12);
  for (int i = 0; i < 6; ++i) PostMessageA(hwnd(id), WM_PAINT, 0, 0);  // before the key in the queue
  ASSERT_TRUE(pump_until([&] { return hooked.size() >= 2; })) << hooked.size();
  pump_for(200);
  EXPECT_EQ(hooked, (std::vector<std::string>{"45 12 down 101", "45 12 up 101"}));
  EXPECT_EQ(key_events(), (std::vector<std::string>{"key 1 e 1 ", "key 1 e 2 "})) << joined();
}

// The click is in the toolkit's queue when the key's message is read: the
// key reaches the hook after the click's event, as it came.
TEST_F(Win32Keys, AKeyAfterAClickReachesTheHookAfterTheClick) {
  ASSERT_TRUE(cpwSetKeyHook(cpw, hook_in_calls));
  calls.clear();
  PostMessageA(hwnd(id), WM_LBUTTONDOWN, MK_LBUTTON, at(10, 20));
  PostMessageA(hwnd(id), WM_LBUTTONUP, 0, at(10, 20));
  tap('X', 0x2D);
  Sleep(100);                            // the key's messages are in the queue
  cpw_host(cpw).processevents(cpw, 20);  // one long pump, as when the queue lags behind
  ASSERT_TRUE(pump_until([&] { return seen("hook up"); })) << joined();
  auto first = [&](const std::string& prefix) {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].rfind(prefix, 0) == 0) return i;
    return calls.size();
  };
  EXPECT_LT(first("click 1 1 0"), first("hook down")) << joined();
}

TEST_F(Win32Keys, OnlyKeysOfTheContextsWindowsReachTheHook) {
  // Another window in front: its keys are its own.
  HWND plain = plain_window(nullptr);
  SetForegroundWindow(plain);
  SetFocus(plain);
  ASSERT_EQ(GetForegroundWindow(), plain);
  tap('B', 0x30);
  ASSERT_TRUE(pump_until([&] { return plain_keys == 2; })) << plain_keys;
  pump_for(150);
  EXPECT_TRUE(hooked.empty()) << hooked[0];
  DestroyWindow(plain);

  // A child of the toolkit's window has the focus: the key is the window's,
  // but its messages go to the child. The low-level record alone reaches
  // the hook, and no toolkit key event follows.
  SetForegroundWindow(hwnd(id));
  SetFocus(plain_window(hwnd(id)));
  pump_for(50);
  plain_keys = 0;
  calls.clear();
  tap('D', 0x20);
  ASSERT_TRUE(pump_until([&] { return hooked.size() == 2; })) << hooked.size();
  EXPECT_EQ(hooked[0].substr(0, 8), "44 20 do");
  EXPECT_EQ(hooked[1].substr(0, 8), "44 20 up");
  EXPECT_EQ(plain_keys, 2);
  EXPECT_TRUE(key_events().empty()) << joined();
}

ULONGLONG typed_at = 0, arrived_at = 0;
WORD typed_vk = 0, typed_scan = 0;

// Types a key from another thread, 300 ms into the main loop, which the
// hook ends when the key is released; the loop's only timer is 5 s away.
void type_while_looping(pCpw cpw, WORD vk, WORD scan) {
  typed_vk = vk;
  typed_scan = scan;
  cpwKillTimer(cpw, 1);
  cpwTimerCallback(cpw, 5000, 1, false, [](pCpw cpw, unsigned) {
    hooked.push_back("timeout");
    cpwBreakMainLoop(cpw);
  });
  HANDLE typist = CreateThread(nullptr, 0, [](LPVOID) -> DWORD {
    Sleep(300);
    typed_at = GetTickCount64();
    tap(typed_vk, typed_scan);
    return 0;
  }, nullptr, 0, nullptr);
  ASSERT_NE(typist, nullptr);
  EXPECT_TRUE(cpwMainLoop(cpw));
  WaitForSingleObject(typist, 10000);
  CloseHandle(typist);
}

// The system calls the low-level hook through sent messages: a loop that
// waits with nothing to do must wake for them, or every key of the desktop
// waits for the system to give up on the hook. A key reaches the hook once,
// at once; so does one typed into a child window, which sends the toolkit's
// window no key message: its records reach the hook alone when due.
TEST_F(Win32Keys, KeysReachTheHookAtOnceWhileTheLoopWaits) {
  cpwSetKeyHook(cpw, [](pCpw cpw, const CpwKeyRecord* k) {
    bool consumed = record_hook(cpw, k);
    if (k->up) {
      arrived_at = GetTickCount64();
      cpwBreakMainLoop(cpw);
    }
    return consumed;
  });
  type_while_looping(cpw, 'A', 0x1E);
  EXPECT_EQ(hooked, (std::vector<std::string>{"41 1E down 97", "41 1E up 97"}));
  EXPECT_LT(arrived_at - typed_at, 500u);

  hooked.clear();
  SetFocus(plain_window(hwnd(id)));
  type_while_looping(cpw, 'D', 0x20);
  ASSERT_EQ(hooked.size(), 2u) << hooked[0];
  EXPECT_EQ(hooked[1].substr(0, 8), "44 20 up");
  EXPECT_LT(arrived_at - typed_at, 500u);
}

// ---- clipboard ------------------------------------------------------------------

std::wstring raw_unicode() {
  std::wstring out;
  if (!OpenClipboard(nullptr)) return L"(not open)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    out = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

std::string raw_text() {
  std::string out;
  if (!OpenClipboard(nullptr)) return "(not open)";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    out = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

void set_raw_text(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(mem), text, std::strlen(text) + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
  }
  CloseClipboard();
}

TEST_F(Win32, TheClipboardHoldsUnicodeTextForEveryReader) {
  open("Clipboard", 100, 100, 120, 80);
  const char* text = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "5";  // "Grüße €5" in UTF-8
  ASSERT_TRUE(cpwSetClipboardText(cpw, text));
  char back[64] = {};
  ASSERT_TRUE(cpwGetClipboardText(cpw, back, sizeof back));
  EXPECT_STREQ(back, text);
  EXPECT_EQ(raw_unicode(), L"Gr\u00FC\u00DFe \u20AC5");
  EXPECT_EQ(raw_text(), "Gr\xFC\xDF" "e \x80" "5");  // the system's Windows-1252 copy
  // Another program's single-byte text.
  set_raw_text("caf\xE9");
  ASSERT_TRUE(cpwGetClipboardText(cpw, back, sizeof back));
  EXPECT_STREQ(back, "caf\xC3\xA9");
  // Cut to the buffer, never inside a character.
  ASSERT_TRUE(cpwSetClipboardText(cpw, "\xE2\x82\xAC\xE2\x82\xAC"));
  char small[5];
  ASSERT_TRUE(cpwGetClipboardText(cpw, small, sizeof small));
  EXPECT_STREQ(small, "\xE2\x82\xAC");
  // No text at all.
  set_raw_text(nullptr);
  std::strcpy(back, "old");
  EXPECT_FALSE(cpwGetClipboardText(cpw, back, sizeof back));
  EXPECT_STREQ(back, "");
}

}  // namespace
