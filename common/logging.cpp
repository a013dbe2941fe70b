// logging: to be written.
