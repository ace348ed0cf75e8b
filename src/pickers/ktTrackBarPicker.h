#pragma once
// The base of the one-dimensional colour sliders: a focusable, custom-drawn strip with an arrow at
// the current value. It turns mouse, wheel and key input into commands for the concrete slider,
// shows a hint that follows the pointer and reports changes through OnChange. It knows nothing about
// colour; the geometry it paints lives in TrackBarGeometry, the services every picker shares in
// PickerBase.
#include "colormodel/TColor.h"
#include "pickers/PickerBase.h"
#include "pickers/TrackBarGeometry.h"

#include <QImage>
#include <QPoint>
#include <QString>

class QPainter;

namespace tintara {

class Bitmap32;

class TktTrackBarPicker : public PickerBase {
    Q_OBJECT

public:
    explicit TktTrackBarPicker(QWidget* parent = nullptr);
    ~TktTrackBarPicker() override;

    // Template of the hint text (see HintFormat.h); each slider sets its own.
    QString HintFormat() const { return hintFormat_; }
    void setHintFormat(const QString& format) { hintFormat_ = format; }

    // Step of the wheel and of the plain arrow keys, in value units.
    int Increment() const { return increment_; }
    void setIncrement(int increment) { increment_ = increment; }

    // Changing the layout rebuilds the gradient for the new direction; the owner sets the size.
    TTrackBarLayout Layout() const { return layout_; }
    void setLayout(TTrackBarLayout layout);

    TSliderPlacement ArrowPlacement() const { return placement_; }
    void setArrowPlacement(TSliderPlacement placement);

    // The seven-point outlined arrow instead of the filled triangle; it also changes the margins.
    bool NewArrowStyle() const { return newArrowStyle_; }
    void setNewArrowStyle(bool newStyle);

    // The arrow keys along the track.
    bool HandlesKey(int qtKey) const override;

    // State the concrete sliders and the tests read.
    int EdgeInset() const { return edgeInsetFor(newArrowStyle_); }
    int ArrowDepth() const { return arrowDepthFor(newArrowStyle_); }
    // Where the gradient is drawn, for the current size and settings.
    TRect StripRect() const { return tintara::stripRect(shape()); }
    int ArrowPos() const { return arrowPos_; }
    TrackBarShape shape() const;

    // The hint for the given pointer position as the tool tip shows it: text and global position.
    QString hintDisplayText();
    QPoint hintGlobalPos(QPoint pointer) const;

protected:
    // What a concrete slider overrides. The base does nothing, puts the arrow at 0 and has no hint.
    virtual void HandleCommand(TTrackBarCommand command);
    virtual int ArrowPosFromValue();
    virtual QString HintText();
    // Paints the strip into StripRect; the frame's background is already drawn. The base draws nothing.
    virtual void paintStrip(QPainter& p);

    void setArrowPos(int pos) { arrowPos_ = pos; }
    // The arrow moved to ArrowPos() and nothing else changed: a repaint of where it was and is.
    void updateArrow();
    // For constructors: the layout without the layout-changed command (there is no gradient yet).
    void initLayout(TTrackBarLayout layout) { layout_ = layout; }

    // For paintStrip: the bitmap stretched (nearest neighbour) into StripRect.
    void drawStretched(QPainter& p, const Bitmap32& bitmap) const;

    void paintPicker(QPainter& p) override;
    bool wheelNotch(bool up) override;
    std::optional<PickerHint> hintAt(QPoint pointer) override;

    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void issueQuietly(TTrackBarCommand command);
    void drawArrows(QPainter& p);

    QString hintFormat_;
    int increment_ = 1;
    TTrackBarLayout layout_ = lyHorizontal;
    TSliderPlacement placement_ = spAfter;
    bool newArrowStyle_ = false;
    int arrowPos_ = 0;
    int drawnArrowPos_ = 0;

    // The arrows as last drawn, a picture that each repaint copies to where they are now: the same
    // polygons anywhere along the track, and filling them anew cost more than all the rest of a
    // slider's repaint. Kept with what they were drawn from.
    QImage arrowPicture_;
    ArrowPolygons arrowPictureShape_; // relative to the picture's top-left
    QRgb arrowPictureFill_ = 0;
    QRgb arrowPictureOutline_ = 0;
};

} // namespace tintara
