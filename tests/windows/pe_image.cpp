#include "pe_image.h"

#include <fstream>
#include <iterator>

namespace pe {

namespace {

class Bytes {
public:
    explicit Bytes(std::span<std::uint8_t const> bytes)
        : m_bytes(bytes)
    { }

    std::size_t size() const { return m_bytes.size(); }
    std::uint16_t u16(std::size_t at) const
    {
        need(at, 2);
        return static_cast<std::uint16_t>(m_bytes[at] | m_bytes[at + 1] << 8);
    }
    std::uint32_t u32(std::size_t at) const { return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16; }
    std::uint64_t u64(std::size_t at) const { return u32(at) | static_cast<std::uint64_t>(u32(at + 4)) << 32; }
    std::span<std::uint8_t const> slice(std::size_t at, std::size_t count) const
    {
        need(at, count);
        return m_bytes.subspan(at, count);
    }
    std::string c_string(std::size_t at) const
    {
        std::string text;
        for (need(at, 1); m_bytes[at] != 0; need(++at, 1))
            text += static_cast<char>(m_bytes[at]);
        return text;
    }

private:
    void need(std::size_t at, std::size_t count) const
    {
        if (at > m_bytes.size() || count > m_bytes.size() - at)
            throw FormatError("offset " + std::to_string(at) + " lies outside the file");
    }

    std::span<std::uint8_t const> m_bytes;
};

struct Section {
    std::uint32_t address;
    std::uint32_t virtual_size;
    std::uint32_t raw_size;
    std::uint32_t raw_offset;
};

class Layout {
public:
    std::vector<Section> sections;

