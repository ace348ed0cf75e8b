#pragma once
// The hexagon picker: a honeycomb of 127 colour combs, a strip of white, fifteen greys and black,
// and an intensity slider. Everything it computes lives in HexaCombModel; this widget turns Qt
// events into calls on it and paints it. The honeycomb, the greys, the gradient and the marker are
// drawn once per size and intensity into a cached image: a selection change copies that image and
// outlines the selected comb.
#include "pickers/HexaGeometry.h"
#include "pickers/PickerBase.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace tintara {

class THexaColorPicker : public PickerBase {
    Q_OBJECT

public:
    explicit THexaColorPicker(QWidget* parent = nullptr);

    // Template of a comb's hint: "%r", "%g", "%b" and "%h" (hex); a carriage return breaks a line.
    QString HintFormat() const { return hintFormat_; }
    void setHintFormat(const QString& format) { hintFormat_ = format; }

    // Every assignment fires OnChange, also of the colour the picker already has. A colour that no
    // comb has leaves nothing outlined but is kept as assigned.
    TColor SelectedColor() const { return model_.SelectedColor(); }
    void setSelectedColor(TColor color) { model_.setSelectedColor(color); }

    // 0..100; writing clamps, rebuilds the combs, keeps the selected comb's position and fires
    // OnChange and OnIntensityChange.
    int Intensity() const { return model_.Intensity(); }
    void setIntensity(int intensity) { model_.setIntensity(intensity); }

    // The step of the Up and Down keys and of the wheel.
    int IntensityIncrement() const { return model_.IntensityIncrement(); }
    void setIntensityIncrement(int increment) { model_.setIntensityIncrement(increment); }

    // Width of the gradient; setting it resizes the control to the new layout.
    int SliderWidth() const { return model_.SliderWidth(); }
    void setSliderWidth(int width);

    void SetRadius(int radius) { model_.SetRadius(radius); }

    // The comb under the mouse at the last move (clNone when none), and whether that move was inside
    // one of the comb areas.
    TColor ColorUnderCursor() const { return model_.ColorUnderCursor(); }
    bool InCombArea() const { return model_.InCombArea(); }

    // The four arrow keys.
    bool HandlesKey(int qtKey) const override;

    const HexaCombModel& model() const { return model_; }
    // How often the cached honeycomb image was drawn, and how many frames were painted.
    int combImageBuildCount() const { return combImageBuilds_; }
    int frameCount() const { return frames_; }
    // The cached image every frame starts from (the honeycomb, greys, gradient and marker).
    const QImage& combImage() const { return combImage_; }

signals:
    void OnIntensityChange(QObject* sender);
    void OnDblClick(QObject* sender);
    // No comb under the pointer in a comb area: a handler may supply the hint text (cell is -1).
    void OnHint(QObject* sender, int cell, QString* hint);

protected:
    void paintPicker(QPainter& p) override;
    bool wheelNotch(bool up) override;
    std::optional<PickerHint> hintAt(QPoint pointer) override;

    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void ensureCache();
    void buildOverlay();
    void buildCombImage();
    void drawComb(QPainter& p, const TCombEntry& comb, TPoint origin, const CombShape& shape) const;
    void outlineComb(QPainter& p, TPoint centre, int size) const;
    TColor systemColor(TColor constant) const;

    HexaCombModel model_;
    QString hintFormat_;

    // The greys and the gradient on a transparent ground: drawn over the honeycomb, and again over
    // a colour comb's outline where they cover it.
    QImage overlay_;
    // Background, honeycomb, overlay and marker: what every frame starts from.
    QImage combImage_;
    HexaLayout overlayLayout_;
    std::uint64_t imageCombsVersion_ = 0;
    bool leftHeld_ = false;
    bool overlayStale_ = true;
    bool imageStale_ = true;
    int combImageBuilds_ = 0;
    int frames_ = 0;
};

} // namespace tintara
