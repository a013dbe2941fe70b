// text_utils: to be written.
