// The form's keys on the toolkit's null host: typing into number and text
// boxes, caret movement and scrolling, cut and paste, the length limit, key
// capture, path elements, open lists, Escape and Enter. Keys are posted as
// Windows virtual keys on a US layout. Key records reach the form as the
// host reads them, clicks as queued events: every click is handled (a run)
// before the keys that follow it are posted, as a user's pause would.
#include "common/paths.h"
#include "tests/forms_window/null_form.h"

using namespace null_form;

namespace {

constexpr const char* kKeysForm =
    "[General]\n"
    "Window Title=Keys\n"
    "Version=1\n"
    "FontName=arial.ttf\n"
    "FontSize=14\n"
    "Active=1\n"
    "[Input-boxes]\n"
    "{Txt=Real; Name=real; Type=FLT; Pos=10,200; Size=10}\n"
    "{Txt=Text; Name=text; Type=CHR; Pos=10,170; Size=10}\n"
    "{Txt=Key; Name=key; Type=KEY; Pos=10,140; Size=12}\n"
    "{Txt=File; Name=file; Type=IFP; Pos=10,110; Size=12}\n"
    "{Txt=List,L1,L2,L3,L4,L5,L6,L7,L8,L9,L10,L11,L12,L13,L14,L15,L16,L17,L18,L19,L20; Name=list; Type=DDL; "
    "Pos=10,80; Size=8}\n"
    "{Txt=Whole; Name=whole; Type=INT; Pos=250,200; Size=6}\n"
    "[Buttons]\n"
    "{Txt=OK; Type=OK; Pos=10,10; Size=60}\n"
    "{Txt=Cancel; Type=CANCEL; Pos=100,10; Size=60}\n";

enum { REAL, TEXT, KEY, FILE_PATH, LIST, WHOLE };

// Windows virtual keys.
constexpr int VK_BACK = 0x08, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
              VK_DOWN = 0x28, VK_DELETE = 0x2E, VK_F5 = 0x74, VK_LSHIFT = 0xA0, VK_LCONTROL = 0xA2,
              VK_RMENU = 0xA5, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_7 = 0xDE;

class Keys : public NullForm {
 protected:
  unsigned open_keys(std::vector<std::pair<int, std::string>> values = {}) { return open(kKeysForm, values); }

