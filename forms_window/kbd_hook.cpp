// The keyboard of the form: a key hook that edits the current element's
// value in place (insert, delete, caret and view movement, copy, cut and
// paste), captures key combinations for KEY elements and scrolls an open
// list. It acts only between frm_StartKbdHook(1) and frm_StartKbdHook(0),
// which the mouse code calls where typing is possible. Outside that, while
// nothing in the form takes keys, Escape ends the form as closing the window
// does and Enter presses the form's first OK button.
//
// The toolkit hands every key press and release of the form window to the
// session's key procedure as a low-level key record (Windows virtual key, PC
// scan code, flags); it is installed once with the window, and every key is
// passed on afterwards.
#include <algorithm>
#include <cstdio>
#include <string>

#include "common/codepage.h"
#include "common/logging.h"
#include "common/paths.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "forms_window/window_session.h"

namespace forms_window {

namespace {

bool kbd_hook = false;       // the form's hook is started
bool keys_delivered = false; // the toolkit delivers key records at all
int LastDwnTime = 0;         // time of the last press of a new key, in ms
int scancode_old = 0;        // scan code of the last press: auto-repeat keeps it
int NumKeyDwn = 0;           // presses minus releases (diagnostic)
int AltGr_Down_SVE = 0;      // the key being captured is AltGr: its extra event follows

constexpr unsigned kKeyDown = 0x100, kKeyUp = 0x101, kSysKeyDown = 0x104, kSysKeyUp = 0x105;
constexpr unsigned VK_BACK = 8, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_ESCAPE = 27, VK_LEFT = 37,
                   VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_DELETE = 46, VK_RSHIFT = 161, VK_LMENU = 164,
                   VK_RMENU = 165;
constexpr int kLongPress = 900;  // ms: a key held longer is captured with the LONG flag
constexpr int kMaxValue = 255;   // characters of a value (its field holds 255 and a terminator)

// Characters a numeric box takes.
bool IsNum(int c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E'; }

bool has_selection() { return CurPos_1 >= 0 && CurPos_1 < CurPos_2; }

// The key's character and its reverse lookup, as the platform translates.
struct Translation {
  bool produced = false;  // the key gives a character
  int ch = 0;             // the character, or the virtual key when none
  int vks = -1;           // key and shift state that give the character
};

Translation translate(unsigned vk, int sc) {
  Translation t;
  t.ch = static_cast<int>(vk);
  unsigned char state[256] = {};
  if (!cpwGetKeyboardState(this_cpw, state)) {
    std::printf("GetKeyboardState FAIL\n");
    return t;
  }
  unsigned char c = 0;
  if (cpwToAscii(this_cpw, vk, static_cast<unsigned>(sc), state, &c) != 0) {
    t.produced = true;
    t.ch = c;
    t.vks = cpwVkKeyScan(this_cpw, c);
  }
  return t;
}

// A key released while a KEY element waits: its code (character or scan
// code, with the modifier flags) and its name become the value.
void capture(int e, unsigned vk, int sc, const Translation& t) {
  int k;
  if (sc >= 2 && sc <= 13) {
    // The top row: the key's digit or character without modifiers.
    k = t.produced && t.vks >= 0 && t.vks < 129 ? t.vks : t.ch;
  } else if (t.produced && t.vks == static_cast<int>(vk) && t.vks >= 32 && t.vks <= 126) {
    k = t.vks;
  } else {
    k = -sc;
  }
  int flags = 0;
  if (elapsed_ms() - LastDwnTime > kLongPress) flags += 8;
  if (!is_key_mod(sc, static_cast<int>(vk))) {
    if (cpwKeyDown(this_cpw, VK_CONTROL) && vk != VK_RMENU) flags += 1;
    if (cpwKeyDown(this_cpw, VK_SHIFT)) flags += 2;
    if (cpwKeyDown(this_cpw, VK_LMENU)) flags += 4;
  }
  inpt_ival[e] = k + 10000 * flags;
  std::string name;
  inpt_cval[e] = get_key_name(inpt_ival[e], name) > 0 ? name : std::string("??????");
  if (AltGr_Down_SVE == 0) {
    CurInpt = -1;  // captured
  } else {
    AltGr_Down_SVE = 0;  // AltGr's own release follows and is captured again
  }
}

// The characters of the selection, or nothing.
std::string selected_text(int e) {
  std::string_view v = inpt_cval[e].view();
  std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(CurPos_1 + inpt_ofs[e]), v.size());
  std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(CurPos_2 - CurPos_1), v.size() - from);
  return std::string(v.substr(from, count));
}

// Inserts `c` while the value has room (a selection it replaces always has).
void insert(int e, char c) {
  if (inpt_cval[e].length() >= kMaxValue && !has_selection()) return;
  InsertChar(inpt_cval[e], c, inpt_ofs[e], CurPos_1, CurPos_2);
}

// A key pressed in a text or number box with a caret.
void edit(int e, unsigned vk, const Translation& t) {
  const int len = inpt_cval[e].length();
  if (t.ch == VK_BACK) {
    DeleteChar(inpt_cval[e], inpt_ofs[e], CurPos_1, CurPos_2);
  } else if (vk == VK_DELETE && !t.produced) {
    if (has_selection()) {
      DeleteChar(inpt_cval[e], inpt_ofs[e], CurPos_1, CurPos_2);
    } else if (CurPos_1 + inpt_ofs[e] < len) {
      // The character after the caret goes; the caret stays.
      CurPos_1 = CurPos_2 = CurPos_1 + 1;
      DeleteChar(inpt_cval[e], inpt_ofs[e], CurPos_1, CurPos_2);
    }
  } else if (vk == VK_LEFT && !t.produced) {
    if (CurPos_1 < 1) {
      if (inpt_ofs[e] > 0) --inpt_ofs[e];
    } else {
      --CurPos_1;
    }
    CurPos_2 = CurPos_1;
  } else if (vk == VK_RIGHT && !t.produced) {
    if (CurPos_1 + inpt_ofs[e] < len) {
      if (CurPos_1 < inpt_siz[e])
        ++CurPos_1;
      else
        ++inpt_ofs[e];
    }
    CurPos_2 = CurPos_1;
  } else if (t.produced && t.ch == 3) {  // Ctrl+C
    if (has_selection()) wr_clp(selected_text(e).c_str());
  } else if (t.produced && t.ch == 24) {  // Ctrl+X
    // Cut only what the clipboard took: nothing typed is lost.
    if (has_selection() && wr_clp(selected_text(e).c_str()))
      DeleteChar(inpt_cval[e], inpt_ofs[e], CurPos_1, CurPos_2);
  } else if (t.produced && t.ch == 22) {  // Ctrl+V
    char pasted[256] = {};
    rd_clp(pasted);
    // Control characters (a line end copied with the text) would break the
    // value and the data files it is written to: they are left out.
    for (const char* p = pasted; *p; ++p)
      if (static_cast<unsigned char>(*p) >= 32 && *p != 127) insert(e, *p);
  } else {
    int vks = t.vks;
    if (vks >= 256 && vks <= 511) vks -= 256;  // Shift alone
    bool printable = t.produced && vks >= 32 && vks < 256;
    if (!printable) return;
    if (inpt_typ[e] == kCHR || IsNum(t.ch)) insert(e, static_cast<char>(t.ch));
  }
}

// Keys of the form while its hook is stopped (nothing takes keys): Escape
// and Enter, unless a list is open.
void form_key(unsigned vk) {
  if (CurDDL >= 0) return;
  if (vk == VK_ESCAPE) {
    ExitStat = -999;
    cpwBreakMainLoop(this_cpw);
  } else if (vk == VK_RETURN) {
    for (int b = 0; b < nb_butt; ++b) {
      if (butt_typ[b] != 1) continue;
      run_button(b);
      break;
    }
  }
}

// The toolkit's key hook: every key record of the form window.
bool on_key(pCpw, const CpwKeyRecord* rec) {
  const bool alt = (rec->flags & CPW_KEYREC_ALTDOWN) != 0;
  const unsigned message = rec->up ? (alt ? kSysKeyUp : kKeyUp) : (alt ? kSysKeyDown : kKeyDown);
  if (kbd_hook)
    frm_KdbHookProc(0, message, rec);
  else if (!rec->up)
    form_key(rec->vk);
  return false;  // passed on
}

}  // namespace

