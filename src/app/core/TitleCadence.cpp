#include "app/core/TitleCadence.h"

namespace tintara {

bool TitleCadence::due(std::int64_t nowMs)
{
    // A clock that went backwards (it should not) must not hold the title back for good.
    if (lastWrite_ && nowMs >= *lastWrite_ && nowMs - *lastWrite_ < kMinIntervalMs)
        return false;
    lastWrite_ = nowMs;
    return true;
}

} // namespace tintara
