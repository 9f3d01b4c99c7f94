// The packed window description, byte by byte: the header, each record's size
// and index flag, the markers between records, the property codes and the
// Windows-1251 bytes of every text. The stream is walked here with a reader of
// the test's own, so a fault shared by packer and form reader still shows.
#include "form_stream_support.h"

#include "window/description.h"
#include "window/pack.h"
#include "window/publisher.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using form_stream_support::Bytes;

std::uint32_t u16(Bytes const& b, std::size_t at)
{
    return b.at(at) | (b.at(at + 1) << 8);
}

std::uint32_t u32(Bytes const& b, std::size_t at)
{
    return u16(b, at) | (u16(b, at + 2) << 16);
}

enum Shape { Text, Byte, Number, Color, Place, Area, Font, List, ItemData, Picture };

// The value shape of each property code, per stored kind (13 the window).
std::map<int, std::map<int, Shape>> const shapes = {
    { 13,
        { { 0x01, Text }, { 0x03, Color }, { 0x19, Text }, { 0x22, Byte }, { 0x23, Picture }, { 0x24, Text },
            { 0x26, Byte }, { 0x27, Byte }, { 0x35, Area }, { 0x40, Font }, { 0x46, Byte } } },
    { 2,
        { { 0x01, Number }, { 0x04, Place }, { 0x0B, Text }, { 0x12, Number }, { 0x17, Byte }, { 0x18, Byte },
            { 0x2D, Byte } } },
    { 0,
        { { 0x02, Number }, { 0x03, Picture }, { 0x05, Place }, { 0x0A, Byte }, { 0x12, Number }, { 0x1A, Text },
            { 0x23, Byte }, { 0x24, Byte } } },
    { 8, { { 0x01, Number }, { 0x04, Place }, { 0x11, Number }, { 0x14, List }, { 0x21, ItemData } } },
    { 1, { { 0x01, Text }, { 0x02, Number }, { 0x03, Color }, { 0x05, Place }, { 0x12, Number }, { 0x14, Byte } } },
};

struct WalkedRecord {
    std::uint32_t size_field = 0;
    std::uint8_t array_number = 0;
    int index = -1;
    std::string name;
    int kind = 0;
    std::vector<int> codes;
    std::map<int, Bytes> values; // each property's value bytes
};

// Walks one record starting at `at`; leaves `at` just past its end marker.
WalkedRecord walk_record(Bytes const& b, std::size_t& at)
{
    std::size_t const start = at;
    WalkedRecord r;
    r.size_field = u32(b, at);
    at += 4;
    r.array_number = b.at(at++);
    if (r.size_field & 0x80000000u) {
        r.index = static_cast<int>(u16(b, at));
        at += 2;
    }
    std::size_t const name_length = u16(b, at);
    r.name.assign(b.begin() + static_cast<long>(at + 2), b.begin() + static_cast<long>(at + 2 + name_length));
    at += 2 + name_length;
    EXPECT_EQ(b.at(at++), 0) << r.name << ": name without its zero byte";
    r.kind = b.at(at++);
    while (b.at(at) != 0xFF) {
        int const code = b.at(at++);
        Shape const shape = shapes.at(r.kind).at(code);
        std::size_t length = 0;
        switch (shape) {
        case Text:
            length = 2 + u16(b, at) + 1;
            break;
        case Byte:
            length = 1;
            break;
        case Number:
            length = 2;
            break;
        case Color:
            length = 4;
            break;
        case Place:
            length = 8;
            break;
        case Area:
            length = 16;
            break;
        case Font:
            length = 10 + b.at(at + 10) + 1;
            break;
        case List: {
            length = 4;
            for (std::uint32_t i = 0; i < u16(b, at); ++i)
                length += 2 + u16(b, at + length);
            break;
        }
        case ItemData:
            length = 2 + 4 * u16(b, at);
            break;
        case Picture:
            length = 4 + u32(b, at);
            break;
        }
        r.codes.push_back(code);
        r.values[code] = Bytes(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + length));
        at += length;
    }
    ++at;
    EXPECT_EQ(r.size_field & 0x7FFFFFFFu, at - start) << r.name << ": size field disagrees with the record";
    return r;
}

struct Walked {
    WalkedRecord window;
    std::vector<WalkedRecord> elements;
};

