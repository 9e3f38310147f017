#include "tools/texbake/command.h"
#include "tools/texbake/interrupt.h"

#include <iostream>
#include <new>

#include <unistd.h>

int main(int argc, char** argv)
{
    const texbake::CommandLine line = texbake::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (!line.options)
        return line.exitStatus;
    static texbake::Interrupt interrupt;
    texbake::catchInterrupts(interrupt);
    // Caught, so that the output's temporary file is removed on the way out.
    try {
        return texbake::runCommand(*line.options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, interrupt);
    } catch (const std::bad_alloc&) {
        std::cerr << "texbake: out of memory; " << line.options->outputPath << " was not written\n";
    }
    return texbake::writeFailed;
}
