#pragma once

#include "world/world_file.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do on its command line:
//   superformula [--seed N] [WORLD.json]
//   superformula --help | --version
struct CommandLine {
    // Seeds the first population and all breeding; none means the clock.
    std::optional<unsigned> seed;
    // The world to start with, already read, and its file.
    std::optional<WorldRecord> world;
    QString worldPath;
    // False when the options themselves could not be read (an unknown
    // option, a missing value); exitStatus is 2 then.
    bool parsed = true;
    // Set when the program is to stop before opening any window, with this
    // exit status (0 after --help or --version, 2 for a bad argument or an
    // unreadable world file) after printing `message`.
    std::optional<int> exitStatus;
    QString message;
};

// `arguments` as QCoreApplication::arguments() gives them, program first.
CommandLine parseCommandLine(const QStringList& arguments);
