// The log: every message goes to standard output and is appended to
// "Logfile.txt" in the current folder, split at "/", optionally framed by a
// warning, information or error banner ("{W}", "{I}", "{E}").
#pragma once

#include <string_view>

void log_message_f(std::string_view msg);
void log_message(const char* string);
