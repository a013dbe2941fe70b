// dialogs_posix: to be written.
