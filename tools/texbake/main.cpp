#include "tools/texbake/command.h"
#include "tools/texbake/interrupt.h"

#include <iostream>

#include <unistd.h>

int main(int argc, char** argv)
{
    const texbake::CommandLine line = texbake::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (!line.options)
        return line.exitStatus;
    static texbake::Interrupt interrupt;
    texbake::catchInterrupts(interrupt);
    return texbake::runCommand(*line.options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, interrupt);
}
