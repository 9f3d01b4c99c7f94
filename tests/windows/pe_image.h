// A small reader of 32-bit Windows executables, enough to check what the
// build made of Tavrel_Oskund.exe: the headers, the imports, the resources and
// the version information. Every offset is checked; a malformed file throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Import {
    std::string dll;
    // By name; an import by ordinal appears as "#<ordinal>".
    std::vector<std::string> functions;
};

// A resource leaf; names given as strings (not numbers) have id -1.
struct Resource {
    std::int32_t type = -1;
    std::int32_t id = -1;
    std::int32_t language = -1;
    std::vector<std::uint8_t> data;
};

struct Image {
    std::uint16_t machine = 0;
    std::uint16_t magic = 0;
    std::uint16_t major_os_version = 0;
    std::uint16_t minor_os_version = 0;
    std::uint16_t major_subsystem_version = 0;
    std::uint16_t minor_subsystem_version = 0;
    std::uint16_t subsystem = 0;
    std::uint16_t dll_characteristics = 0;
    std::uint32_t relocations_size = 0;
    std::vector<Import> imports;
    std::vector<Resource> resources;

    // The resources of one type and id, in any language.
    std::vector<Resource const*> find(std::int32_t type, std::int32_t id) const;
};

Image read_image(std::filesystem::path const& path);
Image read_image(std::span<std::uint8_t const> bytes);

// The fixed part and the texts of a version resource.
struct VersionInfo {
    std::uint32_t signature = 0;
    std::uint64_t file_version = 0;
    std::uint64_t product_version = 0;
    std::uint32_t file_flags_mask = 0;
    std::uint32_t file_flags = 0;
    std::uint32_t file_os = 0;
    std::uint32_t file_type = 0;
    std::uint32_t file_subtype = 0;
    // String table key ("040904B0") -> name -> value, as UTF-8.
    std::map<std::string, std::map<std::string, std::string>> strings;
    // Pairs of language and code page from VarFileInfo\Translation.
    std::vector<std::uint32_t> translations;
};

VersionInfo read_version(std::span<std::uint8_t const> resource);

std::vector<std::uint8_t> read_file(std::filesystem::path const& path);

} // namespace pe
