// The keyboard and clipboard operations: each checks its context and
// arguments and asks the host layer.
#include <cstring>

#include "toolkit/cpw.h"
#include "toolkit/host/cpw_host.h"

namespace {

// A context whose host layer is up.
bool ready(pCpw cpw) { return cpw && cpw->ctx_localhost && cpw->ctx_localhost->ops && cpw->ctx_localhost->host; }

bool invalid(pCpw cpw) {
  cpw->err_code = cpw_error_invalidparameter;
  return false;
}

}  // namespace

bool cpwSetKeyHook(pCpw cpw, CpwKeyHook hook) {
  if (!ready(cpw)) return false;
  return cpw_host(cpw).setkeyhook(cpw, hook);
}

bool cpwGetKeyboardState(pCpw cpw, unsigned char state[256]) {
  if (!ready(cpw)) return false;
  if (!state) return invalid(cpw);
  return cpw_host(cpw).keyboardstate(cpw, state);
}

bool cpwKeyDown(pCpw cpw, unsigned int vk) {
  if (!ready(cpw) || vk >= 256) return false;
  unsigned char state[256];
  return cpw_host(cpw).keyboardstate(cpw, state) && (state[vk] & 0x80);
}

int cpwToAscii(pCpw cpw, unsigned int vk, unsigned int scancode, const unsigned char state[256], unsigned char* ch) {
  if (!ready(cpw)) return 0;
  if (!state || !ch) return invalid(cpw);
  *ch = 0;
  if (vk >= 256) return 0;
  return cpw_host(cpw).toascii(cpw, vk, scancode, state, ch) ? 1 : 0;
}

int cpwVkKeyScan(pCpw cpw, unsigned char ch) {
  if (!ready(cpw)) return -1;
  return cpw_host(cpw).vkkeyscan(cpw, ch);
}

bool cpwSetClipboardText(pCpw cpw, const char* text) {
  if (!ready(cpw)) return false;
  if (!text) return invalid(cpw);
  return cpw_host(cpw).setclipboard(cpw, text);
}

bool cpwGetClipboardText(pCpw cpw, char* text, int size) {
  if (!ready(cpw)) {
    if (text && size > 0) text[0] = '\0';
    return false;
  }
  if (!text || size <= 0) return invalid(cpw);
  text[0] = '\0';
  if (cpw_host(cpw).getclipboard(cpw, text, size)) return true;
  text[0] = '\0';
  return false;
}

void cpwServeClipboard(pCpw cpw) {
  if (ready(cpw)) cpw_host(cpw).serveclipboard(cpw);
}
