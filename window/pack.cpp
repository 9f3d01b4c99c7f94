#include "pack.h"

#include "platform/cp1251.h"
#include "platform/form_format.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace window {

namespace fmt = platform::form_format;

namespace {

[[noreturn]] void fail(std::string const& where, std::string const& what)
{
    throw PackError(where + ": " + what);
}

void put_guid(assets::ByteWriter& out, Guid const& id)
{
    out.u32(id.data1);
    out.u16(id.data2);
    out.u16(id.data3);
    out.bytes(id.data4);
}

std::string encode(std::string_view utf8, std::string const& where)
{
    auto bytes = platform::cp1251::from_utf8(utf8);
    if (!bytes)
        fail(where, "the text is not UTF-8 or holds a character outside Windows-1251");
    return *bytes;
}

std::uint16_t length16(std::size_t size, std::string const& where)
{
    if (size > std::numeric_limits<std::uint16_t>::max())
        fail(where, "longer than 65535 bytes");
    return static_cast<std::uint16_t>(size);
}

// One record: the size is patched in when it is finished, and every property
// must come after the one before it in code order.
class Record {
public:
    Record(assets::ByteWriter& out, std::string where, std::uint8_t array_number, std::optional<std::int16_t> index,
        std::string_view name, fmt::StoredKind kind)
        : m_out(out)
        , m_where(std::move(where))
        , m_start(out.size())
        , m_indexed(index.has_value())
    {
        m_out.u32(0);
        m_out.u8(array_number);
        if (index)
            m_out.u16(static_cast<std::uint16_t>(*index));
        std::string const bytes = encode(name, m_where + " name");
        m_out.u16(length16(bytes.size(), m_where + " name"));
        m_out.bytes(bytes);
        m_out.u8(0);
        m_out.u8(static_cast<std::uint8_t>(kind));
    }

