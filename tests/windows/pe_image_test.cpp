// The reader itself: a damaged file must end in FormatError, never in a read
// outside the file, so that a broken build shows up as a clear failure.
#include "pe_image.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> const& exe_bytes()
{
    static std::vector<std::uint8_t> const bytes = pe::read_file(TAVREL_WINDOWS_EXE);
    return bytes;
}

TEST(PeImage, RefusesEveryTruncationOfTheHeaders)
{
    std::vector<std::uint8_t> const& whole = exe_bytes();
    ASSERT_GT(whole.size(), 4096u);
    for (std::size_t size : { 0, 1, 2, 0x3C, 0x40, 0x80, 0x100, 0x180, 0x200 }) {
        std::span<std::uint8_t const> const cut(whole.data(), size);
        EXPECT_THROW(pe::read_image(cut), pe::FormatError) << "cut at " << size;
    }
}

TEST(PeImage, RefusesWrongSignaturesAndOffsets)
{
    struct Damage {
        char const* what;
        std::size_t at;
        std::uint8_t value;
    };
    std::size_t const pe_offset = exe_bytes()[0x3C] | exe_bytes()[0x3D] << 8;
    Damage const damages[] = {
        { "MZ signature", 0, 'X' },
        { "PE offset beyond the file", 0x3F, 0x7F },
        { "PE signature", pe_offset, 'X' },
        { "optional header magic", pe_offset + 24, 0x07 },
    };
    for (Damage const& damage : damages) {
        std::vector<std::uint8_t> bytes = exe_bytes();
        bytes[damage.at] = damage.value;
        EXPECT_THROW(pe::read_image(bytes), pe::FormatError) << damage.what;
    }
}

TEST(PeImage, RefusesAVersionTreeThatOverrunsItself)
{
    std::vector<std::uint8_t> resource(64, 0);
    resource[0] = 200; // longer than the resource
    EXPECT_THROW(pe::read_version(resource), pe::FormatError);
    resource[0] = 64; // fits now, but its key is empty: no version resource
    EXPECT_THROW(pe::read_version(resource), pe::FormatError);
}

} // namespace
