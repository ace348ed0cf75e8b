#include "app/ReadoutLabel.h"

#include <QEvent>
#include <QFontMetricsF>

#include <cmath>

namespace tintara {

void ReadoutLabel::showText(QLatin1StringView text)
{
    if (this->text() == text)
        return;
    shown_ = text;
    if (paintedFromGlyphs_) {
        uncommitted_ = true;
        update();
    } else {
        setText(QString(shown_.constData(), shown_.size()));
    }
}

void ReadoutLabel::commitText()
{
    if (!uncommitted_)
        return;
    uncommitted_ = false;
    // The value has been painted, or its repaint asked for, when it was shown: the label's own repaint
    // would only cost the window another update.
    const bool quiet = updatesEnabled();
    if (quiet)
        setAttribute(Qt::WA_UpdatesDisabled, true);
    // A copy: shown_ stays unshared, so the next value is written into its buffer.
    setText(QString(shown_.constData(), shown_.size()));
    if (quiet)
        setAttribute(Qt::WA_UpdatesDisabled, false);
}

bool ReadoutLabel::event(QEvent* event)
{
    // Size hints, accessibility and style changes all may look at the label's text.
    if (uncommitted_ && event->type() != QEvent::Paint)
        commitText();
    glyphs_.followEvent(*this, *event);
    return QLabel::event(event);
}

void ReadoutLabel::paintEvent(QPaintEvent* event)
{
    paintedFromGlyphs_ = paintFromGlyphs(*event);
    if (paintedFromGlyphs_)
        return;
    commitText(); // a look the glyphs do not stand for
    fillOwnBackground(*this);
    QLabel::paintEvent(event);
}

bool ReadoutLabel::paintFromGlyphs(const QPaintEvent& event)
{
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    constexpr Qt::TextInteractionFlags kInteractive =
        Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable;
    if (!testAttribute(Qt::WA_OpaquePaintEvent) || !isEnabled() || frameShape() != QFrame::NoFrame || wordWrap() ||
        indent() > 0 || textFormat() == Qt::RichText || textFormat() == Qt::MarkdownText ||
        (textInteractionFlags() & kInteractive) || layoutDirection() != Qt::LeftToRight || devicePixelRatio() != 1 ||
        !(alignment() & Qt::AlignVCenter) || (horizontal != Qt::AlignLeft && horizontal != Qt::AlignRight))
        return false;
    const QString shown = text();
    if (shown.isEmpty())
        return false;

    const QRect layout = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (!glyphs_.isReady() || layout != layout_) {
        // Where the text engine puts a line in that box, centred as it centres it.
        layout_ = layout;
        const QRectF line = QFontMetricsF(font()).boundingRect(QRectF(layout), Qt::AlignLeft | Qt::AlignVCenter,
                                                               QStringLiteral("0"));
        top_ = static_cast<int>(std::floor(line.top()));
        fitsVertically_ = line.top() >= layout.top() && line.bottom() <= layout.top() + layout.height();
        glyphs_.reset(font(), palette().color(foregroundRole()), line.top() - top_);
    }
    const int width64 = glyphs_.width64(shown);
    const int left64 = layout.left() * 64, right64 = (layout.left() + layout.width()) * 64;
    const int pen64 = horizontal == Qt::AlignRight ? right64 - width64 : left64;
    // A line wider than the box is clipped by the text engine; the label does that.
    if (!fitsVertically_ || width64 < 0 || pen64 < left64 || pen64 + width64 > right64)
        return false;
    QPoint offset;
    QPaintDevice* device = sharedPainter() != nullptr ? nullptr : redirected(&offset);
    glyphs_.paint(*this, event, device, offset, pen64, top_, shown, rect());
    return true;
}

} // namespace tintara
