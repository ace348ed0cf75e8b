#include "app/Main.h"

#include "magnifier/Magnifier.h"
#include "pickers/ArrowKeys.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/HexaColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/SLHColorPicker.h"
#include "pickers/VColorPicker.h"

#include <QApplication>
#include <QTabWidget>

// The mixer: whatever the user does in a picker is taken at once into the current chip, which is
// locked so the sampling loop leaves it alone. A flag per picker keeps the refresh from pushing the
// current colour back into the picker the user is operating.

namespace tintara {

namespace {

bool isArrowKey(int key)
{
    return trackKeyOf(key) != TrackKey::Other;
}

} // namespace

void TfrmMain::connectMixer()
{
    // The hexagon fires OnMouseDown before it handles the press itself, so the handler selects the
    // comb under the pointer (from the last move's hover state) before it takes the colour.
    THexaColorPicker* hex = HexColorPicker;
    connect(hex, &PickerBase::OnMouseDown, this, [this, hex] {
        hexDragFlag_ = true;
        if (hex->InCombArea())
            hex->setSelectedColor(hex->ColorUnderCursor());
        ApplyHexPickerColor();
    });
    connect(hex, &PickerBase::OnMouseMove, this, [this, hex] {
        if (hexDragFlag_ && chips_.currentColor() != hex->SelectedColor())
            ApplyHexPickerColor();
    });
    connect(hex, &PickerBase::OnMouseUp, this, [this] { hexDragFlag_ = false; });
    connect(hex, &PickerBase::OnKeyUp, this, [this] { hexDragFlag_ = false; });
    connect(hex, &PickerBase::OnKeyDown, this, [this](QObject*, int key) {
        hexDragFlag_ = isArrowKey(key);
        if (hexDragFlag_)
            ApplyHexPickerColor();
    });
    connect(hex, &PickerBase::OnMouseWheel, this,
            [this, hex](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                hexDragFlag_ = true;
                hex->setIntensity(hex->Intensity() + (delta > 0 ? 1 : -1));
                ApplyHexPickerColor();
                hexDragFlag_ = false;
                *handled = true;
            });

    // The Rainbow composite: its field reports the press from its repaint, so pending messages run
    // before the colour is taken.
    connect(HSLColorPicker, &CompositePicker::OnMouseDown, this, [this] {
        rainbowDragFlag_ = true;
        pumpPendingMessages();
        ApplyHSLPickerColor();
    });
    connect(HSLColorPicker, &CompositePicker::OnMouseMove, this, [this] {
        if (rainbowDragFlag_ && chips_.currentColor() != HSLColorPicker->SelectedColor())
            ApplyHSLPickerColor();
    });
    connect(HSLColorPicker, &CompositePicker::OnMouseUp, this, [this] { rainbowDragFlag_ = false; });
    connect(HSLColorPicker, &CompositePicker::OnKeyUp, this, [this] { rainbowDragFlag_ = false; });
    connect(HSLColorPicker, &CompositePicker::OnKeyDown, this, [this](QObject*, int key) {
        rainbowDragFlag_ = isArrowKey(key);
        if (rainbowDragFlag_)
            ApplyHSLPickerColor();
    });
    connect(HSLColorPicker, &CompositePicker::OnMouseWheel, this,
            [this](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                rainbowDragFlag_ = true;
                HSLColorPicker->setLuminance(HSLColorPicker->Luminance() + (delta > 0 ? 1 : -1));
                ApplyHSLPickerColor();
                rainbowDragFlag_ = false;
                *handled = true;
            });

    // The Hue composite; a wheel turned away from the user lowers the hue, as on the hue slider.
    connect(SLHColorPicker, &CompositePicker::OnMouseDown, this, [this] {
        hueDragFlag_ = true;
        ApplySLHPickerColor();
    });
    connect(SLHColorPicker, &CompositePicker::OnMouseMove, this, [this] {
        if (hueDragFlag_ && chips_.currentColor() != SLHColorPicker->SelectedColor())
            ApplySLHPickerColor();
    });
    connect(SLHColorPicker, &CompositePicker::OnMouseUp, this, [this] { hueDragFlag_ = false; });
    connect(SLHColorPicker, &CompositePicker::OnKeyUp, this, [this] { hueDragFlag_ = false; });
    connect(SLHColorPicker, &CompositePicker::OnKeyDown, this, [this](QObject*, int key) {
        hueDragFlag_ = isArrowKey(key);
        if (hueDragFlag_)
            ApplySLHPickerColor();
    });
    connect(SLHColorPicker, &CompositePicker::OnMouseWheel, this,
            [this](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                hueDragFlag_ = true;
                SLHColorPicker->setHue(SLHColorPicker->Hue() + (delta > 0 ? -1 : 1));
                ApplySLHPickerColor();
                hueDragFlag_ = false;
                *handled = true;
            });

    // The red, green and blue sliders: their values are the channels of the current colour.
    for (TVColorPicker* slider : {RedColorPicker, GreenColorPicker, BlueColorPicker}) {
        connect(slider, &TktTrackBarPicker::OnMouseDown, this, [this] {
            rgbSliderDragFlag_ = true;
            ApplyRGBSliders();
        });
        connect(slider, &TktTrackBarPicker::OnMouseMove, this, [this, slider] {
            if (rgbSliderDragFlag_ && slider->SelectedColor() != chips_.currentColor())
                ApplyRGBSliders();
        });
        connect(slider, &TktTrackBarPicker::OnMouseUp, this, [this] { rgbSliderDragFlag_ = false; });
        connect(slider, &TktTrackBarPicker::OnKeyUp, this, [this] { rgbSliderDragFlag_ = false; });
        connect(slider, &TktTrackBarPicker::OnKeyDown, this, [this](QObject*, int key) {
            rgbSliderDragFlag_ = isArrowKey(key);
            if (rgbSliderDragFlag_)
                ApplyRGBSliders();
        });
        connect(slider, &TktTrackBarPicker::OnMouseWheel, this,
                [this, slider](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                    rgbSliderDragFlag_ = true;
                    slider->setValue(slider->Value() + (delta > 0 ? 1 : -1));
                    ApplyRGBSliders();
                    rgbSliderDragFlag_ = false;
                    *handled = true;
                });
    }

    // Hue, saturation and value together describe one HSV colour.
    for (TktTrackBarPicker* slider :
         std::initializer_list<TktTrackBarPicker*>{HueColorPicker, SatColorPicker, ValColorPicker}) {
        connect(slider, &TktTrackBarPicker::OnMouseDown, this, [this] {
            sliderDragFlag_ = true;
            ApplyHSVSliders();
        });
        connect(slider, &TktTrackBarPicker::OnMouseMove, this, [this] {
            if (sliderDragFlag_)
                ApplyHSVSliders();
        });
        connect(slider, &TktTrackBarPicker::OnMouseUp, this, [this] { sliderDragFlag_ = false; });
        connect(slider, &TktTrackBarPicker::OnKeyUp, this, [this] { sliderDragFlag_ = false; });
        connect(slider, &TktTrackBarPicker::OnKeyDown, this, [this](QObject*, int key) {
            sliderDragFlag_ = isArrowKey(key);
            if (sliderDragFlag_)
                ApplyHSVSliders();
        });
    }
    // A wheel turned away from the user lowers hue and saturation (their sliders run top to bottom)
    // and raises the value.
    const auto wheelOn = [this](TktTrackBarPicker* slider, auto step) {
        connect(slider, &TktTrackBarPicker::OnMouseWheel, this,
                [this, step](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                    sliderDragFlag_ = true;
                    step(delta > 0);
                    ApplyHSVSliders();
                    sliderDragFlag_ = false;
                    *handled = true;
                });
    };
    wheelOn(HueColorPicker, [this](bool away) { HueColorPicker->setHue(HueColorPicker->Hue() + (away ? -1 : 1)); });
    wheelOn(SatColorPicker,
            [this](bool away) { SatColorPicker->setSaturation(SatColorPicker->Saturation() + (away ? -1 : 1)); });
    wheelOn(ValColorPicker, [this](bool away) { ValColorPicker->setValue(ValColorPicker->Value() + (away ? 1 : -1)); });

    connect(pagesMixer, &QTabWidget::currentChanged, this, [this] {
        QWidget* shown = pagesMixer->currentWidget();
        if (shown == tabHex)
            tabHexShow();
        else if (shown == tabRainbow)
            tabRainbowShow();
        else if (shown == tabHue)
            tabHueShow();
        else if (shown == tabSliders)
            tabSlidersShow();
        pagesMixerChange();
    });
}

void TfrmMain::pumpPendingMessages()
{
    // A drag delivers moves faster than a take-over finishes; the moves that arrive while messages are
    // pumped take the colour themselves, so a nested take-over does not pump again.
    if (pumping_)
        return;
    pumping_ = true;
    QApplication::processEvents();
    pumping_ = false;
}

void TfrmMain::takeMixedColor(TColor color, bool pumpBeforeRefresh)
{
    SetChipLocked(true);
    chips_.setColor(chips_.current(), color);
    SampleCurrentColor();
    // A tick that runs while messages are pumped finds the chip locked and leaves it alone.
    if (pumpBeforeRefresh)
        pumpPendingMessages();
    RefreshDisplays(true);
}

void TfrmMain::ApplyHexPickerColor()
{
    // Between combs, and after an intensity change with nothing selected, the hexagon has no colour:
    // the chip is locked all the same but keeps the colour it had.
    const TColor c = HexColorPicker->SelectedColor();
    takeMixedColor(c == clNone ? chips_.currentColor() : c, false);
}

void TfrmMain::ApplyHSLPickerColor()
{
    takeMixedColor(HSLColorPicker->SelectedColor(), false);
}

void TfrmMain::ApplySLHPickerColor()
{
    // The composite's slider reports a change from its next repaint.
    pumpPendingMessages();
    takeMixedColor(SLHColorPicker->SelectedColor(), false);
}

void TfrmMain::ApplyRGBSliders()
{
    const TColor c = static_cast<TColor>(BlueColorPicker->Value() * 65536 + GreenColorPicker->Value() * 256 +
                                         RedColorPicker->Value());
    takeMixedColor(c, true);
}

void TfrmMain::ApplyHSVSliders()
{
    ValColorPicker->setSaturation(SatColorPicker->Saturation());
    ValColorPicker->setHue(HueColorPicker->Hue());
    takeMixedColor(ValColorPicker->SelectedColor(), true);
}

void TfrmMain::tabHexShow()
{
    HexColorPicker->setSelectedColor(chips_.currentColor());
}

void TfrmMain::tabRainbowShow()
{
    HSLColorPicker->setSelectedColor(chips_.currentColor());
}

void TfrmMain::tabHueShow()
{
    SLHColorPicker->setSelectedColor(chips_.currentColor());
}

void TfrmMain::tabSlidersShow()
{
    RedColorPicker->setValue(static_cast<int>(pntMagnify->Red()));
    GreenColorPicker->setValue(static_cast<int>(pntMagnify->Green()));
    BlueColorPicker->setValue(static_cast<int>(pntMagnify->Blue()));
}

bool TfrmMain::showMixerTab(const QString& caption)
{
    for (int i = 0; i < pagesMixer->count(); ++i) {
        if (pagesMixer->tabText(i).compare(caption, Qt::CaseInsensitive) == 0) {
            pagesMixer->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void TfrmMain::pagesMixerChange()
{
    focusFirstChip();
}

} // namespace tintara
