#include "gui/editor/SuppressChange.h"

namespace qloom {

bool SuppressChange = false;

SuppressChangeScope::SuppressChangeScope() : previous_(SuppressChange) {
    SuppressChange = true;
}

SuppressChangeScope::~SuppressChangeScope() {
    SuppressChange = previous_;
}

} // namespace qloom
