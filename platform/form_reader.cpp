// The form engine's reader: checks a packed window description field by field
// and builds the control model from it in creation order. Every read goes
// through a bounds-checked cursor; anything unexpected raises
// MalformedFormDescription naming the record and the byte where it was found.
#include "form_reader.h"

#include "cp1251.h"
#include "form_format.h"
#include "picture_decode.h"
#include "runtime.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace platform {

namespace fmt = form_format;

namespace {

// "0x" and at least two upper-case hex digits. Written by hand: snprintf
// would link a whole printf implementation into the Windows program.
std::string hex(unsigned value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % 16]);
        value /= 16;
    } while (value != 0 || digits.size() < 2);
    return "0x" + digits;
}

// Reads little-endian values from a part of the stream, never beyond it.
class Cursor {
public:
    Cursor(std::span<std::uint8_t const> bytes, std::size_t origin, std::string where)
        : m_bytes(bytes)
        , m_origin(origin)
        , m_where(std::move(where))
    { }

    bool at_end() const { return m_pos == m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    std::size_t offset() const { return m_origin + m_pos; }
    std::string const& where() const { return m_where; }
    void set_where(std::string where) { m_where = std::move(where); }

    [[noreturn]] void fail(std::string const& what) const
    {
        rt::raise(
            rt::ErrorCode::MalformedFormDescription, m_where + ", byte " + std::to_string(offset()) + ": " + what);
    }

    std::span<std::uint8_t const> take(std::size_t n, char const* what)
    {
        if (n > remaining())
            fail(std::string(what) + " needs " + std::to_string(n) + " bytes, " + std::to_string(remaining())
                + " are left");
        auto const part = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return part;
    }
    // A cursor over the next n bytes, which this one then skips.
    Cursor split(std::size_t n, char const* what, std::string where)
    {
        std::size_t const origin = offset();
        Cursor part(take(n, what), origin, std::move(where));
        part.defer_bitmap_pixels = defer_bitmap_pixels;
        return part;
    }

    // Whether the bitmaps read through here keep their files for later.
    bool defer_bitmap_pixels = false;

    std::uint8_t u8(char const* what) { return take(1, what)[0]; }
    std::uint16_t u16(char const* what)
    {
        auto const b = take(2, what);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t u32(char const* what)
    {
        auto const b = take(4, what);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int16_t i16(char const* what) { return static_cast<std::int16_t>(u16(what)); }
    std::int32_t i32(char const* what) { return static_cast<std::int32_t>(u32(what)); }

    // A 16-bit number that must fit the model's signed 16-bit indices.
    std::int16_t number(char const* what)
    {
        std::uint16_t const v = u16(what);
        if (v > 32767)
            fail(std::string(what) + " " + std::to_string(v) + " is out of range");
        return static_cast<std::int16_t>(v);
    }
    bool flag(char const* what)
    {
        std::uint8_t const v = u8(what);
        if (v != fmt::flag_off && v != fmt::flag_on)
            fail(std::string(what) + " flag holds " + hex(v));
        return v == fmt::flag_on;
    }
    std::uint8_t choice(char const* what, std::uint8_t highest)
    {
        std::uint8_t const v = u8(what);
        if (v > highest)
            fail(std::string(what) + " " + std::to_string(v) + " is not one of 0 to " + std::to_string(highest));
        return v;
    }
    // Windows-1251 bytes of a given length, as UTF-8; a zero byte inside is refused.
    std::string bytes_as_utf8(std::size_t length, char const* what)
    {
        auto const raw = take(length, what);
        std::string_view const text(reinterpret_cast<char const*>(raw.data()), raw.size());
        if (text.find('\0') != std::string_view::npos)
            fail(std::string(what) + " holds a zero byte");
        auto utf8 = cp1251::to_utf8(text);
        if (!utf8)
            fail(std::string(what) + " holds a byte that Windows-1251 does not define");
        return *utf8;
    }
    // A stored text: 16-bit length, the bytes, a zero byte.
    std::string text(char const* what)
    {
        std::uint16_t const length = u16(what);
        std::string utf8 = bytes_as_utf8(length, what);
        if (u8(what) != 0)
            fail(std::string(what) + " lacks its closing zero byte");
        return utf8;
    }
    Color color(char const* what)
    {
        std::uint32_t const v = u32(what);
        if (v > 0xFFFFFF)
            fail(std::string(what) + " " + hex(v) + " is not an RGB colour");
        return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    }
    Place place(char const* what)
    {
        Place p;
        p.left = i16(what);
        p.top = i16(what);
        p.width = i16(what);
        p.height = i16(what);
        if (p.width < 0 || p.height < 0)
            fail(std::string(what) + " has a negative size");
        return p;
    }

private:
    std::span<std::uint8_t const> m_bytes;
    std::size_t m_origin;
    std::string m_where;
    std::size_t m_pos = 0;
};

Place client_area(Cursor& c)
{
    Place p;
    p.left = c.i32("client area");
    p.top = c.i32("client area");
    p.width = c.i32("client area");
    p.height = c.i32("client area");
    if (p.width < 0 || p.height < 0)
        c.fail("client area has a negative size");
    return p;
}

Font font(Cursor& c)
{
    if (c.u8("font version") != fmt::font_version)
        c.fail("unknown font version");
    Font f;
    f.charset = c.u16("font character set");
    f.style = c.u8("font style");
    if (f.style > 15)
        c.fail("font style " + hex(f.style));
    f.weight = c.u16("font weight");
    if (f.weight == 0 || f.weight > 1000)
        c.fail("font weight " + std::to_string(f.weight));
    std::uint32_t const size = c.u32("font size");
    if (size == 0)
        c.fail("font size " + std::to_string(size));
    f.size_points = static_cast<double>(size) / fmt::font_size_scale;
    std::uint8_t const length = c.u8("font name");
    if (length == 0)
        c.fail("the font has no name");
    f.name = c.bytes_as_utf8(length, "font name");
    return f;
}

PictureRef picture(Cursor& c)
{
    std::uint32_t const length = c.u32("picture record length");
    if (length < fmt::picture_overhead)
        c.fail("picture record length " + std::to_string(length));
    Cursor record = c.split(length, "picture record", c.where());
    auto const signature = record.take(fmt::picture_signature.size(), "picture signature");
    if (!std::equal(signature.begin(), signature.end(), fmt::picture_signature.begin()))
        record.fail("the picture record lacks its \"lt\" signature");
    std::uint32_t const file_size = record.u32("picture file size");
    if (file_size != length - fmt::picture_overhead)
        record.fail("picture file size " + std::to_string(file_size) + " disagrees with the record length");
    return decode_picture(record.take(file_size, "picture file"), record.defer_bitmap_pixels);
}

// The value of a property nothing reads: checked for shape, then dropped.
void unread_text(Cursor& c)
{
    (void)c.text("unread text");
}

void list_entries(Cursor& c, ListBox& list)
{
    std::uint16_t const count = c.u16("list entry count");
    if (count > 32767)
        c.fail("list of " + std::to_string(count) + " entries");
    if (c.u16("list format") != fmt::list_format)
        c.fail("unknown list format");
    for (std::uint16_t i = 0; i < count; ++i)
        list.add_entry(c.bytes_as_utf8(c.u16("list entry"), "list entry"));
}

// Each reader below applies one property of its kind and answers false for a
// code the kind does not know.
bool window_property(Cursor& c, std::uint8_t code, Form& form)
{
    namespace k = fmt::window_code;
    switch (code) {
    case k::caption:
        form.caption = c.text("caption");
        return true;
    case k::back_color:
        form.back_color = c.color("background colour");
        return true;
    case k::designer_tag:
        unread_text(c);
        return true;
    case k::border_style:
        form.border_style = c.choice("frame style", 5);
        return true;
    case k::icon:
        form.icon = picture(c);
        return true;
    case k::designer_link_topic:
        unread_text(c);
        return true;
    case k::max_button:
        form.max_button = c.flag("maximise button");
        return true;
    case k::min_button:
        form.min_button = c.flag("minimise button");
        return true;
    case k::client_area:
        form.client_area = client_area(c);
        return true;
    case k::font:
        form.font = font(c);
        return true;
    case k::start_position:
        (void)c.choice("start-up position", 3);
        return true;
    default:
        return false;
    }
}

void check_index(Cursor& c, Control const& control)
{
    if (c.number("element index") != control.index())
        c.fail("the element index property disagrees with the record's index");
}

bool text_box_property(Cursor& c, std::uint8_t code, TextBox& box)
{
    namespace k = fmt::text_box_code;
    switch (code) {
    case k::index:
        check_index(c, box);
        return true;
    case k::place:
        box.place = c.place("place");
        return true;
    case k::text:
        box.text = c.text("text");
        return true;
    case k::tab_index:
        box.tab_index = c.number("tab index");
        return true;
    case k::multi_line:
        box.multi_line = c.flag("multi-line");
        return true;
    case k::scroll_bars:
        box.scroll_bars = c.choice("scroll bars", 3);
        return true;
    case k::locked:
        box.locked = c.flag("read-only");
        return true;
    default:
        return false;
    }
}

bool picture_box_property(Cursor& c, std::uint8_t code, PictureBox& box)
{
    namespace k = fmt::picture_box_code;
    switch (code) {
    case k::index:
        check_index(c, box);
        return true;
    case k::picture:
        box.set_Picture(picture(c));
        return true;
    case k::place:
        box.place = c.place("place");
        return true;
    case k::visible:
        box.visible = c.flag("visible");
        return true;
    case k::tab_index:
        box.tab_index = c.number("tab index");
        return true;
    case k::designer_tag:
        unread_text(c);
        return true;
    case k::auto_size:
        box.auto_size = c.flag("size to picture");
        return true;
    case k::border_style:
        box.border = c.choice("frame style", 1) == 1;
        return true;
    default:
        return false;
    }
}

bool list_box_property(Cursor& c, std::uint8_t code, ListBox& list)
{
    namespace k = fmt::list_box_code;
    switch (code) {
    case k::index:
        check_index(c, list);
        return true;
    case k::place:
        list.place = c.place("place");
        return true;
    case k::tab_index:
        list.tab_index = c.number("tab index");
        return true;
    case k::entries:
        list_entries(c, list);
        return true;
    case k::item_data: {
        // One number per entry; nothing reads them, but their count must match.
        std::uint16_t const count = c.u16("entry number count");
        if (count != list.ListCount())
            c.fail(std::to_string(count) + " entry numbers for " + std::to_string(list.ListCount()) + " entries");
        (void)c.take(4u * count, "entry numbers");
        return true;
    }
    default:
        return false;
    }
}

bool label_property(Cursor& c, std::uint8_t code, Label& label)
{
    namespace k = fmt::label_code;
    switch (code) {
    case k::caption:
        label.set_Caption(c.text("caption"));
        return true;
    case k::index:
        check_index(c, label);
        return true;
    case k::back_color:
        label.back_color = c.color("background colour");
        return true;
    case k::place:
        label.place = c.place("place");
        return true;
    case k::tab_index:
        label.tab_index = c.number("tab index");
        return true;
    case k::alignment:
        label.centred = c.choice("alignment", 2) == 2;
        return true;
    default:
        return false;
    }
}

// The part of a record before its properties.
struct RecordHead {
    std::uint8_t array_number = 0;
    std::optional<std::int16_t> index;
    std::string name;
    std::uint8_t kind = 0;
};

// Splits the next record off the stream and reads its head; the returned
// cursor stands at the first property.
Cursor record(Cursor& c, RecordHead& head)
{
    std::uint32_t const size_field = c.u32("record size");
    bool const indexed = (size_field & fmt::index_flag) != 0;
    std::uint32_t const size = size_field & ~fmt::index_flag;
    // Size field, array number, index, name length, zero byte, kind, end marker.
    std::uint32_t const smallest = 4 + 1 + (indexed ? 2 : 0) + 2 + 1 + 1 + 1;
    if (size < smallest)
        c.fail("record size " + std::to_string(size) + " is too small");
    Cursor r = c.split(size - 4, "record", c.where());
    head.array_number = r.u8("control array number");
    if (indexed)
        head.index = r.number("element index");
    head.name = r.text("name");
    if (head.name.empty())
        r.fail("the record has no name");
    head.kind = r.u8("kind");
    return r;
}

// Reads properties in ascending code order up to the record's end marker,
// which must be its last byte.
template<typename Apply> void properties(Cursor& r, char const* kind, Apply apply)
{
    std::optional<std::uint8_t> last;
    for (;;) {
        std::uint8_t const code = r.u8("property code");
        if (code == fmt::end_of_record)
            break;
        if (last && code <= *last)
            r.fail("property " + hex(code) + " follows " + hex(*last) + " out of order");
        last = code;
        if (!apply(code))
            r.fail("unknown property code " + hex(code) + " for a " + kind);
    }
    if (!r.at_end())
        r.fail(std::to_string(r.remaining()) + " bytes after the record's end marker");
}

// Keeps the elements of the stream apart: one name per array number, one
// kind per array, each element once.
class ElementRegistry {
public:
    void add(Cursor const& c, RecordHead const& head)
    {
        auto [named, fresh] = m_names.emplace(head.array_number, head.name);
        if (!fresh && named->second != head.name)
            c.fail("control array " + std::to_string(head.array_number) + " is named both " + named->second + " and "
                + head.name);
        auto [kind, new_array] = m_kinds.emplace(head.name, head.kind);
        if (!new_array && kind->second != head.kind)
            c.fail("control array " + head.name + " holds elements of two kinds");
        if (!m_elements.emplace(head.name, *head.index).second)
            c.fail("element " + head.name + "(" + std::to_string(*head.index) + ") is stored twice");
    }

private:
    std::map<std::uint8_t, std::string> m_names;
    std::map<std::string, std::uint8_t> m_kinds;
    std::set<std::pair<std::string, std::int16_t>> m_elements;
};

void read_element(Cursor& c, Form& form, ElementRegistry& registry, std::size_t number)
{
    c.set_where("element record " + std::to_string(number));
    RecordHead head;
    Cursor r = record(c, head);
    if (head.array_number == fmt::window_array_number)
        r.fail("an element record carries the window's array number");
    if (!head.index)
        r.fail("an element record lacks its element index");
    registry.add(r, head);
    r.set_where(head.name + "(" + std::to_string(*head.index) + ") record");

    switch (static_cast<fmt::StoredKind>(head.kind)) {
    case fmt::StoredKind::TextBox: {
        auto& box = form.add<TextBox>(head.name, *head.index);
        properties(r, "text box", [&](std::uint8_t code) { return text_box_property(r, code, box); });
        break;
    }
    case fmt::StoredKind::PictureBox: {
        auto& box = form.add<PictureBox>(head.name, *head.index);
        properties(r, "picture box", [&](std::uint8_t code) { return picture_box_property(r, code, box); });
        break;
    }
    case fmt::StoredKind::ListBox: {
        auto& list = form.add<ListBox>(head.name, *head.index);
        properties(r, "list box", [&](std::uint8_t code) { return list_box_property(r, code, list); });
        break;
    }
    case fmt::StoredKind::Label: {
        auto& label = form.add<Label>(head.name, *head.index);
        properties(r, "label", [&](std::uint8_t code) { return label_property(r, code, label); });
        break;
    }
    default:
        r.fail("unknown element kind " + std::to_string(head.kind));
    }
}

void read_header(Cursor& c)
{
    auto const magic = c.take(fmt::magic.size(), "signature");
    if (!std::equal(magic.begin(), magic.end(), fmt::magic.begin()))
        c.fail("not a window description");
    if (c.u8("format version") != fmt::version)
        c.fail("unknown format version");
    (void)c.take(2 * fmt::identifier_size, "identifiers");
    auto const class_id = c.take(fmt::identifier_size, "class identifier");
    if (!std::equal(class_id.begin(), class_id.end(), fmt::window_class_id.begin()))
        c.fail("the description is not of a window");
    for (std::uint8_t b : c.take(fmt::reserved_size, "reserved bytes"))
        if (b != 0)
            c.fail("reserved bytes are not zero");
    std::size_t const rest = c.remaining();
    std::uint32_t const count = c.u32("byte count");
    if (count != rest)
        c.fail("the byte count before this byte says " + std::to_string(count) + " but the stream holds "
            + std::to_string(rest));
}

} // namespace

std::unique_ptr<Form> read_form(std::span<std::uint8_t const> stream, bool defer_bitmap_pixels)
{
    Cursor c(stream, 0, "window description header");
    c.defer_bitmap_pixels = defer_bitmap_pixels;
    read_header(c);

    c.set_where("window record");
    RecordHead head;
    Cursor r = record(c, head);
    if (head.array_number != fmt::window_array_number || head.index
        || head.kind != static_cast<std::uint8_t>(fmt::StoredKind::Window))
        r.fail("the first record is not the window's");
    auto form = std::make_unique<Form>(head.name);
    properties(r, "window", [&](std::uint8_t code) { return window_property(r, code, *form); });

    c.set_where("after the window record");
    std::uint8_t marker = c.u8("marker");
    if (marker == fmt::elements_follow) {
        ElementRegistry registry;
        std::size_t number = 1;
        do {
            read_element(c, *form, registry, number++);
            c.set_where("after element record " + std::to_string(number - 1));
            marker = c.u8("marker");
            if (marker != fmt::another_element && marker != fmt::last_element)
                c.fail("marker " + hex(marker) + " where 0x03 or 0x02 belongs");
        } while (marker == fmt::another_element);
    } else if (marker != fmt::last_element) {
        c.fail("marker " + hex(marker) + " where 0x01 or 0x02 belongs");
    }
    if (c.u8("end marker") != fmt::end_of_stream)
        c.fail("the description lacks its end marker 0x04");
    if (!c.at_end())
        c.fail(std::to_string(c.remaining()) + " bytes after the end marker");
    return form;
}

} // namespace platform
