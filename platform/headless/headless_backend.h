// The headless back end's one piece of state: every change the engine told
// it of, which the unit tests read to see what a real back end would show.
#pragma once

#include "platform/controls.h"

#include <vector>

namespace headless {

struct Backend {
    // Every element a caption_changed, selection_changed or picture_changed
    // call named, in the order of the calls.
    std::vector<platform::Control const*> changes;
};

Backend& backend();

} // namespace headless
