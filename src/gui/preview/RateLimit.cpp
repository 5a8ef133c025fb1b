#include "gui/preview/RateLimit.h"

namespace qloom {

bool RateLimit::admit(int64_t nowMs) {
    while (!admitted_.empty() && nowMs - admitted_.front() >= windowMs_)
        admitted_.pop_front();
    if (admitted_.size() >= count_)
        return false;
    admitted_.push_back(nowMs);
    return true;
}

} // namespace qloom