    void text(std::uint8_t code, std::string_view utf8)
    {
        std::string const bytes = encode(utf8, where(code));
        start(code);
        m_out.u16(length16(bytes.size(), where(code)));
        m_out.bytes(bytes);
        m_out.u8(0);
    }
    void flag(std::uint8_t code, bool on)
    {
        start(code);
        m_out.u8(on ? fmt::flag_on : fmt::flag_off);
    }
    void choice(std::uint8_t code, std::uint8_t value)
    {
        start(code);
        m_out.u8(value);
    }
    void number(std::uint8_t code, std::int16_t value)
    {
        if (value < 0)
            fail(where(code), "negative");
        start(code);
        m_out.u16(static_cast<std::uint16_t>(value));
    }
    void color(std::uint8_t code, Color rgb)
    {
        if (rgb > 0xFFFFFF)
            fail(where(code), "not a 0xRRGGBB colour");
        start(code);
        // Red in the lowest byte, then green, then blue.
        m_out.u32(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }
    void place(std::uint8_t code, Place const& p)
    {
        if (p.width < 0 || p.height < 0)
            fail(where(code), "negative size");
        start(code);
        for (std::int16_t v : { p.left, p.top, p.width, p.height })
            m_out.u16(static_cast<std::uint16_t>(v));
    }
    void area(std::uint8_t code, ClientArea const& a)
    {
        if (a.width < 0 || a.height < 0)
            fail(where(code), "negative size");
        start(code);
        for (std::int32_t v : { a.left, a.top, a.width, a.height })
            m_out.u32(static_cast<std::uint32_t>(v));
    }
    void font(std::uint8_t code, Font const& f)
    {
        std::string const name = encode(f.name, where(code));
        if (name.empty() || name.size() > 255)
            fail(where(code), "the font name must have 1 to 255 bytes");
        if (f.style > 15 || f.size_points_x10000 == 0)
            fail(where(code), "bad style or size");
        start(code);
        m_out.u8(fmt::font_version);
        m_out.u16(f.charset);
        m_out.u8(f.style);
        m_out.u16(f.weight);
        m_out.u32(f.size_points_x10000);
        m_out.u8(static_cast<std::uint8_t>(name.size()));
        m_out.bytes(name);
    }
    void entries(std::uint8_t code, std::span<std::string_view const> list)
    {
        std::uint16_t const count = length16(list.size(), where(code));
        start(code);
        m_out.u16(count);
        m_out.u16(fmt::list_format);
        for (auto entry : list) {
            std::string const bytes = encode(entry, where(code));
            m_out.u16(length16(bytes.size(), where(code)));
            m_out.bytes(bytes);
        }
    }
    // One 32-bit number per list entry, all zero: nothing reads them.
    void item_data(std::uint8_t code, std::size_t count)
    {
        start(code);
        m_out.u16(length16(count, where(code)));
        for (std::size_t i = 0; i < count; ++i)
            m_out.u32(0);
    }
    void picture(std::uint8_t code, std::vector<std::uint8_t> const& file)
    {
        if (file.empty())
            return; // FIXME: a missing picture file is left out silently and the box starts empty.
        check_order(code);
        append_picture_record(m_out, code, file);
    }

    void finish()
    {
        m_out.u8(fmt::end_of_record);
        std::size_t const size = m_out.size() - m_start;
        if (size >= fmt::index_flag)
            fail(m_where, "record too long");
        m_out.patch_u32(m_start, static_cast<std::uint32_t>(size) | (m_indexed ? fmt::index_flag : 0));
    }

private:
    std::string where(std::uint8_t code) const { return m_where + " property " + std::to_string(code); }

    void check_order(std::uint8_t code)
    {
        if (m_last_code && code <= *m_last_code)
            fail(where(code), "properties out of code order");
        m_last_code = code;
    }
    void start(std::uint8_t code)
    {
        check_order(code);
        m_out.u8(code);
    }

    assets::ByteWriter& m_out;
    std::string m_where;
    std::size_t m_start;
    bool m_indexed;
    std::optional<std::uint8_t> m_last_code;
};

std::string element_name(Element const& e)
{
    return std::string(e.array) + "(" + std::to_string(e.index) + ")";
}

std::vector<std::uint8_t> const& road_picture_file(PictureFiles const& files, int road, std::string const& where)
{
    if (road < 0 || road >= road_picture_count)
        fail(where, "no road picture " + std::to_string(road));
    return files.road_pictures[static_cast<std::size_t>(road)];
}

void pack_window(assets::ByteWriter& out, Window const& w, PictureFiles const& pictures)
{
    namespace c = fmt::window_code;
    Record r(
        out, "window " + std::string(w.name), fmt::window_array_number, std::nullopt, w.name, fmt::StoredKind::Window);
    r.text(c::caption, w.caption);
    r.color(c::back_color, w.back_color);
    r.text(c::designer_tag, w.designer_tag);
    r.choice(c::border_style, static_cast<std::uint8_t>(w.border_style));
    if (w.has_icon)
        r.picture(c::icon, pictures.icon);
    r.text(c::designer_link_topic, w.designer_link_topic);
    r.flag(c::max_button, w.max_button);
    r.flag(c::min_button, w.min_button);
    r.area(c::client_area, w.client_area);
    r.font(c::font, w.font);
    r.choice(c::start_position, w.designer_start_position);
    r.finish();
}

// The properties of one element, in code order for its kind.
struct ElementPacker {
    Record& r;
    Element const& e;
    PictureFiles const& pictures;
    std::string where;

