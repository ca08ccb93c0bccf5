// The two failures that travel as exceptions, each caught in one place: run-time failures inside
// the compile step reach its error trap (error 25), and a file that cannot be written, read or
// deleted ends the program with the failure report. A stamping error is a value, not one of these.
#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// A read failure or a failed range-checked conversion inside the compile step.
class RunTimeFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file of the build could not be created, written, read or deleted.
class FileFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace scenario
