// Little-endian writing of the fields of Windows bitmap and icon files.
#pragma once

#include <cstdint>
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
    void bytes(std::vector<std::uint8_t> const& more) { m_bytes.insert(m_bytes.end(), more.begin(), more.end()); }

    std::size_t size() const { return m_bytes.size(); }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace assets
