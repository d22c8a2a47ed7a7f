// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include "net/latin1.h"
#include "net/udp_endpoint.h"
#include "ui/appearance.h"
#include "ui/backdrop_button.h"
#include "ui/entry_field.h"
#include "ui/layout_table.h"

#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <variant>
#include <vector>

namespace corvane {

namespace {

// One frame of a 60 Hz screen, rounded up: the reply field never shows two
// replies within one frame, and shows the latest within 20 ms.
constexpr int kDisplayFrameMs = 17;
// The longest reply shown as soon as its frame comes: what a UDP datagram
// carries in one Ethernet frame. A longer one comes only from a fault, and a
// full-size one takes the field some ten milliseconds to lay out and as long
// again to paint: it is shown once it has stood as the latest for a whole
// frame, so that in a flood such replies are skipped as a screen skips frames.
constexpr std::size_t kLongestPromptReply = 1472;

template <class... Handlers> struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};

QRect PixelRect(const ControlSpec &row)
{
    return {TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
            TwipsToPixels(row.height)};
}

// A caption, label or tooltip as shown: the table's text, translated.
QString Shown(const char *text) { return *text ? Main::tr(text) : QString(); }

std::size_t Index(auto role) { return static_cast<std::size_t>(role); }

} // namespace

Main::Main(QWidget *parent)
    : QWidget(parent), m_endpoint(new UdpEndpoint(this)), m_replyTimer(new QTimer(this)),
      m_controller(m_ops, *m_endpoint, m_ops, m_ops), m_replyFrame(new QTimer(this))
{
    setWindowTitle(tr("Corvane V%1").arg(QStringLiteral(CORVANE_VERSION)));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    // The fields' face; labels and buttons take the bold one.
    setFont(UiFont(false));
    m_background = BackgroundArt(size());

    m_endpoint->setObjectName(QStringLiteral("endpoint"));
    m_replyTimer->setObjectName(QStringLiteral("replyTimer"));
    m_replyTimer->setInterval(kReplyTimeout);
    // A coarse timer may fire up to 5% early; the warning must not come before its time.
    m_replyTimer->setTimerType(Qt::PreciseTimer);
    m_replyFrame->setSingleShot(true);
    m_replyFrame->setTimerType(Qt::PreciseTimer);

    {
        // A line edit lays its text out in the application's font as it is
        // made, before it takes the window's. Made while that font is the
        // window's, the fields open no face the window never shows: a face
        // is the largest part of what the window costs at start. Message
        // boxes and tooltips keep the application's font, set back at once.
        const QFont applicationFont = QGuiApplication::font();
        QGuiApplication::setFont(font());
        buildControls();
        QGuiApplication::setFont(applicationFont);
    }
    connectEvents();
}

void Main::buildControls()
{
    std::vector<std::pair<int, QWidget *>> focusOrder;
    std::vector<std::pair<QLabel *, Field>> buddies;
    for (const ControlSpec &row : MainLayout()) {
        const Overloaded make{
            [&](Field field) -> QWidget * { return makeField(field, row); },
            [&](Command command) -> QWidget * { return makeButton(row, command); },
            [&](MuteOutput which) -> QWidget * { return makeButton(row, which); },
            [&](Label label) -> QWidget * {
                QLabel *made = makeLabel(row);
                buddies.emplace_back(made, label.buddy);
                return made;
            },
        };
        QWidget *control = std::visit(make, row.role);
        control->setObjectName(QString::fromLatin1(row.name));
        control->setToolTip(Shown(row.toolTip));
        control->setGeometry(PixelRect(row));
        const bool fieldText = std::holds_alternative<Field>(row.role);
        FitText(control,
                *row.longest ? Shown(row.longest)
                : fieldText  ? QString::fromLatin1(row.text)
                             : Shown(row.text),
                width());
        if (control->focusPolicy() != Qt::NoFocus)
            focusOrder.emplace_back(row.tabIndex, control);
    }
    // Every field and mute button the rules reach must have its row.
    if (std::ranges::count(m_fields, nullptr) + std::ranges::count(m_muteButtons, nullptr) != 0)
        qFatal("The layout table lacks a field or mute button the window's rules use");
    for (const auto &[label, field] : buddies)
        label->setBuddy(lineEdit(field));

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    if (!focusOrder.empty())
        focusOrder.front().second->setFocus();
}

