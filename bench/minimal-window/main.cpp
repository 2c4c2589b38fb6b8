#include "bench/minimal-window/FirstPaintWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    FirstPaintWindow window(qEnvironmentVariableIntValue("DASHCAM_QUIT_AFTER_FIRST_PAINT") == 1);
    // The editor's main window size, so both programs put the same number of pixels on screen.
    window.resize(722, 587);
    window.show();
    return app.exec();
}
