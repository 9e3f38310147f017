#include "app/window.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Window window;
    window.setVisible(true);
    return application.exec();
}
