// The project as the start routine receives it.
#pragma once

#include "platform/engine.h"

namespace app {

platform::Project const& tavrel_oskund_project();

} // namespace app
