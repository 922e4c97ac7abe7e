// The toolbar resource (type 241): the button size and the command of each
// button, in order, 0 for a separator. Little-endian 16-bit fields: version
// (1), width, height, count, then count command ids.
#ifndef TETHRA_CONTROLS_TOOLBARRESOURCE_H
#define TETHRA_CONTROLS_TOOLBARRESOURCE_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct ToolbarResource {
    int width;
    int height;
    std::vector<uint32_t> commandIds;
};

// False for data shorter than its header or its id list, another version, or
// an empty button size; *out is then untouched. Reads nothing past size.
bool ParseToolbarResource(const void* data, size_t size, ToolbarResource* out);

#endif
