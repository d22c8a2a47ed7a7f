#include "support/box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

BoxAnswerer::BoxAnswerer(QObject *parent) : QObject(parent)
{
    connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
    m_poll.start(5);
}

void BoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    seen << box->windowTitle() + QStringLiteral(": ") + box->text();
    icons << box->icon();
    if (!keys.empty()) {
        QTest::keyClick(box, keys.front());
        keys.pop_front();
        return;
    }
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
