#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <deque>

// Answers the real window's modal boxes as an operator would: it watches for
// a box, notes its title and text, and presses the next queued key (Return,
// Escape) or else clicks the next queued button (OK when none is queued).
// Created before the action that opens the box.
class BoxAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit BoxAnswerer(QObject *parent = nullptr);

    std::deque<Qt::Key> keys;
    std::deque<QMessageBox::StandardButton> answers;
    QStringList seen; // "title: text" of every box answered
    QList<QMessageBox::Icon> icons;

private:
    void poll();
    QTimer m_poll;
};
