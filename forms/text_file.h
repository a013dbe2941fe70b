// Text files of the forms library, opened through the host seam and closed
// by their handle; line reading into fixed-length fields.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "common/field.h"

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a program path; on failure the handle is empty and `status` the
// file system's error status (positive).
FileHandle open_text_file(std::string_view path, const char* mode, int& status);

// Closes a file written to: 0 when everything written reached the file,
// otherwise the error status (positive) of the write or the close.
int close_written_file(FileHandle& f);

// Reads the next line into `line`: characters beyond its width are lost, a
// final carriage return is dropped. Returns false at the end of the file or
// on a read error; `status` is then -1 (end of file) or the error status.
bool read_line(std::FILE* f, FieldRef line, int& status);

// Writes the trimmed text and a line end.
void write_line(std::FILE* f, std::string_view text);
