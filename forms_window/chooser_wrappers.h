// The dialogs for the rest of the program, with one calling convention:
// zero-terminated texts in, the answer and its length out (the answer into
// the caller's field, blank-padded), and a message box when nothing was
// chosen. They ask for the native dialogs with the program's code page.
#pragma once

#include <string>
#include <vector>

#include "common/field.h"

// A folder: 0 with the folder and its length; 1 with length 0 when nothing
// was chosen, after the box "Error" / "No folder selected". A folder that
// does not fit `folder` is refused the same way (its own message); the field
// is left as it was whenever nothing is returned.
int GetFolder(const char* title, const char* default_folder, int& length, FieldRef folder);

// A file to open: 1 with the path and its length; 0 with length 0 when
// nothing was chosen, after an error box saying that no file was returned
// (in French when the user interface is). `filter` holds patterns
// separated by commas ("*.fpl,*.trk"); `multiple` asks for several files,
// returned separated by "|". The fourth text is not used.
int GetFileName(FieldRef file, const char* title, const char* default_path, const char* filter, const char* unused,
                int multiple, int& length);
// A file to save, as GetFileName with a single file.
int SaveFileName(FieldRef file, const char* title, const char* default_path, const char* filter, const char* unused,
                 int& length);

// A text: the entered text (cut to the field) and its length, or length 0
// and the field as it was when cancelled. No message box.
void GetString(const char* title, const char* prompt, FieldRef text, const char* default_text, int& length);

// The patterns of a filter list: split at every comma, blanks around them
// and empty ones dropped, at most the first 10.
std::vector<std::string> split_filter(const char* filter);