    void operator()(TextBoxSettings const& s) const
    {
        namespace c = fmt::text_box_code;
        r.number(c::index, e.index);
        r.place(c::place, e.place);
        r.text(c::text, s.text);
        r.number(c::tab_index, e.tab_index);
        r.flag(c::multi_line, s.multi_line);
        r.choice(c::scroll_bars, static_cast<std::uint8_t>(s.scroll_bars));
        r.flag(c::locked, s.locked);
    }
    void operator()(PictureBoxSettings const& s) const
    {
        namespace c = fmt::picture_box_code;
        r.number(c::index, e.index);
        if (s.road_picture != no_picture)
            r.picture(c::picture, road_picture_file(pictures, s.road_picture, where));
        r.place(c::place, e.place);
        if (!e.visible)
            r.flag(c::visible, false);
        r.number(c::tab_index, e.tab_index);
        if (!s.designer_tag.empty())
            r.text(c::designer_tag, s.designer_tag);
        if (s.auto_size)
            r.flag(c::auto_size, true);
        if (!s.border)
            r.choice(c::border_style, 0);
    }
    void operator()(ListBoxSettings const& s) const
    {
        namespace c = fmt::list_box_code;
        r.number(c::index, e.index);
        r.place(c::place, e.place);
        r.number(c::tab_index, e.tab_index);
        r.entries(c::entries, s.entries);
        r.item_data(c::item_data, s.entries.size());
    }
    void operator()(LabelSettings const& s) const
    {
        namespace c = fmt::label_code;
        r.text(c::caption, s.caption);
        r.number(c::index, e.index);
        r.color(c::back_color, s.back_color);
        r.place(c::place, e.place);
        r.number(c::tab_index, e.tab_index);
        r.choice(c::alignment, static_cast<std::uint8_t>(s.alignment));
    }
};

fmt::StoredKind stored_kind(Settings const& settings)
{
    constexpr fmt::StoredKind kinds[]
        = { fmt::StoredKind::TextBox, fmt::StoredKind::PictureBox, fmt::StoredKind::ListBox, fmt::StoredKind::Label };
    return kinds[settings.index()];
}

std::uint8_t array_number(Window const& w, Element const& e, std::string const& where)
{
    auto found
        = std::find_if(w.arrays.begin(), w.arrays.end(), [&](ControlArray const& a) { return a.name == e.array; });
    if (found == w.arrays.end())
        fail(where, "no control array " + std::string(e.array));
    return found->number;
}

void check_arrays(Window const& w)
{
    std::set<std::uint8_t> numbers;
    std::set<std::string_view> names;
    for (auto const& a : w.arrays) {
        if (a.number == fmt::window_array_number || !numbers.insert(a.number).second || !names.insert(a.name).second)
            fail("control array " + std::string(a.name), "its number or name is taken");
    }
}

void check_element(Window const& w, Element const& e, std::string const& where)
{
    if (e.index < 0)
        fail(where, "negative element index");
    if (!e.visible && !std::holds_alternative<PictureBoxSettings>(e.settings))
        fail(where, "only a picture box can be stored hidden");
    for (auto const& other : w.elements) {
        if (&other == &e)
            break;
        if (other.array == e.array && other.index == e.index)
            fail(where, "the element exists twice");
        if (other.array == e.array && other.settings.index() != e.settings.index())
            fail(where, "a control array holds elements of one kind only");
        if (other.tab_index == e.tab_index)
            fail(where, "tab index " + std::to_string(e.tab_index) + " is taken by " + element_name(other));
    }
}

} // namespace

void append_picture_record(assets::ByteWriter& out, std::uint8_t code, std::span<std::uint8_t const> file)
{
    if (file.size() > std::numeric_limits<std::uint32_t>::max() - fmt::picture_overhead)
        throw PackError("picture file too large");
    auto const size = static_cast<std::uint32_t>(file.size());
    out.u8(code);
    out.u32(size + fmt::picture_overhead);
    out.bytes(fmt::picture_signature);
    out.u32(size);
    out.bytes(file);
}

std::vector<std::uint8_t> pack(Window const& window, PictureFiles const& pictures)
{
    check_arrays(window);
    assets::ByteWriter out;
    out.bytes(fmt::magic);
    out.u8(fmt::version);
    put_guid(out, window.object_id);
    put_guid(out, window.project_id);
    out.bytes(fmt::window_class_id);
    out.zeros(fmt::reserved_size);
    std::size_t const count_at = out.size();
    out.u32(0);

    pack_window(out, window, pictures);
    out.u8(window.elements.empty() ? fmt::last_element : fmt::elements_follow);
    for (std::size_t i = 0; i < window.elements.size(); ++i) {
        Element const& e = window.elements[i];
        std::string const where = element_name(e);
        check_element(window, e, where);
        Record r(out, where, array_number(window, e, where), e.index, e.array, stored_kind(e.settings));
        std::visit(ElementPacker { r, e, pictures, where }, e.settings);
        r.finish();
        out.u8(i + 1 < window.elements.size() ? fmt::another_element : fmt::last_element);
    }
    out.u8(fmt::end_of_stream);

    std::size_t const counted = out.size() - count_at;
    if (counted > std::numeric_limits<std::uint32_t>::max())
        throw PackError("window description too large");
    out.patch_u32(count_at, static_cast<std::uint32_t>(counted));
    return out.take();
}

} // namespace window
