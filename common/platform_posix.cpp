// platform_posix: to be written.
