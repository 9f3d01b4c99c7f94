// Little-endian writing of binary files: Windows bitmaps and icons, and the
// packed window description.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace assets {

class ByteWriter {
public:
    void u8(unsigned value) { m_bytes.push_back(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value)
    {
        u8(value & 0xFF);
        u8(value >> 8 & 0xFF);
    }
    void u32(std::uint32_t value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void zeros(std::size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    // Byte by byte: GCC 12 sees a false overflow in a range insert into an empty vector.
    void bytes(std::span<std::uint8_t const> more)
    {
        m_bytes.reserve(m_bytes.size() + more.size());
        for (std::uint8_t byte : more)
            m_bytes.push_back(byte);
    }
    void bytes(std::string_view more) { bytes({ reinterpret_cast<std::uint8_t const*>(more.data()), more.size() }); }
    // Overwrites four bytes written before, for a size known only later.
    void patch_u32(std::size_t at, std::uint32_t value)
    {
        for (std::size_t k = 0; k < 4; ++k)
            m_bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
    }

    std::size_t size() const { return m_bytes.size(); }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace assets
