#pragma once

// The program is one window, Main, over three rooms:
//   protocol/   pure functions over bytes: the command texts, the frame and its
//               checksum, what a reply means;
//   controller/ the rules: start-up, the checks, sending, replies, resends and
//               the reply timeout. It sees the window only as WindowOps and the
//               socket only as Endpoint, so tests drive it with fakes;
//   net/        the socket (UdpEndpoint over QUdpSocket) and the local port search.
// Main builds its controls from the layout table, implements WindowOps with
// them, and forwards every event to the controller. A press of Play, say,
// travels: PlayCmd clicked -> Controller::commandPressed -> SendCmd checks the
// address and ID, frames the command, starts the reply timer and hands the
// frame to the endpoint; the unit's answer comes back through
// UdpEndpoint::datagramArrived -> Controller::datagramArrived -> the reply field,
// whose change runs the reply rule.

#include "controller/controller.h"
#include "controller/window_ops.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QTimer;

namespace corvane {

class UdpEndpoint;
struct ControlSpec;

class Main : public QWidget, public WindowOps
{
    Q_OBJECT

public:
    explicit Main(QWidget *parent = nullptr);

    // Fills the fields and binds the socket; call once, before showing the window.
    void startUp();

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
    int messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                   const std::string &text) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *makeControl(const ControlSpec &row, const QFont &regular, const QFont &bold);
    void connectEvents();
    bool filterKey(Field field, const QKeyEvent &key) const;
    QLineEdit *lineEdit(Field field) const;
    QPushButton *button(MuteButton button) const;
    void setReplyText(const std::string &text);
    void showReply();

    UdpEndpoint *m_endpoint; // Zelosock
    QTimer *m_replyTimer;    // TeskTimeOut
    Controller m_controller;
    std::array<QLineEdit *, 6> m_fields{};
    std::array<QPushButton *, 2> m_muteButtons{};
    QPixmap m_background;
    // The reply field's text, which the rules read: it changes, and its rule
    // runs, with every reply. The widget shows it at most once per display
    // frame: laying out and painting a reply takes up to milliseconds, and a
    // storm brings thousands a second, more than any screen can show.
    std::string m_reply;
    QTimer *m_replyFrame;       // shows the latest reply once the frame is over
    QElapsedTimer m_replyShown; // since the field last showed a reply
};

} // namespace corvane
