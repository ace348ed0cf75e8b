#pragma once
// A label for a value that changes with every sampled colour (the CMYK percentages). Its digits paint
// from glyph pictures, the way the read-out fields' do, instead of being laid out on every change. Any
// other text or look (a frame, word wrap, an indent, selectable text, rich text, right-to-left, a
// centred or justified line, a translucent background) paints as any label.
#include "app/ReadoutGlyphs.h"

#include <QLabel>

namespace tintara {

class ReadoutLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool paintFromGlyphs();

    ReadoutGlyphs glyphs_;
    QRect layout_; // where the label lays out its text, when the glyphs were prepared
    int top_ = 0; // the whole pixel of the line's top
    bool fitsVertically_ = false;
};

} // namespace tintara
