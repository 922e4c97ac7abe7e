#include "controls/ToolbarResource.h"

namespace {

const size_t kHeaderBytes = 8;

// Resource data need not be aligned: read byte by byte.
unsigned ReadU16(const unsigned char* p)
{
    return static_cast<unsigned>(p[0] | (p[1] << 8));
}

}  // namespace

bool ParseToolbarResource(const void* data, size_t size, ToolbarResource* out)
{
    if (data == nullptr || size < kHeaderBytes)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (ReadU16(bytes) != 1)
        return false;
    unsigned width = ReadU16(bytes + 2);
    unsigned height = ReadU16(bytes + 4);
    size_t count = ReadU16(bytes + 6);
    if (width == 0 || height == 0 || (size - kHeaderBytes) / 2 < count)
        return false;
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->commandIds.resize(count);
    for (size_t i = 0; i < count; ++i)
        out->commandIds[i] = ReadU16(bytes + kHeaderBytes + 2 * i);
    return true;
}
