// paths: to be written.
