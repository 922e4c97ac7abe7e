#include "controls/ImageMapping.h"

void AddToolbarMappings(const ToolbarResource& toolbar, int imageCount, std::vector<ImageMapping>* mappings)
{
    int image = 0;
    for (uint32_t id : toolbar.commandIds) {
        if (id == 0)
            continue;
        if (image >= imageCount)
            return;
        mappings->push_back({image, static_cast<int>(id)});
        ++image;
    }
}

int FindImageIndex(const std::vector<ImageMapping>& mappings, int commandId)
{
    for (const ImageMapping& mapping : mappings) {
        if (mapping.commandId == commandId)
            return mapping.imageIndex;
    }
    return -1;
}
