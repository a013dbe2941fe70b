#include "forms/text_file.h"

#include <cerrno>

#include "common/platform.h"

namespace {
int error_status() { return errno > 0 ? errno : EIO; }
}  // namespace

FileHandle open_text_file(std::string_view path, const char* mode, int& status) {
  errno = 0;
  FileHandle f(open_file(path, mode));
  status = f ? 0 : error_status();
  return f;
}

int close_written_file(FileHandle& f) {
  if (!f) return 0;
  errno = 0;
  bool failed = std::ferror(f.get()) != 0;
  failed = std::fclose(f.release()) != 0 || failed;
  return failed ? error_status() : 0;
}

bool read_line(std::FILE* f, FieldRef line, int& status) {
  line.blank();
  const int width = line.size();
  int count = 0;  // characters read, counted up to width + 1
  int last = 0;
  bool any = false;
  errno = 0;
  for (;;) {
    int c = std::getc(f);
    if (c == EOF) {
      if (std::ferror(f)) {
        status = error_status();
        return false;
      }
      status = -1;
      if (!any) return false;
      break;
    }
    any = true;
    if (c == '\n') break;
    if (count < width) line[count] = static_cast<char>(c);
    if (count <= width) ++count;
    last = c;
  }
  // A line end written as CR LF leaves its CR as the last character read.
  if (last == '\r' && count <= width) line[count - 1] = ' ';
  status = 0;
  return true;
}

void write_line(std::FILE* f, std::string_view text) {
  text = trim_right(text);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fputc('\n', f);
}
