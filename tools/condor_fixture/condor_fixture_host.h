// The platform half of the installation generator.
#pragma once

#include <cstdint>
#include <string>

#include "tools/condor_fixture/condor_fixture.h"

namespace condor_fixture {

// Makes ready what the files and entries go into (Linux: the prefix).
std::string prepare_target(const SimInstall& spec);
// The value the program will read for an environment variable.
bool env_value(const SimInstall& spec, const std::string& name, std::string& value);
// Writes the registry entries of the spec.
std::string write_registry(const SimInstall& spec);
// Sets a file's modification time (seconds since 1970-01-01 UTC).
bool set_mtime(const std::string& host, std::int64_t t);

}  // namespace condor_fixture
