// cstring_bridge: to be written.
