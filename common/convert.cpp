// convert: to be written.
