// The program's side of its form: the first inputs become the towplanes,
// the buttons tick or untick them all, and once the user confirms, every
// towplane folder whose tick changed is moved between Planes and
// Hidden_Planes and the moves are reported.
#include <string>
#include <vector>

#include "app/command_lines.h"
#include "app/towplanes.h"
#include "common/messages.h"
#include "common/platform.h"
#include "common/trace.h"
#include "forms/my_forms.h"

using namespace towplanes;

namespace form_binding {

enum class Move { moved, skipped, failed };

// A towplane that could not be moved, and why.
struct NotMoved {
  std::string name;
  std::string reason;
};

// Moves the folder of towplane `nnn` from the folder `from` into `to`.
// A folder that is gone by now is skipped with a trace line only (a file
// of its name is not the towplane and stays); every other failure gives
// its reason.
Move move_towplane(const Name& nnn, const Path& from, const Path& to, std::string& reason) {
  Field<400> fff(std::string(from.trimmed()) + std::string(nnn.view()));
  if (!folder_exists(fff.trimmed())) {
    trace("****", fff, " DOES NOT EXIST");
    return Move::skipped;
  }
  if (!quotable(fff) || !quotable(to)) {
    reason = "its name holds \"%\" or a double quote, which a command line cannot carry";
    return Move::failed;
  }
  if (!folder_exists(to.trimmed())) {
    reason = "the folder " + to.str() + " does not exist";
    return Move::failed;
  }
  std::string target = to.str() + nnn.str();
  if (path_exists(target)) {
    // MOVE would put the folder inside the one already there, or fail.
    reason = "a folder of that name is already in " + to.str();
    return Move::failed;
  }
  Field<256> line;
  if (!make_command("MOVE " + quoted(fff) + " " + quoted(to), line)) {
    reason = "the command line would be too long";
    return Move::failed;
  }
  int exitstat = 0, cmdstat = 0;
  run_traced(line, exitstat, cmdstat);
  if (cmdstat != 0) {
    reason = "the command interpreter could not be started";
    return Move::failed;
  }
  if (exitstat != 0) {
    reason = "MOVE failed with exit status " + std::to_string(exitstat);
    return Move::failed;
  }
  // A status of 0 is not taken on trust: the folder must be where it went.
  if (path_exists(fff.trimmed()) || !folder_exists(target)) {
    reason = "the folder did not move";
    return Move::failed;
  }
  return Move::moved;
}

// Replaces everything from the last "," of `msg` (or from the end of its
// text) by `tail`.
void close_block(FieldRef msg, std::string_view tail) {
  std::size_t comma = msg.view().rfind(',');
  int at = comma == std::string_view::npos ? msg.len_trim() : static_cast<int>(comma);
  FieldRef(msg.data() + at, msg.size() - at) = tail;
}

}  // namespace form_binding

using namespace form_binding;

void fill_form() {
  if (npln > frm_get_count() || npln > kMaxTowplanes) stop_with_message(kTitle, "Too many towplanes");
  if (frm_set_count(npln) == 1) {
    for (int n = 1; n <= npln; ++n) {
      const Name& name = towlist[static_cast<std::size_t>(n - 1)];
      frm_set_prop(1, n, 301, 1, 1.0f, name.view(), true);
      frm_set_prop(1, n, 303, 1, 1.0f, name.view(), true);
    }
  }
}

void frm_callback(int typ, int num, int& val) {
  trace("APPLICATION CALLBACK : ", typ, 6, num, val);
  if (typ != 6) return;
  trace("APPLICATION CALLBACK : BUTTON", num, val);
  if (val == 3) {
    for (int i = 1; i <= stored(); ++i) frm_set_value(i, 1, 1.0f, "1", true);
  } else if (val == 2) {
    for (int i = 1; i <= stored(); ++i) frm_set_value(i, 0, 0.0f, "0", true);
  }
}

void apply_selection() {
  int mv1 = 0;  // moved to Hidden_Planes
  int mv2 = 0;  // moved to Planes
  Field<512> msg;
  Field<256> msg2;
  std::vector<NotMoved> not_moved;

  for (int i = 1; i <= stored(); ++i) {
    std::size_t k = static_cast<std::size_t>(i - 1);
    Name nnn;
    frm_get_name(i, nnn);
    int iv = 0, type = 0;
    float rv = 0.0f;
    Field<255> cv;
    frm_get_value(i, iv, rv, cv, type);
    bool deactivate = qact[k] && iv == 0;
    bool activate = !qact[k] && iv == 1;
    if (!deactivate && !activate) continue;
    if (!qfound[k]) {
      // Its place is unknown: a folder of that name elsewhere is not it.
      trace(nnn, "was not found: not moved");
      continue;
    }
    std::string reason;
    Move m = deactivate ? move_towplane(nnn, path, path2, reason) : move_towplane(nnn, path2, path, reason);
    if (m == Move::moved && deactivate) {
      ++mv1;
      msg = std::string(msg.trimmed()) + " " + nnn.str() + ",";
    } else if (m == Move::moved) {
      ++mv2;
      msg2 = std::string(msg2.trimmed()) + " " + nnn.str() + ",";
    } else if (m == Move::failed) {
      trace(nnn, "not moved:", reason);
      not_moved.push_back({nnn.str(), reason});
    }
  }

  if (mv1 > 0) close_block(msg, ": DEACTIVATED\n  moved to: " + std::string(path2.view()));
  if (mv2 > 0) {
    close_block(msg2, ": ACTIVATED\n  moved to: " + std::string(path.view()));
    std::string both = mv1 > 0 ? std::string(msg.trimmed()) + "\n\n" + std::string(msg2.view()) : std::string(msg2.view());
    msg = both;
  }
  if (!not_moved.empty()) {
    std::string block = "Not moved:";
    for (const NotMoved& n : not_moved) block += "\n " + n.name + ": " + n.reason;
    if (!msg.is_blank()) block = std::string(msg.trimmed()) + "\n\n" + block;
    msg = block;
  }
  if (msg.is_blank()) return;
  trace(msg);
  int status = not_moved.empty() ? 0 : 2;
  error_message_tit(status, kTitle, msg, qline);
}
