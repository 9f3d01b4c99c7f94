// tavrel_deflate <module.wasm> <description> <out> <late-out>
// tavrel_deflate --script <program.js> <out>
//
// Writes to <out> and <late-out> the data blocks of the page: the WebAssembly module and
// the window description, each deflated (raw deflate, for the browser's own
// DecompressionStream("deflate-raw") to unpack) and in base64, as script
// elements that never run.
//
// The description leaves the module: its bytes are cut out of the module's
// data segments, and the page writes them into the same place in memory
// before main runs, so the module stays small and compiles while the
// description unpacks. The pixel arrays of its bitmaps are carried apart,
// each on its own ("late"): the window's first frame shows few of them, and
// the page unpacks the others after it. The program's script is deflated too,
// a third of its size: the page is that much quicker to load.
#include "base64.h"
#include "platform/form_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::string;

Bytes deflate_raw(Bytes const& in)
{
    z_stream z {};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("zlib cannot deflate");
    std::vector<unsigned char> out(deflateBound(&z, in.size()));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    int const status = deflate(&z, Z_FINISH);
    deflateEnd(&z);
    if (status != Z_STREAM_END)
        throw std::runtime_error("zlib cannot deflate");
    return { out.begin(), out.begin() + static_cast<std::ptrdiff_t>(z.total_out) };
}

// Reads a module's LEB128 numbers, and fails on a module cut short.
struct Reader {
    Bytes const& b;
    std::size_t at;

    std::uint8_t byte()
    {
        if (at >= b.size())
            throw std::runtime_error("the module is cut short");
        return static_cast<std::uint8_t>(b[at++]);
    }
    std::uint64_t uleb()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t const c = byte();
            value |= std::uint64_t { c & 0x7Fu } << shift;
            if (c < 0x80)
                return value;
        }
        throw std::runtime_error("a number in the module is too long");
    }
    std::int64_t sleb()
    {
        std::int64_t value = 0;
        int shift = 0;
        std::uint8_t c;
        do {
            c = byte();
            value |= std::int64_t { c & 0x7F } << shift;
            shift += 7;
        } while (c >= 0x80 && shift < 64);
        if (shift < 64 && (c & 0x40))
            value -= std::int64_t { 1 } << shift;
        return value;
    }
};

Bytes uleb(std::uint64_t v)
{
    Bytes out;
    do {
        std::uint8_t c = v & 0x7F;
        v >>= 7;
        out += static_cast<char>(v ? c | 0x80 : c);
    } while (v);
    return out;
}

Bytes sleb(std::int64_t v)
{
    Bytes out;
    for (;;) {
        std::uint8_t const c = v & 0x7F;
        v >>= 7;
        bool const done = (v == 0 && !(c & 0x40)) || (v == -1 && (c & 0x40));
        out += static_cast<char>(done ? c : c | 0x80);
        if (done)
            return out;
    }
}

constexpr std::uint8_t data_section = 11;
constexpr std::uint8_t data_count_section = 12;

struct Segment {
    std::int64_t at;
    Bytes bytes;
};

// The module with the description cut out of its active data segments; where
// it lay, memory stays zero until the page writes it. `at` gets its address.
Bytes without_description(Bytes const& module, Bytes const& description, std::int64_t& at)
{
    if (module.compare(0, 8, Bytes("\0asm\1\0\0\0", 8)) != 0)
        throw std::runtime_error("not a WebAssembly module");
    std::vector<std::pair<std::uint8_t, Bytes>> sections;
    bool found = false;
    std::size_t segment_count = 0;
    Reader r { module, 8 };
    while (r.at < module.size()) {
        std::uint8_t const id = r.byte();
        std::uint64_t const size = r.uleb();
        if (size > module.size() - r.at)
            throw std::runtime_error("a section runs past the module's end");
        std::size_t const end = r.at + size;
        sections.emplace_back(id, module.substr(r.at, size));
        if (id != data_section) {
            r.at = end;
            continue;
        }
        std::vector<Segment> segments;
        for (std::uint64_t n = r.uleb(); n > 0; --n) {
            if (r.uleb() != 0 || r.byte() != 0x41)
                throw std::runtime_error("a data segment not at a constant address");
            std::int64_t const offset = r.sleb();
            if (r.byte() != 0x0B || offset < 0)
                throw std::runtime_error("a data segment's address is no plain constant");
            std::uint64_t const length = r.uleb();
            if (length > end - r.at)
                throw std::runtime_error("a data segment runs past its section");
            segments.push_back({ offset, module.substr(r.at, length) });
            r.at += length;
        }
        // The optimiser leaves runs of zeros out of the segments, so the
        // description is sought in the memory they fill, and cut out of each.
        Bytes memory;
        for (Segment const& s : segments) {
            std::size_t const from = static_cast<std::size_t>(s.at);
            memory.resize(std::max(memory.size(), from + s.bytes.size()));
            memory.replace(from, s.bytes.size(), s.bytes);
        }
        std::size_t const p = memory.find(description);
        r.at = end;
        if (p == Bytes::npos)
            continue;
        found = true;
        at = static_cast<std::int64_t>(p);
        std::int64_t const cut_end = at + static_cast<std::int64_t>(description.size());
        std::vector<Segment> kept;
        for (Segment const& s : segments) {
            std::int64_t const s_end = s.at + static_cast<std::int64_t>(s.bytes.size());
            if (s.at < at)
                kept.push_back({ s.at, s.bytes.substr(0, static_cast<std::size_t>(std::min(s_end, at) - s.at)) });
            if (s_end > cut_end)
                kept.push_back({ std::max(s.at, cut_end),
                    s.bytes.substr(static_cast<std::size_t>(std::max(s.at, cut_end) - s.at)) });
        }
        Bytes& body = sections.back().second;
        body = uleb(kept.size());
        for (Segment const& s : kept)
            body += Bytes("\0\x41", 2) + sleb(s.at) + '\x0B' + uleb(s.bytes.size()) + s.bytes;
        segment_count = kept.size();
    }
    if (!found)
        throw std::runtime_error("the description is not among the module's data");
    Bytes out = module.substr(0, 8);
    for (auto const& [id, body] : sections) {
        Bytes const content = id == data_count_section ? uleb(segment_count) : body;
        out += static_cast<char>(id) + uleb(content.size()) + content;
    }
    return out;
}

