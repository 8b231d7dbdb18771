// The one error the data builder reports: a source file, a line in it, and what is wrong.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by every reader and writer of the builder. `line` is 0 when the fault is not on one
// line (a missing file, a wrong line count); what() reads "file:line: message".
struct BuildError : std::runtime_error {
    BuildError(const std::string &in_file, int at_line, const std::string &message)
        : std::runtime_error(in_file + (at_line > 0 ? ":" + std::to_string(at_line) : "") + ": " +
                             message),
          file(in_file), line(at_line)
    {
    }
    std::string file;
    int line;
};
