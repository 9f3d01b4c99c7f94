// Base64 as a page carries its data: blocks in script elements, images in
// data: addresses.
#pragma once

#include <cstddef>
#include <string>

namespace tools {

inline std::string base64(std::string const& in)
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

} // namespace tools
