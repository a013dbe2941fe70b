// dialogs_win32: to be written.
