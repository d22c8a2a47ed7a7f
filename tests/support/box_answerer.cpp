#include "support/box_answerer.h"

#include <QAbstractButton>
#include <QApplication>

BoxAnswerer::BoxAnswerer(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(5);
    connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
    m_poll.start();
}

void BoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    seen << box->windowTitle() + QStringLiteral(": ") + box->text();
    icons << box->icon();
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (QAbstractButton *button = box->button(answer))
        button->click();
    else
        box->reject();
}
