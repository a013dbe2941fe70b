// Callbacks that write what they receive into one log.
#pragma once

#include <string>
#include <vector>

#include "toolkit/cpw.h"

// Every callback appends one line to this log.
inline std::vector<std::string> calls;

inline std::string joined() {
  std::string all;
  for (const std::string& c : calls) all += c + ";";
  return all;
}

// A key hook that notes each record as "hook down" or "hook up" and consumes it.
inline bool hook_in_calls(pCpw, const CpwKeyRecord* k) {
  calls.push_back(k->up ? "hook up" : "hook down");
  return true;
}

inline void on_create(pCpw, unsigned id, unsigned flag) { calls.push_back("create " + std::to_string(id) + " " + std::to_string(flag)); }
inline void on_display(pCpw, unsigned id) { calls.push_back("display " + std::to_string(id)); }
inline void on_reshape(pCpw, unsigned id, unsigned w, unsigned h) {
  calls.push_back("reshape " + std::to_string(id) + " " + std::to_string(w) + " " + std::to_string(h));
}
inline void on_position(pCpw, unsigned id, unsigned x, unsigned y) {
  calls.push_back("position " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y));
}
inline void on_click(pCpw, unsigned id, unsigned state, unsigned button, unsigned x, unsigned y) {
  calls.push_back("click " + std::to_string(id) + " " + std::to_string(state) + " " + std::to_string(int(button)) +
                  " " + std::to_string(int(x)) + " " + std::to_string(int(y)));
}
inline void on_drag(pCpw, unsigned id, unsigned button, int x, int y) {
  calls.push_back("drag " + std::to_string(id) + " " + std::to_string(int(button)) + " " + std::to_string(x) + " " +
                  std::to_string(y));
}
inline void on_move(pCpw, unsigned id, unsigned x, unsigned y) {
  calls.push_back("move " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y));
}
inline void on_entry(pCpw, unsigned id, unsigned state) { calls.push_back("entry " + std::to_string(id) + " " + std::to_string(state)); }
inline void on_visibility(pCpw, unsigned id, unsigned state) {
  calls.push_back("visibility " + std::to_string(id) + " " + std::to_string(state));
}
inline void on_key(pCpw, unsigned id, unsigned key, unsigned state, unsigned x, unsigned y) {
  calls.push_back("key " + std::to_string(id) + " " + std::string(1, char(key)) + " " + std::to_string(state) + " " +
                  std::to_string(x) + " " + std::to_string(y));
}
inline void on_skey(pCpw, unsigned id, unsigned key, unsigned state, unsigned, unsigned) {
  calls.push_back("skey " + std::to_string(id) + " " + std::to_string(key) + " " + std::to_string(state));
}


// Registers every callback above as the context-wide one.
inline void record_all_callbacks(pCpw cpw) {
  cpwCreateCallback(cpw, on_create);
  cpwDisplayCallback(cpw, on_display);
  cpwReshapeCallback(cpw, on_reshape);
  cpwPositionCallback(cpw, on_position);
  cpwMouseClickCallback(cpw, on_click);
  cpwMouseDragCallback(cpw, on_drag);
  cpwMouseMoveCallback(cpw, on_move);
  cpwMouseEntryCallback(cpw, on_entry);
  cpwVisibilityCallback(cpw, on_visibility);
  cpwKeyboardCallback(cpw, on_key);
  cpwSystemKeyboardCallback(cpw, on_skey);
}
