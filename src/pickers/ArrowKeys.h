#pragma once
// The arrow keys, as the sliders and the fields move their arrow or marker with them.
#include "pickers/TrackBarGeometry.h"

#include <Qt>

namespace tintara {

inline TrackKey trackKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return TrackKey::Left;
    case Qt::Key_Up:
        return TrackKey::Up;
    case Qt::Key_Right:
        return TrackKey::Right;
    case Qt::Key_Down:
        return TrackKey::Down;
    default:
        return TrackKey::Other;
    }
}

} // namespace tintara
