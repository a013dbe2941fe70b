// messages: to be written.
