#pragma once
// For the swatches that change colour with every sampled colour (the current chip, the colour-name
// swatch): their frames do not change, but a repaint of the swatch redraws its frame line by line,
// which cost more than the rest of the swatch. This style draws a frame once into an image and then
// copies the frame's border strips; everything else goes to the application's style. Only the line
// frames (box, panel, window panel) are cached: they are drawn from the palette's light, midlight, mid,
// dark, shadow and text colours, never from the swatch's own background colour.
#include <QImage>
#include <QProxyStyle>

#include <array>

namespace tintara {

class FrameCacheStyle : public QProxyStyle {
public:
    FrameCacheStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    struct Entry {
        QImage image;
        int border = 0; // the frame lies within this many pixels of each edge; the inside is left alone
        std::array<QRgb, 6> colors{};
        int shape = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        int state = 0;
    };
    static std::array<QRgb, 6> colorsOf(const QStyleOption& option);
    const Entry& entryFor(const QStyleOption& option, const QWidget* widget) const;

    mutable std::array<Entry, 8> entries_; // the frames of a few sizes and colours in use
    mutable std::size_t nextEntry_ = 0;
};

} // namespace tintara
