// Host seam on Windows: program paths are host paths; the console is the
// program's console window.
#include <windows.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "common/platform.h"

namespace platform_win32 {

std::string g_program_name;

// Attributes of a path, INVALID_FILE_ATTRIBUTES when it does not exist.
DWORD attributes(std::string_view path) { return GetFileAttributesA(std::string(path).c_str()); }

}  // namespace platform_win32

using namespace platform_win32;

std::string host_path(std::string_view path) { return std::string(path); }

std::string program_path_from_host(std::string_view host) { return std::string(host); }

std::string drive_path_from_host(std::string_view host) { return std::string(host); }

bool file_exists(std::string_view path) {
  DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folder_exists(std::string_view path) {
  DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool path_exists(std::string_view path) { return attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::int64_t file_mtime(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(std::string(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  // FILETIME counts 100 ns steps since 1601-01-01 UTC.
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return static_cast<std::int64_t>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

std::FILE* open_file(std::string_view path, const char* mode) { return std::fopen(std::string(path).c_str(), mode); }

int remove_path(std::string_view path) {
  if (file_exists(path)) return std::remove(std::string(path).c_str()) == 0 ? 0 : errno;
  return folder_exists(path) ? EISDIR : ENOENT;
}

// Windows answers every file query itself.
void begin_folder_scan() {}
void end_folder_scan() {}

void set_program_name(const char* argv0) { g_program_name = argv0 != nullptr ? argv0 : ""; }

const std::string& program_name() { return g_program_name; }

int console_process_count() {
  DWORD list[16];
  return static_cast<int>(GetConsoleProcessList(list, 16));
}

void hide_console_window() {
  HWND console = GetConsoleWindow();
  if (console != nullptr) ShowWindow(console, SW_HIDE);
}

// French whatever the region: the low 8 bits of the language identifier.
bool ui_language_is_french() { return (GetUserDefaultUILanguage() & 0xFF) == 0x0C; }

void sleep_milliseconds(int ms) {
  if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

LocalTime local_time() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::FILE* take_standard_output() {
  std::fflush(stdout);
  int results = _dup(_fileno(stdout));
  if (results < 0) return nullptr;
  std::FILE* f = _fdopen(results, "wb");
  if (!f || _dup2(_fileno(stderr), _fileno(stdout)) < 0) {
    if (f) std::fclose(f);
    else _close(results);
    return nullptr;
  }
  return f;
}
