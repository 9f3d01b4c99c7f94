// The resources of Tavrel_Oskund.exe: its version information, field by
// field, and its application icon, which must be the window's icon image.
#include "pe_image.h"
#include "window/publisher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::int32_t rt_icon = 3;
constexpr std::int32_t rt_group_icon = 14;
constexpr std::int32_t rt_version = 16;

pe::Image const& exe()
{
    static pe::Image const image = pe::read_image(TAVREL_WINDOWS_EXE);
    return image;
}

pe::VersionInfo version()
{
    auto const found = exe().find(rt_version, 1);
    if (found.size() != 1)
        throw std::runtime_error("expected one version resource, found " + std::to_string(found.size()));
    return pe::read_version(found.front()->data);
}

std::uint32_t u32(std::vector<std::uint8_t> const& bytes, std::size_t at)
{
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16
        | static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

TEST(ExeVersion, FixedPartSaysVersionOneOfAWindowsApplication)
{
    pe::VersionInfo const v = version();
    EXPECT_EQ(v.signature, 0xFEEF04BDu);
    EXPECT_EQ(v.file_version, 0x0001000000000000u);
    EXPECT_EQ(v.product_version, 0x0001000000000000u);
    EXPECT_EQ(v.file_flags, 0u);
    EXPECT_EQ(v.file_os, 0x00000004u) << "VOS__WINDOWS32";
    EXPECT_EQ(v.file_type, 0x00000001u) << "VFT_APP";
    EXPECT_EQ(v.file_subtype, 0u);
}

TEST(ExeVersion, StringsAreUsEnglishUnicodeWithEveryField)
{
    std::string const publisher = TAVREL_PUBLISHER_WEB_ADDRESS;
    ASSERT_FALSE(publisher.empty());
    std::map<std::string, std::string> const expected {
        { "Comments", "kombinatono proizwedenie" },
        { "CompanyName", publisher },
        { "FileDescription", "Tavrel_Oskund" },
        { "FileVersion", "1.00" },
        { "InternalName", "Tavrel_Oskund" },
        { "LegalCopyright", publisher },
        { "LegalTrademarks", publisher },
        { "OriginalFilename", "Tavrel_Oskund.exe" },
        { "ProductName", "Tavrel_Oskund" },
        { "ProductVersion", "1.00" },
    };
    pe::VersionInfo const v = version();
    ASSERT_EQ(v.strings.size(), 1u);
    EXPECT_EQ(v.strings.begin()->first, "040904B0");
    EXPECT_EQ(v.strings.begin()->second, expected);
    EXPECT_EQ(v.translations, std::vector<std::uint32_t> { 0x04B00409 }) << "0x0409, 1200";
}

TEST(ExeIcon, IsOneLanguageNeutralGroupOfTheWindowIconsImage)
{
    std::vector<std::uint8_t> const ico = pe::read_file(TAVREL_WINDOW_ICON);
    ASSERT_EQ(ico.size(), 2246u);
    std::vector<std::uint8_t> const window_image(ico.begin() + 22, ico.end());

    auto const images = exe().find(rt_icon, 30001);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images.front()->language, 0);
    EXPECT_EQ(images.front()->data, window_image) << "the application icon is the window icon, byte for byte";

    std::size_t groups = 0;
    for (pe::Resource const& r : exe().resources)
        groups += r.type == rt_group_icon;
    ASSERT_EQ(groups, 1u) << "the only icon group is the application icon";
    auto const group = exe().find(rt_group_icon, 1);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group.front()->language, 0);
    std::vector<std::uint8_t> const expected_group {
        0, 0, 1, 0, 1, 0, // reserved, type icon, one entry
        32, 32, 0, 0, 1, 0, 8, 0, // 32 x 32, no palette count, 1 plane, 8 bits
        0xB0, 0x08, 0, 0, // 2,224 bytes
        0x31, 0x75, // image 30001
    };
    EXPECT_EQ(group.front()->data, expected_group);
    EXPECT_EQ(u32(images.front()->data, 0), 40u) << "the image starts with its information header";
}

} // namespace
