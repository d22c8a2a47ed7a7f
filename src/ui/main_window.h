// SPDX-License-Identifier: MIT
#pragma once

// The program is one window, Main, over three rooms:
//   protocol/   pure functions over bytes: the command table, the frame and its
//               checksum, what a reply means, the numbers the units agree on;
//   controller/ the rules: start-up, the checks, sending, replies, resends and
//               the reply timeout. It sees the window's controls only as
//               WindowOps, the socket as Endpoint and the reply timer as
//               ReplyTimer, and tells what became of each command as Outcomes,
//               so tests drive it with fakes;
//   net/        the socket (UdpEndpoint over QUdpSocket) and the local port search.
// Main builds its controls from the layout table, one row each, connecting
// each to the controller as it is made; it hands the controller its controls,
// its timer and itself as the shower of outcomes, and forwards every event to
// it. A press of Play, say, travels: the play button clicked ->
// Controller::commandPressed -> sendCurrentCommand checks the address and unit
// ID, frames the command, starts the reply timer and hands the frame to the
// endpoint; the unit's answer comes back through UdpEndpoint::datagramArrived
// -> Controller::datagramArrived, which applies the reply rule (a resend, a
// caption flip) and reports the outcome, which the window shows in the reply
// field. Each outcome a box shows has its words, icon and buttons in notices.h.

#include "controller/controller.h"
#include "controller/outcomes.h"
#include "controller/window_ops.h"
#include "ui/notices.h"

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
    Outcomes &outcomes() { return m_ops; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBackdrop(QPainter &painter) const;

    // The window as the controller sees it. Kept apart from Main so that the
    // rules' setEnabled(MuteOutput, ...) and the like leave QWidget's own
    // setEnabled, isEnabled and setFocus in view.
    class Ops final : public WindowOps, public ReplyTimer, public Outcomes
    {
    public:
        explicit Ops(Main &window) : m_window(window) {}

        std::string text(Field field) const override;
        void setText(Field field, const std::string &text) override;
        bool isLocked(Field field) const override;
        void setLocked(Field field, bool locked) override;
        void setFocus(Field field) override;
        std::string caption(MuteOutput button) const override;
        void setCaption(MuteOutput button, const std::string &caption) override;
        bool isEnabled(MuteOutput button) const override;
        void setEnabled(MuteOutput button, bool enabled) override;

        void start() override;
        void stop() override;

        void noFreePort() override;
        void inputRejected(Input input) override;
        void sending() override;
        void sendRefused(const EndpointError &error) override;
        void sentWithoutReply() override {}
        void resending(const std::string &reply) override;
        void resent(int resends) override;
        void replied(const std::string &reply) override;
        void resendsSpent(const std::string &reply) override;
        void timedOut() override;
        void endpointFailed(const EndpointError &error) override;
        bool confirmsUnlock() override;

    private:
        Main &m_window;
    };

    // Each control is made from its row of the layout table, and connected
    // to the controller as it is made.
    void buildControls();
    QWidget *makeField(Field field, const ControlSpec &row);
    QPushButton *makeButton(const ControlSpec &row);
    QWidget *makeButton(const ControlSpec &row, Command command);
    QWidget *makeButton(const ControlSpec &row, MuteOutput which);
    QLabel *makeLabel(const ControlSpec &row);
    void connectEvents();
    QLineEdit *lineEdit(Field field) const;
    QPushButton *button(MuteOutput button) const;
    void setReplyText(const std::string &text);
    void showReply();
    // Shows the notice's box, modal, and returns the button that closed it.
    QMessageBox::StandardButton showBox(Notice notice, const EndpointError &error = {});

    // The controller is made here, before any control exists: its
    // constructor only keeps these references, and nothing reaches the window
    // through them until startUp().
    Ops m_ops{*this};
    UdpEndpoint *m_endpoint;
    QTimer *m_replyTimer;
    Controller m_controller;
    std::array<QLineEdit *, 6> m_fields{};
    std::array<std::string, 6> m_fieldTexts; // each field's text, as the rules read it
    std::array<QPushButton *, 2> m_muteButtons{};
    // Each mute button's caption as the rules know it; the button shows it translated.
    std::array<std::string, 2> m_muteCaptions;
    QImage m_background; // as large as the window
    // The reply field's latest text: it changes with every reply. The widget
    // shows it at most once per display frame: laying out and painting a
    // reply takes up to milliseconds, and a storm brings thousands a second,
    // more than any screen can show.
    std::string m_reply;
    QTimer *m_replyFrame;         // shows the latest reply once the frame is over
    QElapsedTimer m_replyShown;   // since the field last showed a reply
    QElapsedTimer m_replyArrived; // since the latest long reply arrived
};

} // namespace corvane
