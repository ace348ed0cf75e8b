#pragma once
// The arrow keys the two-dimensional fields move their marker with.
#include "pickers/TrackBarGeometry.h"

#include <Qt>

namespace tintara {

inline TrackKey fieldKeyOf(int qtKey)
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