QWidget *Main::makeField(Field field, const ControlSpec &row)
{
    const QString text = QString::fromLatin1(row.text);
    // Fields the operator may type into judge what is typed; the others only show.
    EntryField *entry = row.readOnly ? nullptr : new EntryField(field, text, this);
    QLineEdit *edit = entry ? entry : new QLineEdit(text, this);
    if (row.maxLength > 0)
        edit->setMaxLength(row.maxLength);
    edit->setReadOnly(row.readOnly);
    m_fields[Index(field)] = edit;
    // Kept as 8-bit text at every change, before any change rule runs, so
    // that a press reads the fields without converting them.
    m_fieldTexts[Index(field)] = row.text;
    if (field != Field::Reply)
        connect(edit, &QLineEdit::textChanged, this,
                [this, field](const QString &text) { m_fieldTexts[Index(field)] = Latin1(text); });

    switch (field) {
    case Field::Address:
        connect(entry, &EntryField::editRequested, this, [this] { m_controller.addressFieldClicked(); });
        break;
    case Field::UnitId:
        // Change rules run on every change, the program's own included.
        connect(edit, &QLineEdit::textChanged, this, [this] { m_controller.unitIdChanged(); });
        break;
    case Field::ClipNumber:
        // It has no label of its own; screen readers announce it by what its tooltip says it is.
        edit->setAccessibleName(tr("Clip number"));
        break;
    case Field::Reply: // its font is set as the first reply is shown
    case Field::LocalAddress:
    case Field::LocalPort: break;
    }
    return edit;
}

