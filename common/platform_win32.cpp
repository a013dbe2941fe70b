// platform_win32: to be written.
