// Messages to the user outside the form: modal boxes with a title, a text
// ("/" starts a new line, "\/" keeps a slash) and a kind (0 information,
// 1 error, 2 warning, 3 yes/no, 4 ok/cancel, 5 yes/no/cancel), or the same
// text on the console. Also the console window and the language test.
#pragma once

#include <string_view>

#include "common/field.h"

// Shared flags of the message layer: French texts, and messages written to
// the console instead of shown in boxes.
extern bool qfr;
extern bool qline;

void error_message_tit(int& msg_status, std::string_view tit, FieldRef msg, bool qline);
void error_message(int& msg_status, FieldRef msg, bool qline);
int DisplayMessage(const char* title, const char* message, int& status);
void HideConsole();
int IsLanguageFrench();

// Shows `msg` as an error box titled `tit` and ends the program.
[[noreturn]] void stop_with_message(std::string_view tit, std::string_view msg);
