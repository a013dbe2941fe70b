// command_interpreter_posix: to be written.
