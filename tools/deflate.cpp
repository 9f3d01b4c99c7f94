// tavrel_deflate <in> <out>
//
// Writes <in> deflated (raw deflate, no zlib or gzip wrapper) and in base64
// to <out>: the form in which the page carries its WebAssembly module, for the
// browser's own DecompressionStream("deflate-raw") to unpack.
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string deflate_raw(std::string const& in)
{
    z_stream z {};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::vector<unsigned char> out(deflateBound(&z, in.size()));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    int const status = deflate(&z, Z_FINISH);
    deflateEnd(&z);
    if (status != Z_STREAM_END)
        return {};
    return { out.begin(), out.begin() + static_cast<std::ptrdiff_t>(z.total_out) };
}

std::string base64(std::string const& in)
{
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < in.size(); i += 3) {
        unsigned const n = static_cast<unsigned char>(in[i]) << 16
            | (i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) << 8 : 0)
            | (i + 2 < in.size() ? static_cast<unsigned char>(in[i + 2]) : 0);
        out += digits[n >> 18 & 63];
        out += digits[n >> 12 & 63];
        out += i + 1 < in.size() ? digits[n >> 6 & 63] : '=';
        out += i + 2 < in.size() ? digits[n & 63] : '=';
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: tavrel_deflate <in> <out>\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string const bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    std::string const packed = in ? deflate_raw(bytes) : std::string();
    if (bytes.empty() || packed.empty()) {
        std::fprintf(stderr, "tavrel_deflate: cannot read or deflate %s\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << base64(packed);
    if (!out.flush()) {
        std::fprintf(stderr, "tavrel_deflate: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