Walked walk(Bytes const& b)
{
    std::size_t at = 93;
    Walked w;
    w.window = walk_record(b, at);
    EXPECT_EQ(b.at(at++), 0x01);
    for (;;) {
        w.elements.push_back(walk_record(b, at));
        std::uint8_t const marker = b.at(at++);
        if (marker == 0x02)
            break;
        EXPECT_EQ(marker, 0x03);
    }
    EXPECT_EQ(b.at(at++), 0x04);
    EXPECT_EQ(at, b.size());
    return w;
}

// The stored text of a property, without its length and zero byte.
Bytes text_bytes(Bytes const& value)
{
    EXPECT_EQ(value.back(), 0);
    EXPECT_EQ(u16(value, 0), value.size() - 3);
    return Bytes(value.begin() + 2, value.end() - 1);
}

// Windows-1251 bytes read back with the basic Cyrillic letters only (0xC0 to
// 0xFF are А to я), which is all the window's texts use.
std::string basic_cyrillic_to_utf8(Bytes const& bytes)
{
    std::string out;
    for (std::uint8_t b : bytes) {
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            EXPECT_GE(b, 0xC0) << "a byte outside the basic Cyrillic letters";
            unsigned const c = 0x410u + (b - 0xC0u);
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class FormStream : public testing::Test {
protected:
    Bytes const stream = window::pack(window::tavrel_oskund());
    Walked const walked = walk(stream);
};

TEST_F(FormStream, HeaderHasTheSignatureIdentifiersAndByteCount)
{
    Bytes const start(stream.begin(), stream.begin() + 5);
    EXPECT_EQ(start, (Bytes { 0xFF, 0xCC, 0x31, 0x00, 0x05 }));
    Bytes const object_id(stream.begin() + 5, stream.begin() + 21);
    Bytes const project_id(stream.begin() + 21, stream.begin() + 37);
    Bytes const class_id(stream.begin() + 37, stream.begin() + 53);
    // The window's own identifiers never change from one build to the next.
    EXPECT_EQ(object_id,
        (Bytes { 0x1E, 0x29, 0x6A, 0x2A, 0x6C, 0x0C, 0xE4, 0x49, 0xB6, 0x7B, 0xF0, 0x4D, 0x62, 0x49, 0x12, 0xDF }));
    EXPECT_EQ(project_id,
        (Bytes { 0xA6, 0x0A, 0xE8, 0x4F, 0x57, 0x45, 0x02, 0x41, 0x89, 0x3E, 0x8B, 0xCE, 0x6D, 0x22, 0x52, 0x96 }));
    EXPECT_EQ(class_id,
        (Bytes { 0x3A, 0x4F, 0xAD, 0x33, 0x99, 0x66, 0xCF, 0x11, 0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93 }));
    for (std::size_t i = 53; i < 89; ++i)
        EXPECT_EQ(stream[i], 0) << "reserved byte " << i;
    EXPECT_EQ(u32(stream, 89), stream.size() - 89);
}

TEST_F(FormStream, RecordsComeInCreationOrderWithTheirCodesAscending)
{
    struct Expected {
        char const* name;
        int array_number;
        int index;
        int kind;
        std::vector<int> codes;
    };
    std::vector<int> const road = { 0x02, 0x05, 0x0A, 0x12, 0x1A };
    std::vector<int> const segment = { 0x02, 0x05, 0x12, 0x1A, 0x23, 0x24 };
    std::vector<int> const list = { 0x01, 0x04, 0x11, 0x14, 0x21 };
    std::vector<int> const label = { 0x01, 0x02, 0x03, 0x05, 0x12, 0x14 };
    Expected const expected[] = {
        { "Text1", 1, 0, 2, { 0x01, 0x04, 0x0B, 0x12, 0x17, 0x18, 0x2D } },
        { "Picture2", 2, 7, 0, road },
        { "Picture2", 2, 6, 0, road },
        { "Picture2", 2, 5, 0, road },
        { "Picture2", 2, 4, 0, road },
        { "Picture2", 2, 3, 0, road },
        { "Picture2", 2, 2, 0, road },
        { "Picture2", 2, 1, 0, road },
        { "Picture2", 2, 0, 0, road },
        { "List1", 3, 2, 8, list },
        { "List1", 3, 1, 8, list },
        { "List1", 3, 0, 8, list },
        { "Picture1", 4, 2, 0, segment },
        { "Picture1", 4, 1, 0, segment },
        { "Picture1", 4, 0, 0, segment },
        { "Label1", 5, 5, 1, label },
        { "Label1", 5, 4, 1, label },
        { "Label1", 5, 3, 1, label },
        { "Label1", 5, 2, 1, label },
        { "Label1", 5, 1, 1, label },
        { "Label1", 5, 0, 1, label },
    };
    EXPECT_EQ(walked.window.name, "Tavrel_Oskund");
    EXPECT_EQ(walked.window.array_number, 0);
    EXPECT_EQ(walked.window.index, -1) << "the window record carries no index flag";
    EXPECT_EQ(walked.window.kind, 13);
    EXPECT_EQ(walked.window.codes, (std::vector<int> { 0x01, 0x03, 0x19, 0x22, 0x24, 0x26, 0x27, 0x35, 0x40, 0x46 }));
    ASSERT_EQ(walked.elements.size(), std::size(expected));
    for (std::size_t i = 0; i < walked.elements.size(); ++i) {
        auto const& r = walked.elements[i];
        auto const& e = expected[i];
        SCOPED_TRACE(std::string(e.name) + "(" + std::to_string(e.index) + ")");
        EXPECT_EQ(r.name, e.name);
        EXPECT_EQ(r.array_number, e.array_number);
        EXPECT_EQ(r.index, e.index);
        EXPECT_EQ(r.kind, e.kind);
        EXPECT_EQ(r.codes, e.codes);
        // The index property repeats the record's index.
        int const index_code = e.kind == 0 || e.kind == 1 ? 0x02 : 0x01;
        EXPECT_EQ(u16(r.values.at(index_code), 0), static_cast<std::uint32_t>(e.index));
    }
}

TEST_F(FormStream, WindowValuesAreStoredAsTheirFormatsSay)
{
    auto const& v = walked.window.values;
    EXPECT_EQ(v.at(0x03), (Bytes { 0xC0, 0xC0, 0xFF, 0x00 })) << "red in the lowest byte";
    EXPECT_EQ(v.at(0x22), Bytes { 1 });
    EXPECT_EQ(v.at(0x26), Bytes { 0 });
    EXPECT_EQ(v.at(0x27), Bytes { 0 });
    EXPECT_EQ(v.at(0x46), Bytes { 1 });
    EXPECT_EQ(text_bytes(v.at(0x19)), Bytes { 'B' });
    EXPECT_EQ(text_bytes(v.at(0x24)), (Bytes { 'F', 'o', 'r', 'm', '1' }));
    Bytes area;
    for (std::uint32_t n : { 45u, 435u, 7050u, 6135u })
        form_stream_support::put32(area, n);
    EXPECT_EQ(v.at(0x35), area);
    Bytes font { 1, 204, 0, 0, 0x90, 0x01, 0xC0, 0xD4, 0x01, 0x00, 15 };
    for (char c : std::string_view("Times New Roman"))
        font.push_back(static_cast<std::uint8_t>(c));
    EXPECT_EQ(v.at(0x40), font);
}

TEST_F(FormStream, TextsAreStoredInWindows1251)
{
    std::string_view const publisher = TAVREL_PUBLISHER_WEB_ADDRESS;
    Bytes caption(publisher.begin(), publisher.end());
    caption.insert(caption.end(),
        { ' ', ' ', 0xCC, 0xE0, 0xF2, 0xE5, 0xEC, 0xE0, 0xF2, 0xE8, 0xEA, 0xE0, 0x20, 0x2D, 0x20, 0xEF, 0xF0, 0xE0,
            0xE2, 0xE8, 0xEB, 0xEE, 0x20, 0xE7, 0xE0, 0x20, 0xF3, 0xEC, 0xED, 0xEE, 0xE6, 0xE5, 0xED, 0xE8, 0xE5 });
    EXPECT_EQ(text_bytes(walked.window.values.at(0x01)), caption);

    auto const label_caption = [&](int index) { return text_bytes(walked.elements.at(20 - index).values.at(0x01)); };
    EXPECT_EQ(label_caption(5),
        (Bytes { 0xC1, 0xF0, 0xEE, 0xE9, 0x20, 0xEC, 0xE0, 0xF0, 0xF8, 0xF0, 0xF3, 0xF2, 0xE8, 0x3A }));
    EXPECT_EQ(label_caption(4), (Bytes { 'C', 'D' }));
    EXPECT_EQ(label_caption(3), (Bytes { 'B', 'C' }));
    EXPECT_EQ(label_caption(2), (Bytes { 'A', 'B' }));
    EXPECT_EQ(label_caption(1), Bytes {});
    EXPECT_EQ(basic_cyrillic_to_utf8(label_caption(0)), "Математика - комбинаторика, правило за умножение");
    EXPECT_EQ(label_caption(0).size(), 48u);

    for (std::size_t list = 9; list <= 11; ++list) {
        Bytes entries { 8, 0, 3, 0 };
        for (std::uint8_t digit = '0'; digit <= '7'; ++digit)
            entries.insert(entries.end(), { 1, 0, digit });
        EXPECT_EQ(walked.elements[list].values.at(0x14), entries);
        Bytes item_data(2 + 8 * 4, 0);
        item_data[0] = 8;
        EXPECT_EQ(walked.elements[list].values.at(0x21), item_data);
    }
}

TEST_F(FormStream, TaskTextIsNineLinesEndedByCrLf)
{
    Bytes const text = text_bytes(walked.elements.at(0).values.at(0x0B));
    EXPECT_EQ(text.size(), 909u);
    std::vector<std::size_t> line_lengths;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n') {
            line_lengths.push_back(i - line_start);
            line_start = i + 2;
        }
    }
    EXPECT_EQ(line_start, text.size()) << "the text ends with CR LF";
    EXPECT_EQ(line_lengths, (std::vector<std::size_t> { 70, 205, 86, 172, 81, 66, 93, 40, 78 }));
    EXPECT_EQ(basic_cyrillic_to_utf8(text),
        std::get<window::TextBoxSettings>(window::tavrel_oskund().elements[0].settings).text);
    EXPECT_EQ(Bytes(text.begin(), text.begin() + 4), (Bytes { 0xC5, 0xE4, 0xED, 0xEE })) << "Едно";
}