// The pixel arrays of the description's bitmaps, as offset and length: each
// picture property holds the picture signature, the file's size and a BMP
// file ("BM", its size again, ..., the pixels' offset). Anything else stays in
// the first part.
std::vector<std::pair<std::size_t, std::size_t>> pixel_arrays(Bytes const& d)
{
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at]))
            | static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 1])) << 8
            | static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 2])) << 16
            | static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 3])) << 24;
    };
    std::vector<std::pair<std::size_t, std::size_t>> arrays;
    namespace fmt = platform::form_format;
    Bytes const signature(fmt::picture_signature.begin(), fmt::picture_signature.end());
    for (std::size_t at = d.find(signature); at != Bytes::npos && at + fmt::picture_overhead + 14 <= d.size();
         at = d.find(signature, at + 1)) {
        std::size_t const file = at + fmt::picture_overhead;
        std::uint32_t const size = u32(at + 4);
        if (d.compare(file, 2, "BM") != 0 || size > d.size() - file || u32(file + 2) != size)
            continue;
        std::uint32_t const pixels = u32(file + 10);
        if (pixels < 54 || pixels >= size)
            continue;
        arrays.emplace_back(file + pixels, size - pixels);
        at = file + size - 1;
    }
    return arrays;
}

Bytes read_file(char const* path)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    if (!in && !in.eof())
        throw std::runtime_error(std::string("cannot read ") + path);
    if (bytes.empty())
        throw std::runtime_error(std::string(path) + " is empty");
    return bytes;
}

Bytes block(Bytes const& attributes, Bytes const& bytes)
{
    return "<script type=\"application/octet-stream\"" + attributes + ">" + tools::base64(deflate_raw(bytes))
        + "</script>\n";
}

// The program's script as a block of its own, which the page unpacks and runs.
int script_block(char const* in, char const* out_path)
{
    try {
        std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
        out << block(" id=\"tavrel-program\"", read_file(in));
        if (!out.flush())
            throw std::runtime_error(std::string("cannot write ") + out_path);
    } catch (std::exception const& e) {
        std::fprintf(stderr, "tavrel_deflate: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--script")
        return script_block(argv[2], argv[3]);
    if (argc != 5) {
        std::fputs("usage: tavrel_deflate <module.wasm> <description> <out> <late-out>\n"
                   "       tavrel_deflate --script <program.js> <out>\n",
            stderr);
        return 2;
    }
    try {
        Bytes const description = read_file(argv[2]);
        std::int64_t at = 0;
        Bytes const module = without_description(read_file(argv[1]), description, at);
        auto const late = pixel_arrays(description);
        Bytes first;
        Bytes late_list;
        Bytes late_blocks;
        std::size_t from = 0;
        for (auto const& [offset, length] : late) {
            first += description.substr(from, offset - from);
            late_list += std::to_string(offset) + ' ' + std::to_string(length) + ' ';
            late_blocks += block(" class=\"tavrel-late\"", description.substr(offset, length));
            from = offset + length;
        }
        first += description.substr(from);
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        std::ofstream late_out(argv[4], std::ios::binary | std::ios::trunc);
        late_out << late_blocks;
        out << block(" id=\"tavrel-module\"", module)
            << block(" id=\"tavrel-description\" data-at=\"" + std::to_string(at) + "\" data-size=\""
                       + std::to_string(description.size()) + "\" data-late=\"" + late_list + "\"",
                   first);
        if (!out.flush() || !late_out.flush())
            throw std::runtime_error(std::string("cannot write ") + argv[3]);
    } catch (std::exception const& e) {
        std::fprintf(stderr, "tavrel_deflate: %s\n", e.what());
        return 1;
    }
    return 0;
}
