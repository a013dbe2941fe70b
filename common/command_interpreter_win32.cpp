// Command lines on Windows: the system's own cmd.exe runs them, as
// cmd.exe /D /V:OFF /S /C "<line>", and the caller waits for it to end.
// /D skips a user's AutoRun command (which may change the current folder,
// where the listing files go) and /V:OFF keeps "!" in folder names literal.
//
// The child shares the program's console when the program has one (its output
// then appears where the program's own trace lines go, and a hidden console
// stays hidden); without a console it is started with CREATE_NO_WINDOW, so no
// console window flashes up for a moment.
#include "common/command_interpreter.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace command_interpreter {

// Full name of cmd.exe in the system folder, so that no other program of that
// name (in the current folder or on PATH) is started by mistake.
static std::string cmd_exe_path() {
  char dir[MAX_PATH + 1];
  UINT n = GetSystemDirectoryA(dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return "cmd.exe";
  std::string path(dir, n);
  if (path.back() != '\\') path.push_back('\\');
  return path + "cmd.exe";
}

// Whether command lines run in the program's own console (else in a new
// one, without a window).
static bool own_console() { return GetConsoleWindow() != nullptr; }

}  // namespace command_interpreter

void run_command(std::string_view line, int& exitstat, int& cmdstat) {
  std::string exe = command_interpreter::cmd_exe_path();
  // /S: cmd.exe removes exactly the outer pair of quotes and keeps the line
  // as it is inside them, quotes included.
  std::string cmdline = "\"" + exe + "\" /D /V:OFF /S /C \"" + std::string(line) + "\"";

  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  BOOL inherit = FALSE;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE && err != nullptr && err != INVALID_HANDLE_VALUE) {
    // Hand our own standard handles on (pipes and files included), so that
    // what cmd.exe writes unredirected goes where our output goes.
    si.dwFlags |= STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    si.hStdInput = in;
    inherit = TRUE;
  }
  DWORD flags = command_interpreter::own_console() ? 0 : CREATE_NO_WINDOW;

  std::fflush(stdout);
  std::fflush(stderr);
  PROCESS_INFORMATION pi;
  ZeroMemory(&pi, sizeof pi);
  if (!CreateProcessA(exe.c_str(), cmdline.data(), nullptr, nullptr, inherit, flags, nullptr, nullptr, &si, &pi)) {
    DWORD e = GetLastError();
    std::fprintf(stderr, "run_command: cmd.exe could not be started (error %lu)\n", static_cast<unsigned long>(e));
    exitstat = 1;
    cmdstat = e != 0 ? static_cast<int>(e) : 1;
    return;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  if (!GetExitCodeProcess(pi.hProcess, &code)) code = 1;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  exitstat = static_cast<int>(code);
  cmdstat = 0;
}

std::string command_output_text(std::string_view bytes) {
  // The code page cmd.exe wrote in: that of the program's console, which
  // chcp may have changed, or a new console's, the OEM code page.
  UINT cp = command_interpreter::own_console() ? GetConsoleOutputCP() : 0;
  if (cp == 0) cp = GetOEMCP();
  if (cp == GetACP() || bytes.empty()) return std::string(bytes);
  int n = static_cast<int>(bytes.size());
  int wn = MultiByteToWideChar(cp, 0, bytes.data(), n, nullptr, 0);
  if (wn <= 0) return std::string(bytes);
  std::wstring wide(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(cp, 0, bytes.data(), n, wide.data(), wn);
  int an = WideCharToMultiByte(CP_ACP, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  if (an <= 0) return std::string(bytes);
  std::string text(static_cast<std::size_t>(an), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wn, text.data(), an, nullptr, nullptr);
  return text;
}