TEST(FormStreamPictures, PictureRecordWrapsTheFile)
{
    Bytes const file = form_stream_support::bmp_file(1, 1, { 0x102030 });
    assets::ByteWriter writer;
    window::append_picture_record(writer, 0x03, file);
    Bytes const record = writer.take();
    ASSERT_EQ(record.size(), 1 + 4 + 4 + 4 + file.size());
    EXPECT_EQ(record[0], 0x03);
    EXPECT_EQ(u32(record, 1), file.size() + 8);
    EXPECT_EQ(Bytes(record.begin() + 5, record.begin() + 9), (Bytes { 'l', 't', 0, 0 }));
    EXPECT_EQ(u32(record, 9), file.size());
    EXPECT_EQ(Bytes(record.begin() + 13, record.end()), file);
}

TEST(FormStreamPictures, PicturesTakeTheirPlaceInCodeOrder)
{
    auto const files = form_stream_support::small_pictures();
    Bytes const stream = window::pack(window::tavrel_oskund(), files);
    Walked const walked = walk(stream);
    EXPECT_EQ(
        walked.window.codes, (std::vector<int> { 0x01, 0x03, 0x19, 0x22, 0x23, 0x24, 0x26, 0x27, 0x35, 0x40, 0x46 }));
    // Picture2(7) down to Picture2(0), then, after the lists, Picture1(2) down to
    // Picture1(0), which start with road picture 1.
    for (std::size_t i : { 1, 2, 3, 4, 5, 6, 7, 8, 12, 13, 14 }) {
        auto const& value = walked.elements[i].values.at(0x03);
        std::size_t const road = i <= 8 ? 8 - i : 1;
        EXPECT_EQ(Bytes(value.begin() + 12, value.end()), files.road_pictures[road]) << "element record " << i;
    }
    EXPECT_EQ(Bytes(walked.window.values.at(0x23).begin() + 12, walked.window.values.at(0x23).end()), files.icon);
}

} // namespace
