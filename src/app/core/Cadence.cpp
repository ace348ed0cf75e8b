#include "app/core/Cadence.h"

namespace tintara {

bool Cadence::due(std::int64_t nowMs)
{
    // A clock that went backwards (it should not) must not hold the update back for good.
    if (lastWrite_ && nowMs >= *lastWrite_ && nowMs - *lastWrite_ < intervalMs_)
        return false;
    lastWrite_ = nowMs;
    return true;
}

} // namespace tintara