void frm_keys_start() {
  keys_delivered = cpwSetKeyHook(this_cpw, on_key);
  kbd_hook = false;
}

void frm_StartKbdHook(int on) {
  if (kbd_hook) {
    kbd_hook = false;
    std::printf("STOP HOOK\n");
  }
  if (on) {
    if (keys_delivered) {
      kbd_hook = true;
      std::printf("START HOOK\n");
    } else {
      std::printf("START HOOK Error: %ld \n", 0L);
    }
  }
  LastDwnTime = AltGr_Down_SVE = scancode_old = 0;
}

bool kbd_hook_running() { return kbd_hook; }

int frm_KdbHookProc(int code, unsigned int message, const CpwKeyRecord* rec) {
  if (code < 0 || !rec) {
    char line[64];
    std::snprintf(line, sizeof line, "KBD nCode : %d %d ", code, static_cast<int>(message));
    log_message(line);
    return 0;
  }
  const unsigned vk = rec->vk;
  int sc = static_cast<int>(rec->scancode);
  if ((rec->flags & CPW_KEYREC_EXTENDED) && vk != VK_RSHIFT) sc += 256;
  const Translation t = translate(vk, sc);
  const bool current = CurInpt >= 0 && CurInpt < nb_inpt;

  if (message == kKeyUp || message == kSysKeyUp) {
    --NumKeyDwn;
    if (current && inpt_typ[CurInpt] == kKEY) capture(CurInpt, vk, sc, t);
    request_redraw();
    return 0;
  }
  if (message != kKeyDown && message != kSysKeyDown) return 0;

  if (sc != scancode_old) {
    LastDwnTime = elapsed_ms();
    ++NumKeyDwn;
  }
  scancode_old = sc;
  if (CurDDL < 0 && current) {
    const int e = CurInpt;
    switch (inpt_typ[e]) {
      case kKEY:
        AltGr_Down_SVE = vk == VK_RMENU ? 1 : 0;
        break;
      case kIFP:
      case kOFP:
      case kFLD:
        if (vk == VK_DELETE && !t.produced) {
          inpt_cval[e] = "";
          CurInpt = -1;
        }
        break;
      case kINT:
      case kFLT:
      case kCHR:
        if (CurPos_1 >= 0) edit(e, vk, t);
        break;
      default:
        break;
    }
  } else if (CurDDL >= 0 && CurDDL < kMaxDdl) {
    if (vk == VK_UP && !t.produced && ddl_offset > 0) --ddl_offset;
    if (vk == VK_DOWN && !t.produced && ddl_offset < ddl_nbli[CurDDL] - kListRows) ++ddl_offset;
    if (DEBUG) std::printf("ddl_offset %d\n", ddl_offset);
  }
  request_redraw();
  return 0;
}

