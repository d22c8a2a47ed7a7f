#include "ui/main_window.h"

#include "net/udp_endpoint.h"
#include "ui/appearance.h"
#include "ui/key_filter.h"
#include "ui/layout_table.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <map>
#include <vector>

namespace corvane {

namespace {

constexpr int kReplyTimeoutMs = 6000;
// One frame of a 60 Hz screen, rounded up: the reply field never shows two
// replies within one frame, and shows the latest within 20 ms.
constexpr int kDisplayFrameMs = 17;

struct FieldName
{
    Field field;
    const char *name;
};
constexpr FieldName kFieldNames[] = {
    {Field::BroadIPtxt, "BroadIPtxt"},     {Field::LocalIPtxt, "LocalIPtxt"},
    {Field::LocalPortTxt, "LocalPortTxt"}, {Field::TeskIDtxt, "TeskIDtxt"},
    {Field::ClipNumtxt, "ClipNumtxt"},     {Field::TeskRspTxt, "TeskRspTxt"},
};

// The longest text each field must show without scrolling.
struct FieldContent
{
    Field field;
    const char *longest;
};
constexpr FieldContent kLongestContent[] = {
    {Field::BroadIPtxt, "255.255.255.255"}, {Field::LocalIPtxt, "255.255.255.255"},
    {Field::LocalPortTxt, "49152"},         {Field::TeskIDtxt, "127"},
    {Field::ClipNumtxt, "99999"},
};

QRect PixelRect(const ControlSpec &row)
{
    return {TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
            TwipsToPixels(row.height)};
}

QString Latin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Latin1(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Keys that type nothing (cursor keys, Tab, Delete, shortcuts such as Ctrl+V)
// keep their usual effect; only typed characters are filtered.
bool TypesCharacter(const QKeyEvent &key)
{
    if (key.text().isEmpty() || key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return false;
    default: return true;
    }
}

} // namespace

Main::Main(QWidget *parent)
    : QWidget(parent), m_endpoint(new UdpEndpoint(this)), m_replyTimer(new QTimer(this)),
      m_controller(*this, *m_endpoint), m_background(BackgroundArt()), m_replyFrame(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Corvane V1.0.1"));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));

    m_endpoint->setObjectName(QStringLiteral("Zelosock"));
    m_replyTimer->setObjectName(QStringLiteral("TeskTimeOut"));
    m_replyTimer->setInterval(kReplyTimeoutMs);
    // A coarse timer may fire up to 5% early; the warning must not come before 6 s.
    m_replyTimer->setTimerType(Qt::PreciseTimer);
    m_replyFrame->setSingleShot(true);
    m_replyFrame->setTimerType(Qt::PreciseTimer);

    buildControls();
    connectEvents();
}

// One control of the layout table, placed and dressed.
QWidget *Main::makeControl(const ControlSpec &row, const QFont &regular, const QFont &bold)
{
    const QString text = QString::fromLatin1(row.text);
    QWidget *control = nullptr;
    switch (row.kind) {
    case ControlKind::TextField: {
        auto *edit = new QLineEdit(text, this);
        edit->setFont(regular);
        if (row.maxLength > 0)
            edit->setMaxLength(row.maxLength);
        edit->setReadOnly(row.readOnly);
        control = edit;
        break;
    }
    case ControlKind::Label: {
        auto *label = new QLabel(text, this);
        label->setFont(bold);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        control = label;
        break;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(text, this);
        button->setFont(bold);
        button->setAutoDefault(false);
        button->setDefault(false);
        control = button;
        break;
    }
    }
    control->setObjectName(QString::fromLatin1(row.name));
    control->setToolTip(QString::fromLatin1(row.toolTip));
    control->setGeometry(PixelRect(row));
    if (auto *label = qobject_cast<QLabel *>(control))
        FitCaption(label, width());
    return control;
}

void Main::buildControls()
{
    const QFont regular = UiFont(false);
    const QFont bold = UiFont(true);
    std::vector<std::pair<int, QWidget *>> focusOrder;
    for (const ControlSpec &row : MainLayout()) {
        QWidget *control = makeControl(row, regular, bold);
        if (row.kind != ControlKind::Label)
            focusOrder.emplace_back(row.tabIndex, control);
    }

    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);

    for (const ControlSpec &row : MainLayout()) {
        if (row.buddy)
            findChild<QLabel *>(QString::fromLatin1(row.name))
                ->setBuddy(findChild<QLineEdit *>(QString::fromLatin1(row.buddy)));
    }
    for (const FieldName &entry : kFieldNames)
        m_fields[static_cast<std::size_t>(entry.field)] =
            findChild<QLineEdit *>(QString::fromLatin1(entry.name));
    for (const FieldContent &entry : kLongestContent)
        FitContent(lineEdit(entry.field), QString::fromLatin1(entry.longest));
    // A reply is raw bytes, one char each. The control codes among them, which
    // the face has no glyphs for, show as its own box: searching every other
    // font for each of them costs a full-size reply tens of milliseconds at
    // every layout and every repaint.
    QFont replyFont = lineEdit(Field::TeskRspTxt)->font();
    replyFont.setStyleStrategy(QFont::NoFontMerging);
    lineEdit(Field::TeskRspTxt)->setFont(replyFont);
    // The clip field has no label of its own; screen readers announce it by what its tooltip says it is.
    lineEdit(Field::ClipNumtxt)->setAccessibleName(QStringLiteral("Clip number"));
    m_muteButtons[static_cast<std::size_t>(MuteButton::VideoMuteCmd)] =
        findChild<QPushButton *>(QStringLiteral("VideoMuteCmd"));
    m_muteButtons[static_cast<std::size_t>(MuteButton::AudioMuteCmd)] =
        findChild<QPushButton *>(QStringLiteral("AudioMuteCmd"));

