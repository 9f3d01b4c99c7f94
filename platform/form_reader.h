// Reads a packed window description and builds the control model from it.
#pragma once

#include "controls.h"

#include <cstdint>
#include <memory>
#include <span>

namespace platform {

// Every length, count, code, kind and terminator is checked; a malformed
// description raises MalformedFormDescription and never reads out of bounds.
// With defer_bitmap_pixels the bitmaps are checked all the same, but get
// their pixels only when Form::show_pictures() finds them on show (the
// stream must then outlive the form).
std::unique_ptr<Form> read_form(std::span<std::uint8_t const> stream, bool defer_bitmap_pixels = false);

} // namespace platform
