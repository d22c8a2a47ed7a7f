// SPDX-License-Identifier: MIT
#include "ui/appearance.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace corvane {

namespace {

constexpr qreal kFontPointSize = 9.75;
constexpr qreal kFontStep = 0.25;

// The face the layout was drawn with where the system has it; otherwise a
// face with the same metrics, otherwise the system's sans-serif.
// Looked up once: the font database is slow to ask.
QString UiFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char *candidate : {"MS Sans Serif", "Liberation Sans"}) {
            const QString known = QString::fromLatin1(candidate);
            if (families.contains(known))
                return known;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

// One of the program's own pictures, read in the format it is: left to
// guess, the reader would first load every image plugin installed to ask it.
QImage ReadPicture(const QString &file, const char *format)
{
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A picture the program draws at start: the 1x background as 8-bit RGB (a
// binary PPM), the window's icons as 8-bit RGBA (a PAM), kept uncompressed in
// the resources and used from there, with nothing to decode: decoding the
// background as a PNG took longer than making all of the window's controls.
QImage StoredPixels(const QString &file)
{
    const QResource resource(file);
    const auto *data = reinterpret_cast<const char *>(resource.data());
    if (resource.compressionAlgorithm() != QResource::NoCompression || !data)
        qFatal("%s is not stored uncompressed in the resources", qPrintable(file));
    // The header alone, ended, for sscanf.
    char header[128] = {};
    std::memcpy(header, data,
                std::min<std::size_t>(sizeof header - 1, static_cast<std::size_t>(resource.size())));
    int width = 0, height = 0, headerSize = 0, depth = 0;
    QImage::Format format = QImage::Format_Invalid;
    if (std::sscanf(header, "P6 %d %d 255%n", &width, &height, &headerSize) == 2) {
        depth = 3;
        format = QImage::Format_RGB888;
    } else if (std::sscanf(header, "P7 WIDTH %d HEIGHT %d DEPTH 4 MAXVAL 255 TUPLTYPE RGB_ALPHA ENDHDR%n",
                           &width, &height, &headerSize) == 2) {
        depth = 4;
        format = QImage::Format_RGBA8888;
    }
    // One whitespace character ends either header.
    if (format == QImage::Format_Invalid || width <= 0 || height <= 0 ||
        headerSize + 1 + qint64(depth) * width * height > resource.size())
        qFatal("%s is neither an 8-bit PPM nor an 8-bit RGBA PAM", qPrintable(file));
    return {reinterpret_cast<const uchar *>(data + headerSize + 1), width, height, depth * width, format};
}

// QLineEdit keeps 2 px of its own on either side of its text; one of them
// may go, the other keeps the first digit clear of the frame.
constexpr int kFieldMargin = 2;
constexpr int kKeptFieldMargin = 1;

// Where a field's text may go, as its style draws the field: inside the
// contents rectangle the style gives and inside the frame, whose width it
// reports; some styles give the whole field as its contents when it is
// this low, and keep the text off the frame by margins of their own, set
// as they polish the field. Those margins are padding the text may use,
// the frame is not. The field's own options, as QLineEdit fills them.
struct FieldBox
{
    QRect contents;   // as the style gives it
    QRect inside;     // of that, what the frame leaves
    QMargins padding; // the style's own text margins

    FieldBox(const QLineEdit *edit, const QMargins &styleMargins) : padding(styleMargins)
    {
        QStyleOptionFrame option;
        option.initFrom(edit);
        const int frame =
            edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        option.lineWidth = frame;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        if (edit->isReadOnly())
            option.state |= QStyle::State_ReadOnly;
        option.features = QStyleOptionFrame::None;
        contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        inside = contents.intersected(edit->rect().marginsRemoved(QMargins(frame, frame, frame, frame)));
    }

    // The most a text can have, the padding given up.
    int room() const { return inside.width() - 2 * kKeptFieldMargin; }

    // The field's text margins for a text that needs the given width: where
    // the style's padding and QLineEdit's own margins put the text, kept off
    // the frame, widened into the padding as far as the text needs.
    QMargins margins(int needed) const
    {
        const int lowest = inside.left() + kKeptFieldMargin;
        const int highest = inside.right() - kKeptFieldMargin;
        int start = std::max(contents.left() + padding.left() + kFieldMargin, lowest);
        int end = std::min(contents.right() - padding.right() - kFieldMargin, highest);
        const int shortfall = std::max(0, needed - (end - start + 1));
        const int right = std::min(highest - end, shortfall / 2);
        const int left = std::min(start - lowest, shortfall - right);
        start -= left;
        end += std::min(highest - end, shortfall - left);
        return {start - contents.left() - kFieldMargin, padding.top(), contents.right() - kFieldMargin - end,
                padding.bottom()};
    }
};

// A push button's caption is drawn centred in its contents rect, and clipped there.
int ButtonRoom(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
}

// Makes what room a control can for a text that needs the given width, a
// label by growing, and says how much it has.
int MakeRoom(QWidget *control, int needed, int rightEdge, const QMargins &styleMargins)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return FieldBox(edit, styleMargins).room();
    if (auto *button = qobject_cast<QPushButton *>(control))
        return ButtonRoom(button);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QRect rect = label->geometry();
        rect.setWidth(std::min(std::max(rect.width(), needed + 2), rightEdge - rect.left()));
        label->setGeometry(rect);
        return rect.width() - 2;
    }
    return control->width();
}

} // namespace

QFont UiFont(bool bold)
{
    QFont font(UiFamily());
    font.setPointSizeF(kFontPointSize);
    font.setBold(bold);
    return font;
}

// The 1x picture on ordinary screens, the 2x one only where it shows. Both
// are rendered at the window's size, so they are drawn as they are stored:
// scaling them here cost the start more than making all the controls.
QImage BackgroundArt(QSize clientArea)
{
    const qreal ratio = qGuiApp->devicePixelRatio() > 1.0 ? 2.0 : 1.0;
    QImage picture = ratio > 1.0 ? ReadPicture(QStringLiteral(":/art/background@2x.png"), "png")
                                 : StoredPixels(QStringLiteral(":/art/background.ppm"));
    if (picture.size() != clientArea * ratio)
        qFatal("the background picture in the resources is not the window's size; run tools/art/render.sh");
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QIcon WindowIcon()
{
    QIcon icon;
    for (const int side : {32, 64})
        icon.addPixmap(QPixmap::fromImage(StoredPixels(QStringLiteral(":/art/icon-%1.pam").arg(side))));
    return icon;
}

void FitText(QWidget *control, const QString &longest, int rightEdge)
{
    // The style sets its own margins as it polishes a control, which would
    // otherwise come only as the window shows, after the fitting.
    control->ensurePolished();
    auto *edit = qobject_cast<QLineEdit *>(control);
    const QMargins styleMargins = edit ? edit->textMargins() : QMargins();
    // One pixel more for a field's text cursor after the last character.
    const int cursor = edit ? 1 : 0;
    // Measured once a size: laying a text out is most of what fitting costs.
    const auto measure = [&] { return control->fontMetrics().horizontalAdvance(longest) + cursor; };
    int needed = measure();
    QFont font = control->font();
    while (needed > MakeRoom(control, needed, rightEdge, styleMargins) && font.pointSizeF() > kFontStep) {
        font.setPointSizeF(font.pointSizeF() - kFontStep);
        control->setFont(font);
        needed = measure();
    }
    if (edit)
        edit->setTextMargins(FieldBox(edit, styleMargins).margins(needed));
}

} // namespace corvane