    if (!focusOrder.empty())
        focusOrder.front().second->setFocus();
}

void Main::connectEvents()
{
    const std::pair<const char *, Command> commandButtons[] = {
        {"SelectCmd", Command::SelectClip}, {"PlayCmd", Command::Play},   {"LPlayCmd", Command::LoopPlay},
        {"PauseCmd", Command::Pause},       {"StillCmd", Command::Still}, {"StopCmd", Command::Stop},
    };
    for (const auto &[name, command] : commandButtons) {
        auto *control = findChild<QPushButton *>(QString::fromLatin1(name));
        connect(control, &QPushButton::clicked, this,
                [this, command = command] { m_controller.commandPressed(command); });
    }
    connect(button(MuteButton::AudioMuteCmd), &QPushButton::clicked, this,
            [this] { m_controller.mutePressed(MuteOutput::Audio); });
    connect(button(MuteButton::VideoMuteCmd), &QPushButton::clicked, this,
            [this] { m_controller.mutePressed(MuteOutput::Video); });

    // Change rules run on every change, the program's own included. The
    // reply field's runs from setReplyText(), the only way its text changes.
    connect(lineEdit(Field::TeskIDtxt), &QLineEdit::textChanged, this,
            [this] { m_controller.unitIdChanged(); });
    for (const Field field : {Field::BroadIPtxt, Field::TeskIDtxt, Field::ClipNumtxt})
        lineEdit(field)->installEventFilter(this);

    connect(m_replyTimer, &QTimer::timeout, this, [this] { m_controller.replyTimerExpired(); });
    connect(m_replyFrame, &QTimer::timeout, this, &Main::showReply);
    connect(m_endpoint, &UdpEndpoint::datagramArrived, this, [this] { m_controller.datagramArrived(); });
    connect(m_endpoint, &UdpEndpoint::errorEvent, this, [this](int number, const QString &description) {
        m_controller.endpointError(number, Latin1(description));
    });
}

void Main::startUp() { m_controller.StartUp(); }

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    for (const Field field : {Field::BroadIPtxt, Field::TeskIDtxt, Field::ClipNumtxt}) {
        if (watched != lineEdit(field))
            continue;
        if (event->type() == QEvent::KeyPress)
            return filterKey(field, *static_cast<QKeyEvent *>(event));
        const bool click =
            event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
        if (field == Field::BroadIPtxt && click &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // While locked, the click only asks; it does not reach the field.
            const bool wasLocked = isLocked(field);
            m_controller.addressFieldClicked();
            return wasLocked;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// True drops the key.
bool Main::filterKey(Field field, const QKeyEvent &key) const
{
    if (!TypesCharacter(key))
        return false;
    const QString typed = key.text();
    return !std::all_of(typed.begin(), typed.end(),
                        [field](QChar c) { return IsTypedCharacterAllowed(field, c.unicode()); });
}

void Main::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, m_background);
}

QLineEdit *Main::lineEdit(Field field) const { return m_fields[static_cast<std::size_t>(field)]; }

QPushButton *Main::button(MuteButton button) const { return m_muteButtons[static_cast<std::size_t>(button)]; }

std::string Main::text(Field field) const
{
    return field == Field::TeskRspTxt ? m_reply : Latin1(lineEdit(field)->text());
}

void Main::setText(Field field, const std::string &text)
{
    if (field == Field::TeskRspTxt)
        setReplyText(text);
    else
        lineEdit(field)->setText(Latin1(text));
}

void Main::setReplyText(const std::string &text)
{
    if (text == m_reply)
        return; // as in any field, the same text again is no change
    m_reply = text;
    // A frame after the last reply shown, the field shows this one at once;
    // within the frame, the timer shows whichever is the latest at its end.
    const qint64 sinceShown = m_replyShown.isValid() ? m_replyShown.elapsed() : kDisplayFrameMs;
    if (sinceShown >= kDisplayFrameMs)
        showReply();
    else if (!m_replyFrame->isActive())
        m_replyFrame->start(static_cast<int>(kDisplayFrameMs - sinceShown));
    m_controller.replyChanged();
}

void Main::showReply()
{
    m_replyFrame->stop();
    m_replyShown.start();
    lineEdit(Field::TeskRspTxt)->setText(Latin1(m_reply));
}

bool Main::isLocked(Field field) const { return lineEdit(field)->isReadOnly(); }

void Main::setLocked(Field field, bool locked) { lineEdit(field)->setReadOnly(locked); }

void Main::setFocus(Field field) { lineEdit(field)->setFocus(Qt::OtherFocusReason); }

std::string Main::caption(MuteButton which) const { return Latin1(button(which)->text()); }

void Main::setCaption(MuteButton which, const std::string &caption)
{
    button(which)->setText(Latin1(caption));
}

bool Main::isEnabled(MuteButton which) const { return button(which)->isEnabled(); }

void Main::setEnabled(MuteButton which, bool enabled) { button(which)->setEnabled(enabled); }

void Main::startReplyTimer() { m_replyTimer->start(); }

void Main::stopReplyTimer() { m_replyTimer->stop(); }

int Main::messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title, const std::string &text)
{
    static const std::map<BoxIcon, QMessageBox::Icon> icons = {
        {BoxIcon::Error, QMessageBox::Critical},
        {BoxIcon::Warning, QMessageBox::Warning},
        {BoxIcon::Question, QMessageBox::Question},
    };
    QString shown = Latin1(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icons.at(icon), Latin1(title), shown,
                    buttons == BoxButtons::Ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    if (buttons == BoxButtons::YesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? BoxYes : BoxNo;
    }
    box.exec();
    return BoxOk; // closing an OK box any other way still means OK
}

} // namespace corvane
