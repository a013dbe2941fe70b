// stop: to be written.