    std::size_t offset(std::uint32_t rva) const
    {
        for (Section const& s : sections)
            if (rva >= s.address && rva - s.address < s.raw_size)
                return s.raw_offset + (rva - s.address);
        throw FormatError("address " + std::to_string(rva) + " is in no section");
    }
};

constexpr std::size_t max_entries = 100000;

std::vector<Import> read_imports(Bytes const& file, Layout const& layout, std::uint32_t rva, bool wide)
{
    std::vector<Import> imports;
    if (rva == 0)
        return imports;
    std::size_t const table = layout.offset(rva);
    for (std::size_t d = 0; d < max_entries; ++d) {
        std::size_t const entry = table + d * 20;
        std::uint32_t const lookup = file.u32(entry);
        std::uint32_t const name = file.u32(entry + 12);
        std::uint32_t const thunks = file.u32(entry + 16);
        if (name == 0 && thunks == 0)
            return imports;
        Import import { file.c_string(layout.offset(name)), {} };
        std::size_t const first = layout.offset(lookup ? lookup : thunks);
        std::size_t const step = wide ? 8 : 4;
        for (std::size_t t = 0; t < max_entries; ++t) {
            std::uint64_t const thunk = wide ? file.u64(first + t * step) : file.u32(first + t * step);
            if (thunk == 0)
                break;
            bool const by_ordinal = wide ? (thunk >> 63) != 0 : (thunk >> 31) != 0;
            if (by_ordinal)
                import.functions.push_back("#" + std::to_string(thunk & 0xFFFF));
            else
                import.functions.push_back(file.c_string(layout.offset(static_cast<std::uint32_t>(thunk)) + 2));
        }
        imports.push_back(std::move(import));
    }
    throw FormatError("the import table does not end");
}

// Walks type, id and language levels of the resource tree.
void read_resources(Bytes const& file, Layout const& layout, std::size_t root, std::size_t directory, int level,
    Resource path, std::vector<Resource>& out)
{
    if (level > 2)
        throw FormatError("the resource tree is deeper than three levels");
    std::size_t const count = std::size_t { file.u16(directory + 12) } + file.u16(directory + 14);
    if (count > max_entries)
        throw FormatError("too many resource entries");
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t const entry = directory + 16 + i * 8;
        std::uint32_t const name = file.u32(entry);
        std::uint32_t const target = file.u32(entry + 4);
        std::int32_t const id = (name >> 31) ? -1 : static_cast<std::int32_t>(name);
        Resource here = path;
        (level == 0 ? here.type : level == 1 ? here.id : here.language) = id;
        if (target >> 31) {
            read_resources(file, layout, root, root + (target & 0x7FFFFFFF), level + 1, here, out);
        } else {
            if (level != 2)
                throw FormatError("a resource leaf above the language level");
            std::size_t const leaf = root + target;
            auto const data = file.slice(layout.offset(file.u32(leaf)), file.u32(leaf + 4));
            here.data.assign(data.begin(), data.end());
            out.push_back(std::move(here));
        }
    }
}

// UTF-16 code units to UTF-8; unpaired surrogates are refused.
std::string utf8(Bytes const& bytes, std::size_t at, std::size_t units)
{
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t c = bytes.u16(at + 2 * i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            std::uint32_t const low = bytes.u16(at + 2 * ++i);
            if (low < 0xDC00 || low > 0xDFFF)
                throw FormatError("broken UTF-16 pair");
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            throw FormatError("unpaired UTF-16 surrogate");
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// One node of the version tree: length, value length, type, key, value and
// children, each part aligned to 32 bits from the start of the resource.
struct Node {
    std::string key;
    std::size_t value = 0;
    std::size_t value_bytes = 0;
    bool text = false;
    std::vector<Node> children;
};

std::size_t align4(std::size_t at)
{
    return (at + 3) & ~std::size_t { 3 };
}

Node read_node(Bytes const& bytes, std::size_t at, std::size_t end, int depth)
{
    if (depth > 4)
        throw FormatError("the version tree is too deep");
    std::size_t const length = bytes.u16(at);
    if (length < 6 || length > end - at)
        throw FormatError("a version node overruns its parent");
    std::size_t const node_end = at + length;
    Node node;
    node.text = bytes.u16(at + 4) == 1;
    std::size_t units = 0;
    while (bytes.u16(at + 6 + 2 * units) != 0)
        if (6 + 2 * ++units >= length)
            throw FormatError("a version key does not end");
    node.key = utf8(bytes, at + 6, units);
    node.value = align4(at + 6 + 2 * (units + 1));
    node.value_bytes = std::size_t { bytes.u16(at + 2) } * (node.text ? 2 : 1);
    if (node.value > node_end || node.value_bytes > node_end - node.value)
        throw FormatError("a version value overruns its node");
    for (std::size_t child = align4(node.value + node.value_bytes); child < node_end;
         child = align4(child + bytes.u16(child)))
        node.children.push_back(read_node(bytes, child, node_end, depth + 1));
    return node;
}

} // namespace

std::vector<Resource const*> Image::find(std::int32_t type, std::int32_t id) const
{
    std::vector<Resource const*> found;
    for (Resource const& r : resources)
        if (r.type == type && r.id == id)
            found.push_back(&r);
    return found;
}

std::vector<std::uint8_t> read_file(std::filesystem::path const& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

Image read_image(std::filesystem::path const& path)
{
    std::vector<std::uint8_t> const bytes = read_file(path);
    return read_image(bytes);
}

Image read_image(std::span<std::uint8_t const> bytes)
{
    Bytes const file(bytes);
    if (file.u16(0) != 0x5A4D)
        throw FormatError("no MZ header");
    std::size_t const pe = file.u32(0x3C);
    if (file.u32(pe) != 0x00004550)
        throw FormatError("no PE signature");
    Image image;
    image.machine = file.u16(pe + 4);
    std::size_t const section_count = file.u16(pe + 6);
    std::size_t const optional = pe + 24;
    std::size_t const optional_size = file.u16(pe + 20);
    image.magic = file.u16(optional);
    bool const wide = image.magic == 0x20B;
    if (!wide && image.magic != 0x10B)
        throw FormatError("unknown optional header");
    image.major_os_version = file.u16(optional + 40);
    image.minor_os_version = file.u16(optional + 42);
    image.major_subsystem_version = file.u16(optional + 48);
    image.minor_subsystem_version = file.u16(optional + 50);
    image.subsystem = file.u16(optional + 68);
    image.dll_characteristics = file.u16(optional + 70);
    std::size_t const directories = optional + (wide ? 112 : 96);
    std::uint32_t const directory_count = file.u32(directories - 4);
    auto directory = [&](std::uint32_t index) -> std::uint32_t {
        return index < directory_count ? file.u32(directories + index * 8) : 0;
    };

    Layout layout;
    for (std::size_t i = 0; i < section_count; ++i) {
        std::size_t const header = optional + optional_size + i * 40;
        layout.sections.push_back(
            { file.u32(header + 12), file.u32(header + 8), file.u32(header + 16), file.u32(header + 20) });
    }
    image.imports = read_imports(file, layout, directory(1), wide);
    if (std::uint32_t const resources = directory(2)) {
        std::size_t const root = layout.offset(resources);
        read_resources(file, layout, root, root, 0, {}, image.resources);
    }
    image.relocations_size = 5 < directory_count ? file.u32(directories + 5 * 8 + 4) : 0;
    return image;
}

VersionInfo read_version(std::span<std::uint8_t const> resource)
{
    Bytes const bytes(resource);
    Node const root = read_node(bytes, 0, bytes.size(), 0);
    if (root.key != "VS_VERSION_INFO" || root.value_bytes < 52)
        throw FormatError("not a version resource");
    VersionInfo info;
    std::size_t const fixed = root.value;
    info.signature = bytes.u32(fixed);
    info.file_version = std::uint64_t { bytes.u32(fixed + 8) } << 32 | bytes.u32(fixed + 12);
    info.product_version = std::uint64_t { bytes.u32(fixed + 16) } << 32 | bytes.u32(fixed + 20);
    info.file_flags_mask = bytes.u32(fixed + 24);
    info.file_flags = bytes.u32(fixed + 28);
    info.file_os = bytes.u32(fixed + 32);
    info.file_type = bytes.u32(fixed + 36);
    info.file_subtype = bytes.u32(fixed + 40);
    for (Node const& part : root.children) {
        if (part.key == "StringFileInfo") {
            for (Node const& table : part.children)
                for (Node const& entry : table.children) {
                    std::string value = utf8(bytes, entry.value, entry.value_bytes / 2);
                    while (!value.empty() && value.back() == '\0')
                        value.pop_back();
                    info.strings[table.key][entry.key] = value;
                }
        } else if (part.key == "VarFileInfo") {
            for (Node const& var : part.children)
                if (var.key == "Translation")
                    for (std::size_t i = 0; i + 4 <= var.value_bytes; i += 4)
                        info.translations.push_back(bytes.u32(var.value + i));
        }
    }
    return info;
}

} // namespace pe