QPushButton *Main::makeButton(const ControlSpec &row)
{
    auto *button = new BackdropButton(
        Shown(row.text), [this](QPainter &painter) { paintBackdrop(painter); }, this);
    button->setFont(UiFont(true));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget *Main::makeButton(const ControlSpec &row, Command command)
{
    QPushButton *button = makeButton(row);
    connect(button, &QPushButton::clicked, this, [this, command] { m_controller.commandPressed(command); });
    return button;
}

QWidget *Main::makeButton(const ControlSpec &row, MuteOutput which)
{
    QPushButton *button = makeButton(row);
    m_muteButtons[Index(which)] = button;
    m_muteCaptions[Index(which)] = row.text;
    connect(button, &QPushButton::clicked, this, [this, which] { m_controller.mutePressed(which); });
    return button;
}

QLabel *Main::makeLabel(const ControlSpec &row)
{
    auto *label = new QLabel(Shown(row.text), this);
    label->setFont(UiFont(true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

void Main::connectEvents()
{
    connect(m_replyTimer, &QTimer::timeout, this, [this] {
        qCDebug(lcWire, "no reply within %d ms", m_replyTimer->interval());
        m_controller.replyTimerExpired();
    });
    connect(m_replyFrame, &QTimer::timeout, this, &Main::showReply);
    connect(m_endpoint, &UdpEndpoint::datagramArrived, this, [this] { m_controller.datagramArrived(); });
    connect(m_endpoint, &UdpEndpoint::errorEvent, this, [this](int number, const QString &description) {
        m_controller.endpointError({number, Latin1(description)});
    });
}

void Main::startUp() { m_controller.startUp(); }

void Main::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackdrop(painter);
}

void Main::paintBackdrop(QPainter &painter) const { painter.drawImage(0, 0, m_background); }

QLineEdit *Main::lineEdit(Field field) const { return m_fields[Index(field)]; }

QPushButton *Main::button(MuteOutput button) const { return m_muteButtons[Index(button)]; }

std::string Main::Ops::text(Field field) const
{
    // The reply as it arrived, from m_reply: the field itself shows it at most
    // once per display frame.
    return field == Field::Reply ? m_window.m_reply : m_window.m_fieldTexts[Index(field)];
}

void Main::Ops::setText(Field field, const std::string &text)
{
    if (field == Field::Reply)
        m_window.setReplyText(text);
    else
        m_window.lineEdit(field)->setText(Latin1(text));
}

void Main::setReplyText(const std::string &text)
{
    if (text == m_reply)
        return; // as in any field, the same text again is no change
    m_reply = text;
    if (m_reply.size() > kLongestPromptReply)
        m_replyArrived.start(); // only a long reply waits until it has stood a frame
    // A frame after the last reply shown, the field shows this one at once;
    // within the frame, the timer shows whichever is the latest at its end.
    const qint64 sinceShown = m_replyShown.isValid() ? m_replyShown.elapsed() : kDisplayFrameMs;
    if (sinceShown >= kDisplayFrameMs)
        showReply();
    else if (!m_replyFrame->isActive())
        m_replyFrame->start(static_cast<int>(kDisplayFrameMs - sinceShown));
}

void Main::showReply()
{
    if (m_reply.size() > kLongestPromptReply && m_replyArrived.elapsed() < kDisplayFrameMs) {
        m_replyFrame->start(static_cast<int>(kDisplayFrameMs - m_replyArrived.elapsed()));
        return;
    }
    m_replyFrame->stop();
    m_replyShown.start();
    QLineEdit *field = lineEdit(Field::Reply);
    // A reply is raw bytes, one char each. The codes the face has no glyphs
    // for (0x7F to 0x9F; the line edit shows those below 0x20 as spaces) show
    // as its own box: searching every other font for each of them costs a
    // full-size reply tens of milliseconds at every layout and every repaint.
    // Set with the first reply, not at start, where the empty field looks the
    // same in the window's face and a font of its own would cost start-up a
    // face of its own.
    if (field->font().styleStrategy() != QFont::NoFontMerging) {
        QFont replyFont = field->font();
        replyFont.setStyleStrategy(QFont::NoFontMerging);
        field->setFont(replyFont);
    }
    field->setText(Latin1(m_reply));
}

bool Main::Ops::isLocked(Field field) const { return m_window.lineEdit(field)->isReadOnly(); }

void Main::Ops::setLocked(Field field, bool locked) { m_window.lineEdit(field)->setReadOnly(locked); }

void Main::Ops::setFocus(Field field) { m_window.lineEdit(field)->setFocus(Qt::OtherFocusReason); }

std::string Main::Ops::caption(MuteOutput which) const { return m_window.m_muteCaptions[Index(which)]; }

void Main::Ops::setCaption(MuteOutput which, const std::string &caption)
{
    m_window.m_muteCaptions[Index(which)] = caption;
    m_window.button(which)->setText(Main::tr(caption.c_str()));
}

bool Main::Ops::isEnabled(MuteOutput which) const { return m_window.button(which)->isEnabled(); }

void Main::Ops::setEnabled(MuteOutput which, bool enabled) { m_window.button(which)->setEnabled(enabled); }

void Main::Ops::start() { m_window.m_replyTimer->start(); }

void Main::Ops::stop() { m_window.m_replyTimer->stop(); }

void Main::Ops::noFreePort() { m_window.showBox(Notice::NoFreePort); }

void Main::Ops::inputRejected(Input input)
{
    m_window.showBox(input == Input::Address ? Notice::AddressRejected : Notice::UnitIdRejected);
}

void Main::Ops::sending() { m_window.setReplyText({}); }

void Main::Ops::sendRefused(const EndpointError &error) { m_window.showBox(Notice::SendRefused, error); }

void Main::Ops::resending(const std::string &reply)
{
    // The reply shows for its frame; the field then waits empty for the answer to the resend.
    m_window.setReplyText(reply);
    m_window.setReplyText({});
}

void Main::Ops::resent(int resends)
{
    // After the endpoint has logged the frame, the wire log numbers it.
    qCDebug(lcWire, "that was resend %d of this command", resends);
}

void Main::Ops::replied(const std::string &reply) { m_window.setReplyText(reply); }

void Main::Ops::resendsSpent(const std::string &reply) { m_window.setReplyText(reply); }

void Main::Ops::timedOut() { m_window.showBox(Notice::TimedOut); }

void Main::Ops::endpointFailed(const EndpointError &error)
{
    m_window.showBox(Notice::EndpointFailed, error);
}

bool Main::Ops::confirmsUnlock() { return m_window.showBox(Notice::Unlock) == QMessageBox::Yes; }

QMessageBox::StandardButton Main::showBox(Notice notice, const EndpointError &error)
{
    const NoticeBox shown = BoxFor(notice, error);
    QMessageBox box(shown.icon, shown.title, shown.text, shown.buttons, this);
    box.setTextFormat(Qt::PlainText);
    if (shown.buttons == QMessageBox::Ok) {
        box.exec();
        return QMessageBox::Ok; // closing an OK box any other way still means OK
    }
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::No;
}

} // namespace corvane
