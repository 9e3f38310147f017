#include "app/command_line.h"
#include "app/window.h"
#include "app/world_view.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName("superformula");
    // The project's version in CMake, as texture.pc and the CMake package give it.
    QCoreApplication::setApplicationVersion(SUPERFORMULA_VERSION);
}

// Prints the message of a command line that ends the program and returns
// its exit status.
int stopWith(const CommandLine& line)
{
    std::fputs(qPrintable(line.message + '\n'), *line.exitStatus == 0 ? stdout : stderr);
    return *line.exitStatus;
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read first without a display, so that --help,
    // --version, a bad seed or an unreadable world answer anywhere. A line
    // whose options cannot be read may still hold the toolkit's own options
    // (-platform, -display, ...), which only the GUI application takes out:
    // it is read again once that exists.
    std::optional<CommandLine> line;
    {
        QCoreApplication core(argc, argv);
        nameApplication();
        CommandLine first = parseCommandLine(QCoreApplication::arguments());
        if (first.parsed && first.exitStatus)
            return stopWith(first);
        if (first.parsed)
            line = std::move(first);
    }

    QApplication application(argc, argv);
    nameApplication();
    if (!line)
        line = parseCommandLine(QApplication::arguments());
    if (line->exitStatus)
        return stopWith(*line);
    Window window(line->seed);
    if (line->world) {
        window.showWorld(line->worldPath, std::move(*line->world));
        // The random world it replaced was never seen: nothing to undo.
        window.worldView()->history().clear();
    }
    window.setVisible(true);
    return application.exec();
}
