// The form reader on damaged descriptions: every cut, every flipped byte and
// a table of hand-made faults must either read or raise
// MalformedFormDescription; nothing may crash or read out of bounds (these
// tests are meant to run under ASan and UBSan too).
#include "form_stream_support.h"

#include "platform/form_format.h"
#include "platform/form_reader.h"
#include "window/pack.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

using namespace form_stream_support;
using rt::ErrorCode;

// Where the stream's byte count lies (right after the header), and where the
// first record's size follows it.
constexpr std::size_t count_at = platform::form_format::header_size;
constexpr std::size_t record_size_at = count_at + 4;

bool reads_or_is_malformed(Bytes const& stream)
{
    auto const error = error_of([&] { platform::read_form(stream); });
    return !error || *error == ErrorCode::MalformedFormDescription;
}

bool is_malformed(Bytes const& stream)
{
    return error_of([&] { platform::read_form(stream); }) == ErrorCode::MalformedFormDescription;
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (auto const& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes u16b(unsigned v)
{
    Bytes b;
    put16(b, v);
    return b;
}

Bytes u32b(std::uint32_t v)
{
    Bytes b;
    put32(b, v);
    return b;
}

Bytes text(std::string_view s)
{
    return cat({ u16b(static_cast<unsigned>(s.size())), Bytes(s.begin(), s.end()), Bytes { 0 } });
}

// A record with its size (and index flag) worked out.
Bytes record(std::uint8_t array, int index, std::string_view name, std::uint8_t kind, Bytes const& properties)
{
    Bytes body = cat({ Bytes { array }, index >= 0 ? u16b(static_cast<unsigned>(index)) : Bytes {}, text(name),
        Bytes { kind }, properties, Bytes { 0xFF } });
    std::uint32_t const size = static_cast<std::uint32_t>(body.size() + 4) | (index >= 0 ? 0x80000000u : 0);
    return cat({ u32b(size), body });
}

// Header, then the given records and markers, with the byte count worked out.
Bytes stream_of(Bytes const& rest)
{
    Bytes header { 0xFF, 0xCC, 0x31, 0x00, 0x05 };
    header.insert(header.end(), 32, 0x11);
    header.insert(header.end(),
        { 0x3A, 0x4F, 0xAD, 0x33, 0x99, 0x66, 0xCF, 0x11, 0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93 });
    header.insert(header.end(), 36, 0);
    return cat({ header, u32b(static_cast<std::uint32_t>(rest.size() + 4)), rest });
}

Bytes window_record(Bytes const& properties = {})
{
    return record(0, -1, "F", 13, properties);
}

Bytes one_element(Bytes const& element)
{
    return stream_of(cat({ window_record(), Bytes { 0x01 }, element, Bytes { 0x02, 0x04 } }));
}

Bytes label(int index, Bytes const& properties = {}, std::uint8_t array = 5, std::string_view name = "Label1")
{
    return record(array, index, name, 1, properties);
}

Bytes list_with(Bytes const& properties)
{
    return one_element(record(3, 0, "List1", 8, properties));
}

Bytes picture_box_with(Bytes const& picture_value)
{
    return one_element(record(2, 0, "Picture2", 0, cat({ Bytes { 0x03 }, picture_value })));
}

Bytes picture_value(Bytes const& file, std::uint32_t extra_length = 0, std::uint32_t extra_size = 0)
{
    return cat({ u32b(static_cast<std::uint32_t>(file.size()) + 8 + extra_length), Bytes { 'l', 't', 0, 0 },
        u32b(static_cast<std::uint32_t>(file.size()) + extra_size), file });
}

TEST(FormReaderMutation, HandMadeStreamsAreReadOrRefused)
{
    struct Case {
        char const* what;
        Bytes stream;
        bool valid;
    };
    Bytes const good_bmp = bmp_file(1, 1, { 0xABCDEF });
    Bytes bmp_24_to_8 = good_bmp;
    bmp_24_to_8[28] = 8;
    Bytes ico_bad_index = small_icon();
    ico_bad_index[22 + 40 + 1024] = 0xFF;
    ico_bad_index[22 + 32] = 4; // only four colours in the table
    Bytes const empty_window = stream_of(cat({ window_record(), Bytes { 0x02, 0x04 } }));
    Bytes wrong_count = empty_window;
    wrong_count[count_at] += 1;
    Case const cases[] = {
        { "a window without elements", empty_window, true },
        { "one label", one_element(label(0)), true },
        { "two labels",
            stream_of(
                cat({ window_record(), Bytes { 0x01 }, label(0), Bytes { 0x03 }, label(1), Bytes { 0x02, 0x04 } })),
            true },
        { "a picture box with a bitmap", picture_box_with(picture_value(good_bmp)), true },
        { "empty stream", {}, false },
        { "bad signature",
            [&] {
                auto s = empty_window;
                s[1] = 0xCD;
                return s;
            }(),
            false },
        { "bad version",
            [&] {
                auto s = empty_window;
                s[4] = 0x06;
                return s;
            }(),
            false },
        { "not a window's class",
            [&] {
                auto s = empty_window;
                s[40] ^= 1;
                return s;
            }(),
            false },
        { "reserved byte set",
            [&] {
                auto s = empty_window;
                s[60] = 1;
                return s;
            }(),
            false },
        { "byte count too large", wrong_count, false },
        { "trailing byte",
            [&] {
                auto s = empty_window;
                s.push_back(0);
                s[count_at] += 1;
                return s;
            }(),
            false },
        { "trailing byte not counted",
            [&] {
                auto s = empty_window;
                s.push_back(0x04);
                return s;
            }(),
            false },
        { "no end marker", stream_of(cat({ window_record(), Bytes { 0x02 } })), false },
        { "bad marker after the window", stream_of(cat({ window_record(), Bytes { 0x05, 0x04 } })), false },
        { "bad marker between elements",
            stream_of(
                cat({ window_record(), Bytes { 0x01 }, label(0), Bytes { 0x01 }, label(1), Bytes { 0x02, 0x04 } })),
            false },
        { "end marker 0x04 twice", stream_of(cat({ window_record(), Bytes { 0x02, 0x04, 0x04 } })), false },
        { "record size one short",
            [&] {
                auto s = empty_window;
                s[record_size_at] -= 1;
                return s;
            }(),
            false },
        { "record size one long",
            [&] {
                auto s = empty_window;
                s[record_size_at] += 1;
                return s;
            }(),
            false },
        { "record size huge",
            [&] {
                auto s = empty_window;
                s[record_size_at + 2] = 0x7F;
                return s;
            }(),
            false },
        { "record size zero",
            [&] {
                auto s = empty_window;
                s[record_size_at] = 0;
                return s;
            }(),
            false },
        { "window with an index", stream_of(cat({ record(0, 0, "F", 13, {}), Bytes { 0x02, 0x04 } })), false },
        { "first record not a window", stream_of(cat({ record(0, -1, "F", 1, {}), Bytes { 0x02, 0x04 } })), false },
        { "element without index", one_element(label(-1)), false },
        { "element with the window's array number", one_element(label(0, {}, 0)), false },
        { "unknown element kind", one_element(record(5, 0, "Label1", 3, {})), false },
        { "element kind window", one_element(record(5, 0, "Label1", 13, {})), false },
        { "element index above 32767", one_element(label(40000)), false },
        { "element stored twice",
            stream_of(
                cat({ window_record(), Bytes { 0x01 }, label(0), Bytes { 0x03 }, label(0), Bytes { 0x02, 0x04 } })),
            false },
        { "one array number, two names",
            stream_of(cat({ window_record(), Bytes { 0x01 }, label(0), Bytes { 0x03 }, label(1, {}, 5, "Label2"),
                Bytes { 0x02, 0x04 } })),
            false },
        { "one array, two kinds",
            stream_of(cat({ window_record(), Bytes { 0x01 }, label(0), Bytes { 0x03 }, record(5, 1, "Label1", 0, {}),
                Bytes { 0x02, 0x04 } })),
            false },
        { "empty name", stream_of(cat({ record(0, -1, "", 13, {}), Bytes { 0x02, 0x04 } })), false },
        { "unknown window property", stream_of(cat({ window_record(Bytes { 0x02, 1 }), Bytes { 0x02, 0x04 } })),
            false },
        { "unknown label property", one_element(label(0, Bytes { 0x04, 0, 0 })), false },
        { "codes out of order",
            stream_of(cat(
                { window_record(cat({ Bytes { 0x03 }, u32b(0), Bytes { 0x01 }, text("x") })), Bytes { 0x02, 0x04 } })),
            false },
        { "code twice",
            stream_of(cat({ window_record(cat({ Bytes { 0x01 }, text("x"), Bytes { 0x01 }, text("y") })),
                Bytes { 0x02, 0x04 } })),
            false },
        { "text without its zero byte",
            stream_of(cat({ window_record(Bytes { 0x01, 1, 0, 'x', 'y' }), Bytes { 0x02, 0x04 } })), false },
        { "text with a zero byte inside",
            stream_of(cat({ window_record(Bytes { 0x01, 2, 0, 'x', 0, 0 }), Bytes { 0x02, 0x04 } })), false },
        { "text with the undefined byte 0x98",
            stream_of(cat({ window_record(Bytes { 0x01, 1, 0, 0x98, 0 }), Bytes { 0x02, 0x04 } })), false },
        { "text longer than its record",
            stream_of(cat({ window_record(Bytes { 0x01, 0xFF, 0 }), Bytes { 0x02, 0x04 } })), false },
        { "flag neither on nor off", stream_of(cat({ window_record(Bytes { 0x26, 0x01 }), Bytes { 0x02, 0x04 } })),
            false },
        { "frame style out of range", stream_of(cat({ window_record(Bytes { 0x22, 6 }), Bytes { 0x02, 0x04 } })),
            false },
        { "colour with a fourth byte",
            stream_of(cat({ window_record(Bytes { 0x03, 1, 2, 3, 0x80 }), Bytes { 0x02, 0x04 } })), false },
        { "negative width", one_element(label(0, cat({ Bytes { 0x05 }, u16b(0), u16b(0), u16b(0xFFFF), u16b(1) }))),
            false },
        { "index property disagrees", one_element(label(0, cat({ Bytes { 0x02 }, u16b(1) }))), false },
        { "label alignment out of range", one_element(label(0, Bytes { 0x14, 3 })), false },
        { "font of another version",
            stream_of(cat({ window_record(cat({ Bytes { 0x40, 2 }, u16b(204), Bytes { 0 }, u16b(400), u32b(120000),
                                Bytes { 1, 'Z' } })),
                Bytes { 0x02, 0x04 } })),
            false },
        { "font without a name",
            stream_of(cat({ window_record(cat(
                                { Bytes { 0x40, 1 }, u16b(204), Bytes { 0 }, u16b(400), u32b(120000), Bytes { 0 } })),
                Bytes { 0x02, 0x04 } })),
            false },
        { "list entries",
            list_with(
                cat({ Bytes { 0x14 }, u16b(1), u16b(3), u16b(1), Bytes { '0' }, Bytes { 0x21 }, u16b(1), u32b(0) })),
            true },
        { "list of another format", list_with(cat({ Bytes { 0x14 }, u16b(1), u16b(2), u16b(1), Bytes { '0' } })),
            false },
        { "list entry past the record", list_with(cat({ Bytes { 0x14 }, u16b(1), u16b(3), u16b(9), Bytes { '0' } })),
            false },
        { "entry numbers for other entries",
            list_with(cat({ Bytes { 0x14 }, u16b(1), u16b(3), u16b(1), Bytes { '0' }, Bytes { 0x21 }, u16b(2), u32b(0),
                u32b(0) })),
            false },
        { "picture record too short", picture_box_with(u32b(7)), false },
        { "picture without signature", picture_box_with([&] {
             auto v = picture_value(good_bmp);
             v[4] = 'L';
             return v;
         }()),
            false },
        { "picture file size disagrees", picture_box_with(picture_value(good_bmp, 0, 1)), false },
        { "picture record longer than its file", picture_box_with(picture_value(good_bmp, 1, 1)), false },
        { "picture neither BMP nor ICO", picture_box_with(picture_value(Bytes { 'G', 'I', 'F', '8' })), false },
        { "BMP of 8 bits per pixel", picture_box_with(picture_value(bmp_24_to_8)), false },
        { "BMP cut short", picture_box_with(picture_value(Bytes(good_bmp.begin(), good_bmp.end() - 1))), false },
        { "ICO pixel beyond its colour table", picture_box_with(picture_value(ico_bad_index)), false },
    };
    for (auto const& c : cases) {
        auto const error = error_of([&] { platform::read_form(c.stream); });
        if (c.valid)
            EXPECT_FALSE(error.has_value()) << c.what;
        else
            EXPECT_EQ(error, ErrorCode::MalformedFormDescription) << c.what;
    }
}

TEST(FormReaderMutation, EveryCutIsRefused)
{
    Bytes const stream = window::pack(small_window(), small_pictures());
    ASSERT_TRUE(reads_or_is_malformed(stream));
    for (std::size_t length = 0; length < stream.size(); ++length) {
        Bytes cut(stream.begin(), stream.begin() + static_cast<long>(length));
        EXPECT_TRUE(is_malformed(cut)) << "cut at " << length;
        // The same cut with a byte count that agrees, so the reader goes on into the records.
        if (length >= record_size_at) {
            std::uint32_t const count = static_cast<std::uint32_t>(length - count_at);
            for (int k = 0; k < 4; ++k)
                cut[count_at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(count >> (8 * k));
            EXPECT_TRUE(is_malformed(cut)) << "cut at " << length << " with its count";
        }
    }
}

TEST(FormReaderMutation, EveryFlippedByteReadsOrIsRefused)
{
    Bytes const stream = window::pack(small_window(), small_pictures());
    for (std::size_t at = 0; at < stream.size(); ++at) {
        for (std::uint8_t mask : { 0x01, 0x10, 0x80, 0xFF }) {
            Bytes flipped = stream;
            flipped[at] ^= mask;
            EXPECT_TRUE(reads_or_is_malformed(flipped)) << "byte " << at << " ^ " << int(mask);
        }
    }
}

TEST(FormReaderMutation, RealWindowCutsAreRefused)
{
    Bytes const stream = window::pack(window::tavrel_oskund());
    for (std::size_t length = record_size_at; length < stream.size(); ++length) {
        Bytes cut(stream.begin(), stream.begin() + static_cast<long>(length));
        std::uint32_t const count = static_cast<std::uint32_t>(length - count_at);
        for (int k = 0; k < 4; ++k)
            cut[count_at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(count >> (8 * k));
        EXPECT_TRUE(is_malformed(cut)) << "cut at " << length;
    }
}

} // namespace
