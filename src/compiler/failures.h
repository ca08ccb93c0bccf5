// The three ways a build can stop short of its end, each caught in one place:
// run-time failures inside the compile step reach its error trap (error 25),
// the stamping errors end the build with their numbered message,
// and a file that cannot be written, read or deleted ends the program with the failure report.
#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// A read failure or a failed range-checked conversion inside the compile step.
class RunTimeFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The stamping found its slots taken: the build stops with " Errore n. <number>".
class BuildStopped : public std::runtime_error {
  public:
    BuildStopped(int number, const std::string& message)
        : std::runtime_error(message), number_(number) {}
    int number() const { return number_; }

  private:
    int number_;
};

// A file of the build could not be created, written, read or deleted.
class FileFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace scenario
