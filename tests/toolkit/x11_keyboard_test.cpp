// Keys and the clipboard of the X11 host on Xvfb: key records as Windows'
// low-level hook gives them on the US and the French layout (setxkbmap),
// AltGr's left Ctrl record, the characters and the reverse lookup, and the
// CLIPBOARD selection with xclip as the other program.
#include "x11_fixture.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Seen {
  std::string record;  // "vk scan [ext] [alt] down|up" and the character or "-"
  std::string mods;    // Shift Ctrl Alt LCtrl RAlt down, as 0/1
};
std::vector<Seen> seen_keys;

bool keep_keys(pCpw cpw, const CpwKeyRecord* k) {
  unsigned char s[256];
  cpwGetKeyboardState(cpw, s);
  unsigned char ch = 0;
  char c[8] = "-";
  if (cpwToAscii(cpw, k->vk, k->scancode | ((k->flags & CPW_KEYREC_EXTENDED) && k->vk != 0xA1 ? 0x100 : 0), s, &ch))
    std::snprintf(c, sizeof c, "%02X", ch);
  char line[80];
  std::snprintf(line, sizeof line, "%02X %02X%s%s %s %s", k->vk, k->scancode,
                k->flags & CPW_KEYREC_EXTENDED ? " ext" : "", k->flags & CPW_KEYREC_ALTDOWN ? " alt" : "",
                k->up ? "up" : "down", c);
  std::string mods;
  for (unsigned vk : {0x10u, 0x11u, 0x12u, 0xA2u, 0xA5u}) mods += (s[vk] & 0x80) ? '1' : '0';
  seen_keys.push_back({line, mods});
  return false;
}

std::vector<std::string> records() {
  std::vector<std::string> r;
  for (const Seen& s : seen_keys) r.push_back(s.record);
  return r;
}

// Switches the server's keyboard layout for the test's life; back to US
// afterwards, whatever happens in between.
class Layout {
 public:
  explicit Layout(const char* name) { ok = std::system(("setxkbmap " + std::string(name)).c_str()) == 0; }
  ~Layout() { std::system("setxkbmap us"); }
  bool ok;
};

// A child process whose standard output is read while the test waits.
struct Child {
  pid_t pid = -1;
  int out = -1;
  std::string output;
  int status = -1;

