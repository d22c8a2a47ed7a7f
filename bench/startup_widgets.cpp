// A reference for start-up, not a floor: the window's nineteen controls as
// plain standard widgets with their texts, in the default font, with no art
// and no layout work, and one bound socket. It shows what text on a window
// costs by itself: the font database, a face, shaping and painting glyphs.

#include "support/startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(297, 291);
    const char *fields[] = {"255.255.255.255", "10.99.0.1", "1028", "1", "0", ""};
    const char *labels[] = {"Broadcast IP Address", "Local IP Address", "Local Port", "Tesk2 ID Number",
                            "Tesk2 Response"};
    const char *buttons[] = {"Select Clip #", "Pause", "Play",       "Still",
                             "Loop Play",     "Stop",  "Mute Video", "Mute Audio"};
    int y = 0;
    for (const char *text : fields)
        (new QLineEdit(QString::fromLatin1(text), &window))->setGeometry(8, y += 20, 100, 19);
    y = 0;
    for (const char *text : labels)
        (new QLabel(QString::fromLatin1(text), &window))->setGeometry(120, y += 20, 170, 19);
    y = 130;
    for (const char *text : buttons)
        (new QPushButton(QString::fromLatin1(text), &window))->setGeometry(8, y += 20, 120, 20);
    bench::BindShowAndReport(window);
    return app.exec();
}
