#include "app/ReadoutEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tintara {

ReadoutEdit::ReadoutEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Typed, set through the line edit, or a commit (which leaves shown_ unshared, so the next
        // showText() writes into its buffer instead of allocating).
        if (text != shown_)
            shown_ = text;
        uncommitted_ = false;
        if (!hasFocus())
            caretToStart_ = true;
    });
}

void ReadoutEdit::showText(QLatin1StringView text)
{
    text.truncate(qMin(text.size(), qsizetype(maxLength())));
    if (shown_ == text)
        return;
    shown_ = text;
    uncommitted_ = true;
    if (hasFocus()) {
        commitText();
        setCursorPosition(0); // the caret of a rewritten field goes to the start
    } else if (!canPaintFromGlyphs()) {
        commitText();
    } else {
        update();
    }
}

void ReadoutEdit::commitText()
{
    if (!uncommitted_)
        return;
    QLineEdit::setText(QString(shown_.constData(), shown_.size()));
    uncommitted_ = false;
}

bool ReadoutEdit::event(QEvent* event)
{
    // Keys, clicks, focus, menus, drags, style and size changes all may look at the line edit's text.
    if (uncommitted_ && event->type() != QEvent::Paint)
        commitText();
    glyphs_.followEvent(*this, *event);
    return QLineEdit::event(event);
}

void ReadoutEdit::focusInEvent(QFocusEvent* event)
{
    // The text was rewritten with the caret left at its end; a click puts the caret where it lands.
    if (caretToStart_ && event->reason() != Qt::MouseFocusReason)
        setCursorPosition(0);
    caretToStart_ = false;
    QLineEdit::focusInEvent(event);
}

void ReadoutEdit::paintEvent(QPaintEvent* event)
{
    if (paintFromGlyphs(*event))
        return;
    commitText(); // a state showText() did not foresee
    fillOwnBackground(*this);
    QLineEdit::paintEvent(event);
}

void ReadoutEdit::prepareGlyphs()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins();
    contents_ = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(margins);
    // Where the line edit puts its text: two pixels in, the line centred in the contents.
    const QFontMetrics metrics = fontMetrics();
    constexpr int kHorizontalMargin = 2;
    textOrigin_ = QPoint(contents_.x() + kHorizontalMargin, contents_.y() + (contents_.height() - metrics.height() + 1) / 2);
    glyphs_.reset(font(), palette().color(QPalette::Text));
}

bool ReadoutEdit::canPaintFromGlyphs()
{
    // The glyphs stand for what the line edit draws only while nothing but plain text is shown.
    // Nor on a high-density screen, where the pictures would have to be scaled.
    if (hasFocus() || hasSelectedText() || !isEnabled() || echoMode() != QLineEdit::Normal || devicePixelRatio() != 1 ||
        layoutDirection() != Qt::LeftToRight || (alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft ||
        !(alignment() & Qt::AlignVCenter) || hasFrame() || shown_.isEmpty() ||
        palette().color(backgroundRole()).alpha() != 255)
        return false;
    if (!glyphs_.isReady())
        prepareGlyphs();
    const int width64 = glyphs_.width64(shown_);
    // Wider, the line edit would scroll it.
    return width64 >= 0 && textOrigin_.x() + (width64 + 63) / 64 <= contents_.right() - 1;
}

bool ReadoutEdit::paintFromGlyphs(const QPaintEvent& event)
{
    if (!canPaintFromGlyphs())
        return false;
    QPoint offset;
    QPaintDevice* device = sharedPainter() != nullptr ? nullptr : redirected(&offset);
    glyphs_.paint(*this, event, device, offset, textOrigin_.x() * 64, textOrigin_.y(), shown_, contents_);
    return true;
}

} // namespace tintara