  bool start(std::vector<std::string> args, const std::string& input = "") {
    int outp[2], inp[2];
    if (pipe(outp) != 0 || pipe(inp) != 0) return false;
    pid = fork();
    if (pid == 0) {
      dup2(outp[1], 1);
      dup2(inp[0], 0);
      close(outp[0]);
      close(inp[1]);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(outp[1]);
    close(inp[0]);
    if (!input.empty() && write(inp[1], input.data(), input.size()) != ssize_t(input.size())) return false;
    close(inp[1]);
    out = outp[0];
    fcntl(out, F_SETFL, O_NONBLOCK);
    return pid > 0;
  }
  // Reads what is there; true once the child has ended.
  bool ended() {
    char buf[256];
    ssize_t n;
    while (out >= 0 && (n = read(out, buf, sizeof buf)) > 0) output.append(buf, std::size_t(n));
    if (status >= 0) return true;
    int st = 0;
    if (waitpid(pid, &st, WNOHANG) == pid) {
      status = WIFEXITED(st) ? WEXITSTATUS(st) : 128;
      while (out >= 0 && (n = read(out, buf, sizeof buf)) > 0) output.append(buf, std::size_t(n));
      return true;
    }
    return false;
  }
  ~Child() {
    if (pid > 0 && status < 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
  }
};

class X11Keys : public X11Input {
 protected:
  void SetUp() override {
    X11Input::SetUp();
    if (HasFatalFailure()) return;
    seen_keys.clear();
    motion(10, 10);
    pump_for(30);
    ASSERT_TRUE(cpwSetKeyHook(cpw, keep_keys));
  }
  void TearDown() override {
    if (cpw) cpwSetKeyHook(cpw, nullptr);
    X11Input::TearDown();
  }

  // The keycode of a key by its XKB name ("AE01", "RALT"): the physical key.
  unsigned keycode(const char* name) {
    XkbDescPtr xkb = XkbGetMap(other, 0, XkbUseCoreKbd);
    unsigned found = 0;
    if (xkb && XkbGetNames(other, XkbKeyNamesMask, xkb) == Success) {
      for (unsigned kc = xkb->min_key_code; kc <= xkb->max_key_code; ++kc)
        if (std::strncmp(xkb->names->keys[kc].name, name, XkbKeyNameLength) == 0) found = kc;
    }
    if (xkb) XkbFreeKeyboard(xkb, 0, True);
    EXPECT_NE(found, 0u) << name;
    return found;
  }
  void press(const char* name, bool down) { XTestFakeKeyEvent(other, keycode(name), down, CurrentTime); }
  void tap(const char* name) {
    press(name, true);
    press(name, false);
  }
  bool wait_records(std::size_t n) {
    return pump_until([&] { return seen_keys.size() >= n; });
  }
  // Every character the reverse lookup finds gives itself back from its key.
  void expect_reverse_lookup_round_trip() {
    int found = 0;
    for (int c = 0x20; c < 256; ++c) {
      int vks = cpwVkKeyScan(cpw, static_cast<unsigned char>(c));
      if (vks < 0) continue;
      ++found;
      unsigned char s[256] = {}, ch = 0;
      if (vks & 0x100) s[0xA0] = 0x80;
      if (vks & 0x200) s[0xA2] = 0x80;
      if (vks & 0x400) s[0xA4] = 0x80;
      EXPECT_EQ(cpwToAscii(cpw, unsigned(vks & 0xFF), 0, s, &ch), 1) << "character " << c;
      EXPECT_EQ(ch, c) << "vks " << std::hex << vks;
    }
    EXPECT_GT(found, 94);
  }
};

TEST_F(X11Keys, UsKeysArriveAsWindowsRecordsWithTheirCharacters) {
  tap("AC01");
  press("LFSH", true);
  tap("AC01");
  tap("AE01");
  press("LFSH", false);
  press("LCTL", true);
  tap("AB03");
  press("LCTL", false);
  tap("LEFT");
  tap("FK05");
  tap("RTSH");
  press("RALT", true);  // a plain Alt on this layout: no Ctrl record
  tap("AC01");
  press("RALT", false);
  ASSERT_TRUE(wait_records(22));
  pump_for(50);
  EXPECT_EQ(records(), (std::vector<std::string>{
                           "41 1E down 61",     "41 1E up 61",       "A0 2A down -",       "41 1E down 41",
                           "41 1E up 41",       "31 02 down 21",     "31 02 up 21",        "A0 2A up -",
                           "A2 1D down -",      "43 2E down 03",     "43 2E up 03",        "A2 1D up -",
                           "25 4B ext down -",  "25 4B ext up -",    "74 3F down -",       "74 3F up -",
                           "A1 36 ext down -",  "A1 36 ext up -",    "A5 38 ext alt down -", "41 1E alt down 61",
                           "41 1E alt up 61",   "A5 38 ext up -"}));
  // Shift Ctrl Alt LCtrl RAlt while the records arrived.
  EXPECT_EQ(seen_keys[3].mods, "10000");
  EXPECT_EQ(seen_keys[9].mods, "01010");
  EXPECT_EQ(seen_keys[19].mods, "00101");
  EXPECT_EQ(seen_keys[21].mods, "00000");
  EXPECT_FALSE(cpwKeyDown(cpw, 0x12));
  EXPECT_EQ(cpwVkKeyScan(cpw, '&'), 0x137);
  EXPECT_EQ(cpwVkKeyScan(cpw, 0xE9), -1);
  expect_reverse_lookup_round_trip();
  // The toolkit's own key events still come.
  EXPECT_TRUE(seen("key 1 a 1 10 10"));
  EXPECT_TRUE(seen("skey 1 13 1"));
}

TEST_F(X11Keys, TheFrenchLayoutGivesDigitKeysAccentsAndAltGrAsOnWindows) {
  Layout french("fr");
  ASSERT_TRUE(french.ok) << "setxkbmap fr failed";
  ASSERT_TRUE(pump_until([&] { return cpwVkKeyScan(cpw, 0xE9) == 0x32; })) << "the layout change was not seen";

  // The top row, typed by character: unshifted, then the digits (Shift).
  ASSERT_EQ(std::system("xdotool key ampersand eacute quotedbl apostrophe parenleft minus egrave underscore "
                        "ccedilla agrave 1 2 3 4 5 6 7 8 9 0"), 0);
  ASSERT_TRUE(pump_until([&] {
    int downs = 0;
    for (const Seen& s : seen_keys) downs += s.record.find("down") != std::string::npos && s.record[0] != 'A';
    return downs >= 20;
  }));
  pump_for(50);
  std::vector<std::string> top;
  for (const Seen& s : seen_keys)
    if (s.record.find("down") != std::string::npos && s.record.compare(0, 2, "A0") != 0) top.push_back(s.record);
  EXPECT_EQ(top, (std::vector<std::string>{
                     "31 02 down 26", "32 03 down E9", "33 04 down 22", "34 05 down 27", "35 06 down 28",
                     "36 07 down 2D", "37 08 down E8", "38 09 down 5F", "39 0A down E7", "30 0B down E0",
                     "31 02 down 31", "32 03 down 32", "33 04 down 33", "34 05 down 34", "35 06 down 35",
                     "36 07 down 36", "37 08 down 37", "38 09 down 38", "39 0A down 39", "30 0B down 30"}));
  EXPECT_EQ(cpwVkKeyScan(cpw, '&'), 0x31);
  EXPECT_EQ(cpwVkKeyScan(cpw, '1'), 0x131);

  // Letters by the layout's letter; the other keys their own OEM keys.
  seen_keys.clear();
  for (const char* k : {"AD01", "AC01", "AC10", "AB07", "AC11", "TLDE"}) tap(k);
  ASSERT_TRUE(wait_records(12));
  std::vector<std::string> r = records();
  EXPECT_EQ(r[0], "41 10 down 61");
  EXPECT_EQ(r[2], "51 1E down 71");
  EXPECT_EQ(r[4], "4D 27 down 6D");
  EXPECT_EQ(r[6], "BC 32 down 2C");
  unsigned ugrave = 0, two = 0;
  ASSERT_EQ(std::sscanf(r[8].c_str(), "%x", &ugrave), 1);
  ASSERT_EQ(std::sscanf(r[10].c_str(), "%x", &two), 1);
  EXPECT_EQ(r[8].substr(2), " 28 down F9");
  EXPECT_EQ(r[10].substr(2), " 29 down B2");
  EXPECT_NE(ugrave, two);
  EXPECT_EQ(cpwVkKeyScan(cpw, 0xF9), int(ugrave));
  EXPECT_EQ(cpwVkKeyScan(cpw, 0xB2), int(two));
  expect_reverse_lookup_round_trip();

  // AltGr: a left Ctrl record first, Ctrl and Alt down while it is held.
  seen_keys.clear();
  press("RALT", true);
  tap("AD03");
  press("RALT", false);
  ASSERT_TRUE(wait_records(6));
  pump_for(50);
  EXPECT_EQ(records(), (std::vector<std::string>{"A2 1D down -", "A5 38 ext alt down -", "45 12 alt down 80",
                                                 "45 12 alt up 80", "A2 1D alt up -", "A5 38 ext up -"}));
  // Shift Ctrl Alt LCtrl RAlt.
  EXPECT_EQ(seen_keys[0].mods, "01010");
  EXPECT_EQ(seen_keys[2].mods, "01111");
  EXPECT_EQ(seen_keys[4].mods, "00101");
  EXPECT_EQ(seen_keys[5].mods, "00000");
  EXPECT_EQ(cpwVkKeyScan(cpw, 0x80), 0x645);  // € is AltGr+E
}

TEST_F(X11Keys, TheUsLayoutComesBackAfterAChange) {
  {
    Layout french("fr");
    ASSERT_TRUE(french.ok);
    ASSERT_TRUE(pump_until([&] { return cpwVkKeyScan(cpw, '&') == 0x31; }));
  }
  ASSERT_TRUE(pump_until([&] { return cpwVkKeyScan(cpw, '&') == 0x137; }));
  tap("AD01");
  ASSERT_TRUE(wait_records(2));
  EXPECT_EQ(records()[0], "51 10 down 71");
}

TEST_F(X11Keys, ASwitchOfTheLayoutGroupSwitchesTheKeys) {
  Layout both("-layout us,fr");
  ASSERT_TRUE(both.ok);
  pump_for(100);
  ASSERT_TRUE(XkbLockGroup(other, XkbUseCoreKbd, 1));
  XSync(other, False);
  ASSERT_TRUE(pump_until([&] { return cpwVkKeyScan(cpw, '&') == 0x31; })) << "the group change was not seen";
  tap("AE01");
  ASSERT_TRUE(wait_records(2));
  EXPECT_EQ(records()[0], "31 02 down 26");
  XkbLockGroup(other, XkbUseCoreKbd, 0);
  XSync(other, False);
  ASSERT_TRUE(pump_until([&] { return cpwVkKeyScan(cpw, '&') == 0x137; }));
  tap("AE01");
  ASSERT_TRUE(wait_records(4));
  EXPECT_EQ(records()[2], "31 02 down 31");
}

// ---- clipboard ----------------------------------------------------------------

class X11Clipboard : public X11Keys {
 protected:
  // Runs the main loop (or only the clipboard service) until the child ends.
  bool run_until_ended(Child& c, bool serve_only = false) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
      if (serve_only)
        cpwServeClipboard(cpw);
      else
        cpwMainLoopUpdate(cpw, 3);
      if (c.ended()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  std::string paste(const char* target = nullptr) {
    Child c;
    std::vector<std::string> args{"xclip", "-o", "-selection", "clipboard"};
    if (target) args.insert(args.end(), {"-t", target});
    EXPECT_TRUE(c.start(args));
    EXPECT_TRUE(run_until_ended(c));
    EXPECT_EQ(c.status, 0) << target;
    return c.output;
  }
};

TEST_F(X11Clipboard, OtherProgramsPasteWhatTheProgramCopied) {
  ASSERT_TRUE(cpwSetClipboardText(cpw, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "5"));
  EXPECT_EQ(paste(), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "5");
  EXPECT_EQ(paste("STRING"), "Gr\xFC\xDF" "e ?5");  // Latin-1 has no euro sign
  std::string targets = paste("TARGETS");
  for (const char* t : {"TARGETS", "UTF8_STRING", "STRING", "TEXT"})
    EXPECT_NE(targets.find(t), std::string::npos) << targets;
  Child refused;
  ASSERT_TRUE(refused.start({"xclip", "-o", "-selection", "clipboard", "-t", "image/png"}));
  ASSERT_TRUE(run_until_ended(refused));
  EXPECT_NE(refused.status, 0);  // refused, not hung
  char text[64];
  ASSERT_TRUE(cpwGetClipboardText(cpw, text, sizeof text));  // its own text, without asking
  EXPECT_STREQ(text, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "5");
  ASSERT_TRUE(cpwGetClipboardText(cpw, text, 5));  // cut to whole characters
  EXPECT_STREQ(text, "Gr\xC3\xBC");
  ASSERT_TRUE(cpwGetClipboardText(cpw, text, 4));
  EXPECT_STREQ(text, "Gr");
}

TEST_F(X11Clipboard, TheProgramPastesWhatAnotherProgramOwns) {
  ASSERT_TRUE(cpwSetClipboardText(cpw, "ours"));
  Child owner;
  ASSERT_TRUE(owner.start({"xclip", "-i", "-quiet", "-selection", "clipboard"}, "from xclip: \xC3\xA7" "a"));
  Atom clipboard = XInternAtom(other, "CLIPBOARD", False);
  Window ours = XGetSelectionOwner(other, clipboard);
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (XGetSelectionOwner(other, clipboard) == ours && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_NE(XGetSelectionOwner(other, clipboard), ours) << "xclip did not take the selection";
  char text[64] = "junk";
  // Right away: the program is no longer the owner, even before its loop ran.
  ASSERT_TRUE(cpwGetClipboardText(cpw, text, sizeof text));
  EXPECT_STREQ(text, "from xclip: \xC3\xA7" "a");
}

TEST_F(X11Clipboard, AnOwnerThatNeverAnswersCostsASecondAndOtherEventsWait) {
  Window silent = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other, XInternAtom(other, "CLIPBOARD", False), silent, CurrentTime);
  XSync(other, False);
  tap("AC01");  // queued for the program meanwhile
  XSync(other, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  char text[16] = "junk";
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(cpwGetClipboardText(cpw, text, sizeof text));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_STREQ(text, "");
  EXPECT_GE(seconds, 0.9);
  EXPECT_LT(seconds, 1.8);
  EXPECT_TRUE(seen_keys.empty());  // the wait took no key event
  ASSERT_TRUE(wait_records(2));
  EXPECT_EQ(records()[0], "41 1E down 61");
  XDestroyWindow(other, silent);
}

TEST_F(X11Clipboard, ServingAnswersRequestsAndHandlesNothingElse) {
  ASSERT_TRUE(cpwSetClipboardText(cpw, "served"));
  tap("AC01");
  XSync(other, False);
  Child c;
  ASSERT_TRUE(c.start({"xclip", "-o", "-selection", "clipboard"}));
  ASSERT_TRUE(run_until_ended(c, true));
  EXPECT_EQ(c.output, "served");
  EXPECT_TRUE(seen_keys.empty());  // keys wait for the main loop
  ASSERT_TRUE(wait_records(2));
}

}  // namespace