int is_key_mod(int /*scan_code*/, int vk) { return vk >= 160 && vk <= 164 ? 1 : 0; }

void InsertChar(CText<256>& text, char ch, int ofs, int& p1, int& p2) {
  std::string v(text.view());
  const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(std::max(ofs + p1, 0)), v.size());
  if (p1 < p2) {
    std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(ofs + p2), v.size());
    v.replace(at, end - at, 1, ch);
  } else {
    v.insert(at, 1, ch);
  }
  text = v;
  p1 = p2 = p1 + 1;
}

void DeleteChar(CText<256>& text, int& ofs, int& p1, int& p2) {
  std::string v(text.view());
  if (p1 < p2) {
    std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(ofs + p1), v.size());
    std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(ofs + p2), v.size());
    v.erase(from, end - from);
  } else if (ofs + p1 > 0 && static_cast<std::size_t>(ofs + p1) <= v.size()) {
    v.erase(static_cast<std::size_t>(ofs + p1 - 1), 1);
    // At the first visible cell of a scrolled value the view moves back by
    // one; the caret stays in the box.
    if (p1 > 0)
      --p1;
    else
      --ofs;
  }
  text = v;
  p2 = p1;
}

bool wr_clp(const char* text) {
  if (cpwSetClipboardText(this_cpw, cp1252_to_utf8(text ? text : "").c_str())) return true;
  std::fprintf(stderr, "Clipboard: %s\n", "Can't write to clipboard");
  return false;
}

void rd_clp(char* text) {
  text[0] = '\0';
  char utf8[1024] = {};
  if (!cpwGetClipboardText(this_cpw, utf8, static_cast<int>(sizeof utf8))) {
    std::fprintf(stderr, "Clipboard: %s\n", "Can't read the clipboard's text");
    return;
  }
  // The first 255 characters of a longer text.
  std::string v = utf8_to_cp1252(utf8).substr(0, kMaxValue);
  std::copy(v.begin(), v.end(), text);
  text[v.size()] = '\0';
}

}  // namespace forms_window
