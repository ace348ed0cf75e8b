#pragma once
// Pictures of the characters a read-out shows (0-9, A-F, '-') in one font and pen colour, drawn on
// first use at each 1/64-pixel pen position the text engine places glyphs at: the pen colour
// premultiplied by the glyph's coverage, which blended over the background gives the very pixels the
// text engine draws there. Read-outs whose value changes a hundred times a second paint from them
// instead of laying out and drawing their text on every change.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QStringView>

#include <array>

class QEvent;
class QPaintDevice;
class QPaintEvent;
class QWidget;

namespace tintara {

// A read-out that fills its background (opaque) paints its whole picture itself: it says so, which
// spares the toolkit a painter and a fill beneath it on every change. Its other paints then fill the
// background first with fillOwnBackground().
void takeOverBackground(QWidget& readout);
void fillOwnBackground(QWidget& readout);

class ReadoutGlyphs {
public:
    // Starts over for this font and pen colour, on lines whose top lies `topFraction` of a pixel below
    // a whole pixel.
    void reset(const QFont& font, const QColor& pen, qreal topFraction = 0);
    bool isReady() const { return ready_; }
    void forget() { ready_ = false; }

    // An event of the read-out the pictures belong to: whether it paints its own background is decided
    // on its polish and palette changes; a change of its font, colours, style, state, direction or size
    // drops the pictures.
    void followEvent(QWidget& readout, const QEvent& event);

    // The text's advance in 64ths of a pixel, as the text engine adds it up; -1 if a character has no
    // picture here.
    int width64(QStringView text) const;

    // Paints the read-out whole: its background colour with `text` over it, the pen starting `pen64`
    // 64ths of a pixel right of its left edge, on the line whose top is the whole pixel `top` (plus the
    // reset's fraction); the text clipped to `clip`. `device` and `offset` are what the read-out's
    // redirected() gives in its paint event: while the toolkit repaints the window that is its back
    // buffer, which the pixels then go straight into, without a painter.
    void paint(QWidget& readout, const QPaintEvent& event, QPaintDevice* device, QPoint offset, int pen64, int top,
               QStringView text, const QRect& clip);

private:
    static constexpr int kGlyphCount = 17;
    static int glyphIndex(QChar c);

    // A glyph at one pen fraction: its picture, cut to the pixels it covers, and where those begin
    // relative to the pen's whole pixel on the line's top.
    struct Picture {
        QImage image;
        QPoint offset;
    };
    const Picture& picture(int index, int fraction64);
    // The glyphs of `text` over `into`, the read-out's top-left at `origin` there, inside `clip`
    // (read-out coordinates).
    void drawText(QImage& into, QPoint origin, int pen64, int top, QStringView text, const QRect& clip);

    struct Glyph {
        int advance64 = 0;
        std::array<Picture, 64> pictures; // by the pen position's fraction
    };
    std::array<Glyph, kGlyphCount> glyphs_;
    QFont font_;
    QColor pen_;
    qreal baseline_ = 0; // below the top of the picture a glyph is drawn in
    QImage readoutPicture_; // the read-out as painted, reused so a repaint allocates nothing
    int lineHeight_ = 0;
    bool ready_ = false;
};

} // namespace tintara
