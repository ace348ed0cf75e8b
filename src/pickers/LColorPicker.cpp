#include "pickers/LColorPicker.h"

namespace tintara {

TLColorPicker::TLColorPicker(QWidget* parent)
    : ChannelSliderPicker(SliderChannel::Luminance, {{0, 240, 120}, QSize(22, 252), lyVertical, "Luminance: %l"},
                          parent)
{
}

} // namespace tintara
