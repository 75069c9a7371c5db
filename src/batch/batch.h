// veltrano-batch: the whole chain from the command line. It fills the same
// control state and follower parameters as the window, runs the same generate
// pass and the same writers, so its files are byte for byte those the window
// saves for the same settings.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace veltrano {

// Exit status: 0 done, 1 an error of the calculation or the files (the
// window's message on `err`), 2 a usage error (a one-line hint on `err`).
int run_batch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The operating system's decimal separator as the installed locale named by
// LC_ALL, LC_NUMERIC or LANG has it; '.' when there is none.
char system_separator_from_environment();

}  // namespace veltrano
