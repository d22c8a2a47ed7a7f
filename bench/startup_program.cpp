// The program's start-up exactly as app/main.cpp does it, ending once the
// window has been shown (the port is bound before that, by startUp()).

#include "support/startup_probe.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    corvane::Main window;
    window.startUp();
    window.show();
    bench::ReportWhenShown(window);
    return app.exec();
}
