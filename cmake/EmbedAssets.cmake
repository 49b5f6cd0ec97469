# Writes a C++ source that holds every PNG of ASSET_DIR as a byte array, looked up by file name.
# Run as: cmake -DASSET_DIR=<dir> -DOUTPUT=<file.cpp> -P EmbedAssets.cmake
file(GLOB names RELATIVE "${ASSET_DIR}" "${ASSET_DIR}/*.png")
list(SORT names)

set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS names)
    file(READ "${ASSET_DIR}/${name}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const std::uint8_t kAsset${index}[] = {${bytes}};\n")
    string(APPEND entries "    {\"${name}\", kAsset${index}},\n")
    math(EXPR index "${index} + 1")
endforeach()

set(source "// Generated from the artwork folder at build time; do not edit.
#include \"resources/EmbeddedAssets.h\"

#include <algorithm>
#include <iterator>

namespace quibbix {

namespace {

${arrays}
struct Entry {
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

const Entry kEntries[] = {
${entries}};

}  // namespace

std::span<const std::uint8_t> EmbeddedAsset(std::string_view fileName) {
    const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                                    [fileName](const Entry& entry) { return entry.name == fileName; });
    return found == std::end(kEntries) ? std::span<const std::uint8_t>{} : found->bytes;
}

}  // namespace quibbix
")

# Rewrite only on change, so an unchanged artwork folder rebuilds nothing.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
    if(previous STREQUAL source)
        return()
    endif()
endif()
file(WRITE "${OUTPUT}" "${source}")
