// command_interpreter_win32: to be written.
