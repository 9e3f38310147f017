#pragma once

#include "tools/texbake/interrupt.h"
#include "tools/texbake/options.h"

#include <ostream>

namespace texbake {

// Carries out a parsed command line: prints the node list, or reads the
// graph, checks it whole, and only then creates the output and bakes it.
// Messages go to `err`, one line each; the progress bar too, when
// `terminal`. Returns the exit status (see ExitStatus; 128 + the signal
// once `interrupt` was requested, with nothing written).
int runCommand(const Options& options, std::ostream& out, std::ostream& err, bool terminal,
               const Interrupt& interrupt);

} // namespace texbake
