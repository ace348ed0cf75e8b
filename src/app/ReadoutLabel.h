#pragma once
// A label for a value that changes with every sampled colour (the CMYK percentages). Its digits paint
// from glyph pictures, the way the read-out fields' do, instead of being laid out on every change. Any
// other text or look (a frame, word wrap, an indent, selectable text, rich text, right-to-left, a
// centred or justified line, a translucent background) paints as any label.
//
// Setting a label's text re-lays it out, asks its parent for a new layout and notifies accessibility,
// more than the paint costs. A value shown with showText() paints at once and reaches the label itself
// when committed: by its owner (at the pace it writes its title), before any event but a paint, and at
// once when the label cannot paint it from glyphs.
#include "app/ReadoutGlyphs.h"

#include <QLabel>

namespace tintara {

class ReadoutLabel : public QLabel {
public:
    using QLabel::QLabel;

    void showText(QLatin1StringView text);
    void commitText();
    bool hasUncommittedText() const { return uncommitted_; }
    // What the label shows. Hides QLabel::text(), which lags behind until the next commit.
    QString text() const { return uncommitted_ ? shown_ : QLabel::text(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool paintFromGlyphs(const QPaintEvent& event);

    ReadoutGlyphs glyphs_;
    QRect layout_; // where the label lays out its text, when the glyphs were prepared
    int top_ = 0; // the whole pixel of the line's top
    bool fitsVertically_ = false;
    QString shown_;
    bool uncommitted_ = false;       // shown_ is newer than the label's text
    bool paintedFromGlyphs_ = false; // by the last paint: a new value may wait for its commit
};

} // namespace tintara
