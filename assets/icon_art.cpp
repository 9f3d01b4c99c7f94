// The hamburger, seen from the front and a little from above: domed top bun
// with sesame seeds and a gleam, lettuce tips at the sides, cheese, lettuce and
// tomato, a dark patty closed by a black line, and the bottom bun.
#include "assets/icon_art.h"

#include <stdexcept>
#include <string>

namespace assets::icon_art {

namespace {

struct Paint {
    char key;
    std::uint32_t rgb;
};

// clang-format off
constexpr Paint paints[] = {
    { 'C', 0xCC6600 }, // bun
    { 'D', 0x663300 }, // bun outline and dark crust
    { 's', 0x993300 }, // bun shading
    { 'o', 0xFF9900 }, // lit bun
    { 'y', 0xFFCC00 }, // brightest bun
    { '*', 0xFFCC33 }, // sesame seed
    { 'W', 0xFFFFFF }, // gleam
    { 'M', 0x660000 }, // shadowed lower edge of the bottom bun
    { 'L', 0x00AA00 }, // lettuce tips
    { 'G', 0x00BB00 }, // lettuce
    { 'Y', 0xFFFF00 }, // cheese
    { 'R', 0xFF3300 }, // tomato
    { 'P', 0xFF9999 }, // tomato flesh
    { '#', 0x000000 }, // outline and patty
    { '4', 0x444444 }, // patty, darkest grey to lightest
    { '7', 0x777777 },
    { 'a', 0xA0A0A4 },
    { 'd', 0xDDDDDD },
};
// clang-format on

} // namespace

// clang-format off
std::array<std::string_view, 32> const rows = {
    //           1111111111222222222233
    // 01234567890123456789012345678901
    "................................", // 0
    "................................", // 1
    "................................", // 2
    "............DDDDDDD.............", // 3
    "...........DC*CCCCoD............", // 4
    "........DCCCCC*CCCCooyD.........", // 5
    ".......DCC*CCCCCCC*CooyD........", // 6
    "......DCCCCCCC*CCCCCooyoD.......", // 7
    ".....DCC*CCCCCCCCCCo*ooyyD......", // 8
    "....DCCCCCC*CCCCCCC*ooooyoD.....", // 9
    "....DsCCCCCCCCCC*CCCo*ooyyD.....", // 10
    "...DsCC*CCCCCCC*CCCCCooooWyD....", // 11
    "..DssCCCCCC*CCCCCCC*CCooooyoDL..", // 12
    "LLDsssCCCCCCCCC*CCCCCCCoooooDL..", // 13
    "L.DssssssCCCCC*CCCCCC*CCCCosD.L.", // 14
    "L#DDsssssssssssssssssssssssDD#..", // 15
    ".#YYYYYYYDDDDDDDDDDDDDDDDDDDD#..", // 16
    ".#YYYYYDDDDDDDDDDDDRRPPRRDDDD#..", // 17
    ".#YYYGGGGDDDDDDDDDRRRPPRRDDDD#..", // 18
    ".#YYGGGGGDDDDDDDDDDRRPRRDDDoD#..", // 19
    ".#YDGGG##44444DDRP4#DDDyoooyy#..", // 20
    ".#CCDGG#Dd7aa44YYYYYYYYYYYYYY#..", // 21
    ".#CCCCD#447774444aaaY4#Dooooy#..", // 22
    ".#MCCCD#444444aaaadd#DDoooyoo#..", // 23
    ".#MMCCD#44a44a7777d#DDooooyyo#..", // 24
    ".#############################..", // 25
    "..MMCCCCCCCCCCCCCCCCCCCoyoooo...", // 26
    "...MMCCCCCCCCCCCCCCCCCCoyyoD....", // 27
    ".....MMMCCCCCCCCCCCCCCyooD......", // 28
    "........MMMDDDDDDDDDDDDD........", // 29
    "................................", // 30
    "................................", // 31
};
// clang-format on

std::optional<std::uint32_t> colour_of(char paint)
{
    if (paint == '.')
        return std::nullopt;
    for (auto const& p : paints)
        if (p.key == paint)
            return p.rgb;
    throw std::logic_error(std::string("icon art: no colour for '") + paint + "'");
}

// The twenty colours Windows reserves in every 8-bit palette take the first and
// last ten entries; between them lie the 6 x 6 x 6 colour cube and ten-step
// ramps of green and grey, which together hold every colour the art uses.
std::array<std::uint32_t, 256> colour_table()
{
    constexpr std::uint32_t system_low[]
        = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0 };
    constexpr std::uint32_t system_high[]
        = { 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };
    constexpr std::uint32_t ramp[] = { 0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11 };
    std::array<std::uint32_t, 256> table {};
    std::size_t next = 0;
    for (std::uint32_t c : system_low)
        table[next++] = c;
    for (std::uint32_t r = 0; r < 6; ++r)
        for (std::uint32_t g = 0; g < 6; ++g)
            for (std::uint32_t b = 0; b < 6; ++b)
                table[next++] = (r * 0x33) << 16 | (g * 0x33) << 8 | b * 0x33;
    for (std::uint32_t level : ramp)
        table[next++] = level << 8;
    for (std::uint32_t level : ramp)
        table[next++] = level << 16 | level << 8 | level;
    for (std::uint32_t c : system_high)
        table[next++] = c;
    return table;
}

} // namespace assets::icon_art
