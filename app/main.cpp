#include "app/command_line.h"
#include "app/window.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("superformula");
    QApplication::setApplicationVersion("1.1");

    CommandLine line = parseCommandLine(QApplication::arguments());
    if (line.exitStatus) {
        std::fputs(qPrintable(line.message + '\n'), *line.exitStatus == 0 ? stdout : stderr);
        return *line.exitStatus;
    }
    Window window(line.seed);
    if (line.world)
        window.showWorld(line.worldPath, std::move(*line.world));
    window.setVisible(true);
    return application.exec();
}
