#pragma once
// The saturation-luminance field for one hue. Despite the names it is an HSV square: Saturation is
// HSV saturation 0..255 (the marker's x), Luminance HSV value 0..255 (255 at the top). The user points
// with the mouse or moves a circle with the arrow keys; a press or drag reports at once. The left half
// of the Hue composite, whose hue slider sets the field's Hue.
#include "colormodel/TColor.h"
#include "pickers/PickerBase.h"
#include "raster/Bitmap32.h"

namespace tintara {

class TSLColorPicker : public PickerBase {
    Q_OBJECT

public:
    explicit TSLColorPicker(QWidget* parent = nullptr);

    QString HintFormat() const { return hintFormat_; }
    void setHintFormat(const QString& format) { hintFormat_ = format; }

    // 0..360 (360 looks like 0); a new hue rebuilds the field.
    int Hue() const { return hue_; }
    void setHue(int value);
    int Saturation() const { return saturation_; }
    void setSaturation(int value);
    int Luminance() const { return luminance_; }
    void setLuminance(int value);

    // The colour of the three values. Assigning sets them quietly and then fires exactly one OnChange,
    // also when nothing changed.
    TColor SelectedColor() const;
    void setSelectedColor(TColor color);

    TPoint MarkerPos() const { return markerPos_; }
    // The pointer at the last mouse event over the field, (0, 0) once it left; the hint describes it.
    TPoint LastMousePos() const { return lastMousePos_; }

    // The field as the control shows it at its size, without the marker; and how often it was built.
    const Bitmap32& shownField();
    int fieldBuildCount() const { return fieldBuilds_; }

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
    void markerFromValues();
    // The marker moved: its areas, or the whole control when the field beneath changed too.
    void updateMarker();
    // Marker at p, then the values of p through the setters without notifications.
    void chooseAt(TPoint p);
    bool setValue(int& stored, int value, int maximum);

    QString hintFormat_;
    int hue_ = 0;
    int saturation_ = 0;
    int luminance_ = 255;
    TPoint markerPos_{};
    TPoint drawnMarkerPos_{};
    TPoint lastMousePos_{};
    Bitmap32 shown_;
    bool shownStale_ = true;
    int fieldBuilds_ = 0;
};

} // namespace tintara
