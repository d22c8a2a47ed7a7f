// SPDX-License-Identifier: MIT
#pragma once

// The program is one window, Main, over three rooms:
//   protocol/   pure functions over bytes: the command texts, the frame and its
//               checksum, what a reply means;
//   controller/ the rules: start-up, the checks, sending, replies, resends and
//               the reply timeout. It sees the window only as WindowOps and the
//               socket only as Endpoint, so tests drive it with fakes;
//   net/        the socket (UdpEndpoint over QUdpSocket) and the local port search.
// Main builds its controls from the layout table, one row each, connecting
// each to the controller as it is made; it hands the controller a WindowOps
// over those controls, and forwards every event to it. A press of Play, say,
// travels: PlayCmd clicked -> Controller::commandPressed -> SendCmd checks the
// address and ID, frames the command, starts the reply timer and hands the
// frame to the endpoint; the unit's answer comes back through
// UdpEndpoint::datagramArrived -> Controller::datagramArrived -> the reply field,
// whose change runs the reply rule.

#include "controller/controller.h"
#include "controller/window_ops.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTimer;

namespace corvane {

class UdpEndpoint;
struct ControlSpec;

class Main : public QWidget
{
    Q_OBJECT

public:
    explicit Main(QWidget *parent = nullptr);

    // Fills the fields and binds the socket; call once, before showing the window.
    void startUp();

    // The window as the controller sees it, for tests and benchmarks that
    // work it the same way.
    WindowOps &ops() { return m_ops; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBackdrop(QPainter &painter) const;

    // The window as the controller sees it. Kept apart from Main so that the
    // rules' setEnabled(MuteButton, ...) and the like leave QWidget's own
    // setEnabled, isEnabled and setFocus in view.
    class Ops final : public WindowOps
    {
    public:
        explicit Ops(Main &window) : m_window(window) {}

        std::string text(Field field) const override;
        void setText(Field field, const std::string &text) override;
        bool isLocked(Field field) const override;
        void setLocked(Field field, bool locked) override;
        void setFocus(Field field) override;
        std::string caption(MuteButton button) const override;
        void setCaption(MuteButton button, const std::string &caption) override;
        bool isEnabled(MuteButton button) const override;
        void setEnabled(MuteButton button, bool enabled) override;
        void startReplyTimer() override;
        void stopReplyTimer() override;
        BoxResult messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                             const std::string &text) override;

    private:
        Main &m_window;
    };

    // Each control is made from its row of the layout table, and connected
    // to the controller as it is made.
    void buildControls();
    QWidget *makeField(Field field, const ControlSpec &row);
    QPushButton *makeButton(const ControlSpec &row);
    QWidget *makeButton(const ControlSpec &row, Command command);
    QWidget *makeButton(const ControlSpec &row, MuteButton which);
    QLabel *makeLabel(const ControlSpec &row);
    void connectEvents();
    QLineEdit *lineEdit(Field field) const;
    QPushButton *button(MuteButton button) const;
    void setReplyText(const std::string &text);
    void showReply();

    // The controller is made here, before any control exists: its
    // constructor only keeps these references, and nothing reaches the window
    // through them until startUp().
    Ops m_ops{*this};
    UdpEndpoint *m_endpoint; // Zelosock
    QTimer *m_replyTimer;    // TeskTimeOut
    Controller m_controller;
    std::array<QLineEdit *, 6> m_fields{};
    std::array<std::string, 6> m_fieldTexts; // each field's text, as the rules read it
    std::array<QPushButton *, 2> m_muteButtons{};
    QImage m_background; // as large as the window
    // The reply field's text as the rules read it: it changes, and its rule
    // runs, with every reply. The widget shows it at most once per display
    // frame: laying out and painting a reply takes up to milliseconds, and a
    // storm brings thousands a second, more than any screen can show.
    std::string m_reply;
    QTimer *m_replyFrame;         // shows the latest reply once the frame is over
    QElapsedTimer m_replyShown;   // since the field last showed a reply
    QElapsedTimer m_replyArrived; // since the latest long reply arrived
};

} // namespace corvane
