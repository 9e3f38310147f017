#pragma once

namespace texbake {

// Ctrl-C (SIGINT) and SIGTERM during a bake: the first asks the bake to
// stop after its current band, so that the unfinished output is removed
// rather than left behind as a temporary file; a second ends the program
// at once.
void catchInterrupts();
// The signal caught, or 0.
int interruption();

} // namespace texbake