  // Clicks cell `c` of a text box (0: before its first character).
  void click_cell(int e, int c) {
    const auto& r = fw::inpt_pos[e];
    click(r[0] + fw::Yoffset + c * fw::DxI + 1, (r[1] + r[3]) / 2);
    run();
  }
  void select_cells(int e, int from, int to) {
    const auto& r = fw::inpt_pos[e];
    press(r[0] + fw::Yoffset + from * fw::DxI + 1, (r[1] + r[3]) / 2);
    release(r[0] + fw::Yoffset + to * fw::DxI + 1, (r[1] + r[3]) / 2);
    run();
  }
  void choose(int e) {
    click_element(e);
    run();
  }
  void type(const std::string& text) {
    for (char c : text) {
      if (c >= 'A' && c <= 'Z') tap_with(VK_LSHIFT, c);
      else if (c >= 'a' && c <= 'z') tap(c - 'a' + 'A');
      else if (c >= '0' && c <= '9') tap(c);
      else if (c == '.') tap(VK_OEM_PERIOD);
      else if (c == '-') tap(VK_OEM_MINUS);
      else if (c == ',') tap(VK_OEM_COMMA);
      else if (c == '\'') tap(VK_OEM_7);
      else if (c == '%') tap_with(VK_LSHIFT, '5');
      else ADD_FAILURE() << "no key for " << c;
    }
  }
  std::string text(int e) const { return std::string(fw::inpt_cval[e].view()); }
  // The platform's name of a scan code (Windows names its keys itself).
  static std::string scan_name(unsigned sc) {
    char name[33] = {};
    cpwGetKeyName(sc, name, static_cast<int>(sizeof name));
    return name;
  }
  std::string clipboard() {
    char buf[512] = {};
    cpwGetClipboardText(cpw(), buf, static_cast<int>(sizeof buf));
    return buf;
  }
};

TEST_F(Keys, NumberBoxesTakeTheirCharactersOnly) {
  open_keys();
  click_cell(REAL, 0);
  type("1.5E-3");
  type("e,");  // a lower-case e and a comma are not part of a number
  click_cell(WHOLE, 0);
  type("42a");
  run();
  EXPECT_EQ(text(REAL), "1.5E-3");
  EXPECT_EQ(text(WHOLE), "42");
  click_button(0);
  EXPECT_EQ(run(), 1);
  int iv = 0, type = 0;
  float rv = 0;
  Field<255> cv;
  frm_get_value(1, iv, rv, cv, type);
  EXPECT_FLOAT_EQ(rv, 0.0015f);
  EXPECT_EQ(value(6), 42);
}

TEST_F(Keys, TextBoxesEditAtTheCaretAndScrollAtTheirEnds) {
  open_keys({{2, "Hello"}});
  click_cell(TEXT, 5);
  type("%'");
  run();
  EXPECT_EQ(text(TEXT), "Hello%'");
  EXPECT_EQ(fw::CurPos_1, 7);
  tap(VK_LEFT);
  tap(VK_LEFT);
  tap(VK_BACK);    // the "o" before the caret
  tap(VK_DELETE);  // the "%" after it
  run();
  EXPECT_EQ(text(TEXT), "Hell'");
  EXPECT_EQ(fw::CurPos_1, 4);
  tap(VK_RIGHT);
  tap(VK_RIGHT);  // held at the end of the text
  tap(VK_DELETE);  // nothing after the caret
  run();
  EXPECT_EQ(fw::CurPos_1, 5);
  EXPECT_EQ(text(TEXT), "Hell'");
  click_cell(TEXT, 0);
  tap(VK_BACK);  // nothing before the caret
  select_cells(TEXT, 3, 1);
  type("x");  // replaces the selection "el"
  run();
  EXPECT_EQ(text(TEXT), "Hxl'");
  EXPECT_EQ(fw::CurPos_1, 2);
  EXPECT_EQ(fw::CurPos_2, 2);

  // A value longer than its box: Right at the last cell scrolls the view,
  // Left at the first scrolls it back.
  open_keys({{2, "ABCDEFGHIJKLMNO"}});
  click_cell(TEXT, 10);
  tap(VK_RIGHT);
  tap(VK_RIGHT);
  run();
  EXPECT_EQ(fw::CurPos_1, 10);
  EXPECT_EQ(fw::inpt_ofs[TEXT], 2);
  for (int i = 0; i < 12; ++i) tap(VK_LEFT);
  run();
  EXPECT_EQ(fw::CurPos_1, 0);
  EXPECT_EQ(fw::inpt_ofs[TEXT], 0);
  // Backspace at the first cell of a scrolled view takes the character
  // before it and moves the view back; the caret stays in the box.
  tap(VK_RIGHT);
  for (int i = 0; i < 10; ++i) tap(VK_RIGHT);  // caret at cell 10, view from 1
  for (int i = 0; i < 10; ++i) tap(VK_LEFT);   // caret at cell 0, view still from 1
  tap(VK_BACK);
  run();
  EXPECT_EQ(text(TEXT), "BCDEFGHIJKLMNO");
  EXPECT_EQ(fw::inpt_ofs[TEXT], 0);
  EXPECT_EQ(fw::CurPos_1, 0);
  EXPECT_TRUE(fw::kbd_hook_running());
}

TEST_F(Keys, CutCopyAndPasteGoThroughTheClipboardWithinTheLengthLimit) {
  open_keys({{2, "abcdef"}});
  select_cells(TEXT, 1, 4);
  tap_with(VK_LCONTROL, 'C');
  run();
  EXPECT_EQ(clipboard(), "bcd");
  EXPECT_EQ(text(TEXT), "abcdef");
  tap_with(VK_LCONTROL, 'X');
  run();
  EXPECT_EQ(text(TEXT), "aef");
  click_cell(TEXT, 3);
  tap_with(VK_LCONTROL, 'V');
  run();
  EXPECT_EQ(text(TEXT), "aefbcd");

  // A value holds 255 characters: a paste stops there, and so does typing.
  cpwSetClipboardText(cpw(), std::string(200, 'z').c_str());
  click_cell(TEXT, 0);
  tap_with(VK_LCONTROL, 'V');
  tap_with(VK_LCONTROL, 'V');
  type("q");
  run();
  EXPECT_EQ(text(TEXT).size(), 255u);
  EXPECT_EQ(text(TEXT).find('q'), std::string::npos);
  EXPECT_EQ(text(TEXT).substr(text(TEXT).size() - 6), "aefbcd");
}

TEST_F(Keys, AClipboardThatFailsOrHoldsNoTextChangesNothingAndTheFormGoesOn) {
  open_keys({{2, "abcdef"}});
  select_cells(TEXT, 0, 3);
  cpw_null_failnext("setclipboard");
  tap_with(VK_LCONTROL, 'X');  // not cut: the text could not be kept
  testing::internal::CaptureStderr();
  run();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Clipboard: Can't write to clipboard"), std::string::npos) << err;
  EXPECT_EQ(text(TEXT), "abcdef");
  EXPECT_FALSE(ended_by_form());

  click_cell(TEXT, 6);
  cpw_null_setclipboard(nullptr);  // another program's clipboard without text
  tap_with(VK_LCONTROL, 'V');
  cpw_null_failnext("getclipboard");
  tap_with(VK_LCONTROL, 'V');
  testing::internal::CaptureStderr();
  run();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(text(TEXT), "abcdef");
  EXPECT_FALSE(ended_by_form());
}

TEST_F(Keys, KeyBoxesCaptureTheNextKeyWithItsModifiers) {
  open_keys();
  auto capture = [&](auto keys) {
    choose(KEY);
    keys();
    run();
    EXPECT_EQ(fw::CurInpt, -1);  // captured
    return std::make_pair(fw::inpt_ival[KEY], text(KEY));
  };
  EXPECT_EQ(capture([&] { tap('A'); }), std::make_pair(65, std::string("A")));
  EXPECT_EQ(capture([&] { tap_with(VK_LSHIFT, 'A'); }), std::make_pair(19970, "SHFT+" + scan_name(30)));
  EXPECT_EQ(capture([&] { tap(VK_F5); }), std::make_pair(-63, scan_name(63)));
  // A modifier alone carries no flag of its own.
  EXPECT_EQ(capture([&] { tap(VK_LSHIFT); }), std::make_pair(-42, scan_name(42)));
  // AltGr as Windows sends it: a left Ctrl around the right Alt. The Ctrl's
  // release is captured first, then the capture goes on to the Alt's.
  EXPECT_EQ(capture([&] {
              key(VK_LCONTROL, true);
              key(VK_RMENU, true);
              key(VK_LCONTROL, false);
              key(VK_RMENU, false);
            }),
            std::make_pair(-312, scan_name(312)));

  // Held for more than 900 ms: the long flag.
  static int now = 0;
  set_time_of_day([] { return now += 1000; });
  auto held = capture([&] { tap_with(VK_LSHIFT, VK_F5); });
  set_time_of_day(nullptr);
  EXPECT_EQ(held, std::make_pair(99937, "LONG+SHFT+" + scan_name(63)));
  click_button(0);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(value(3), 99937);
}

TEST_F(Keys, DeleteEmptiesAPathElementAndArrowKeysScrollAnOpenList) {
  open_keys({{4, "C:\\data\\in.txt"}});
  choose(FILE_PATH);  // the first click selects it
  tap('A');                  // other keys do nothing to a path
  run();
  EXPECT_EQ(text(FILE_PATH), "C:\\data\\in.txt");
  tap(VK_DELETE);
  run();
  EXPECT_EQ(text(FILE_PATH), "");
  EXPECT_EQ(fw::CurInpt, -1);

  choose(LIST);
  for (int i = 0; i < 3; ++i) tap(VK_DOWN);
  run();
  EXPECT_EQ(fw::ddl_offset, 3);
  for (int i = 0; i < 20; ++i) tap(VK_DOWN);
  run();
  EXPECT_EQ(fw::ddl_offset, 10);  // 20 entries, 10 shown
  for (int i = 0; i < 12; ++i) tap(VK_UP);
  run();
  EXPECT_EQ(fw::ddl_offset, 0);
}

TEST_F(Keys, EscapeAndEnterEndTheFormWhileNothingTakesKeys) {
  open_keys({{2, "text"}});
  click_cell(TEXT, 2);
  tap(VK_ESCAPE);  // the text box takes the keys
  tap(VK_RETURN);
  run();
  EXPECT_FALSE(ended_by_form()) << out_;
  EXPECT_EQ(text(TEXT), "text");

  click(fw::windowInfo.width - 3, fw::windowInfo.height - 3);  // nothing current
  run();
  tap(VK_ESCAPE);
  EXPECT_EQ(run(), -999);
  EXPECT_TRUE(ended_by_form());
  EXPECT_NE(cpw_window_lookup(cpw(), id()), nullptr);  // the window stays for another run

  tap(VK_RETURN);  // the OK button, with its checks
  EXPECT_EQ(run(), 1);
  EXPECT_TRUE(ended_by_form());
  EXPECT_EQ(callbacks.back(), (std::array<int, 3>{6, 1, 1}));
}

}  // namespace
