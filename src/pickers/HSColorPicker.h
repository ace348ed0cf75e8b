#pragma once
// The hue-saturation field: hue across, saturation upwards, all at half luminance (Scale240). The
// user points with the mouse or moves a cross-hair with the arrow keys; the field reports the hue and
// saturation of the chosen colour from every paint. The left half of the Rainbow composite.
#include "colormodel/TColor.h"
#include "pickers/PickerBase.h"
#include "raster/Bitmap32.h"

#include <optional>

namespace tintara {

class THSColorPicker : public PickerBase {
    Q_OBJECT

public:
    explicit THSColorPicker(QWidget* parent = nullptr);

    QString HintFormat() const { return hintFormat_; }
    void setHintFormat(const QString& format) { hintFormat_ = format; }

    // The chosen colour as stored. Assigning converts it and moves the marker; the next paint reports it.
    TColor SelectedColor() const { return selectedColor_; }
    void setSelectedColor(TColor color);

    // Hue 0..239 and saturation 0..240 of the colour, as last converted. Writing one selects the
    // half-luminance colour of the new pair.
    int HueValue() const { return hueValue_; }
    void setHueValue(int value);
    int SaturationValue() const { return saturationValue_; }
    void setSaturationValue(int value);
    int LuminanceValue() const { return luminanceValue_; }

    // The luminance the hint forms its colour with; the Rainbow composite keeps it at its slider's.
    int HintLuminance() const { return hintLuminance_; }
    void setHintLuminance(int luminance) { hintLuminance_ = luminance; }

    // Where the next paint draws the marker, and where the last one drew it (the keys step from there).
    TPoint MarkerPos() const { return markerPos_; }
    TPoint DrawnMarkerPos() const { return drawnMarkerPos_; }
    // The colour shown under the pointer at its last move inside the field; nothing outside it.
    std::optional<TColor> HoverColor() const { return hoverColor_; }

    // The field as the control shows it at its size, without the cross-hair.
    const Bitmap32& shownField();

    bool HandlesKey(int qtKey) const override;

protected:
    void paintPicker(QPainter& p) override;
    std::optional<PickerHint> hintAt(QPoint pointer) override;

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void takeColorAt(TPoint p);

    QString hintFormat_;
    TColor selectedColor_ = rgbColor(255, 0, 0);
    int hueValue_ = 0;
    int saturationValue_ = 240;
    int luminanceValue_ = 120;
    int hintLuminance_ = 120;
    TPoint markerPos_{};
    TPoint drawnMarkerPos_{};
    std::optional<TColor> hoverColor_;
    Bitmap32 shown_;
    bool shownStale_ = true;
};

} // namespace tintara
