// Which command shows which picture of the icon list: the toolbar's buttons
// in order, separators taking no picture.
#ifndef TETHRA_CONTROLS_IMAGEMAPPING_H
#define TETHRA_CONTROLS_IMAGEMAPPING_H

#include <vector>

#include "controls/ToolbarResource.h"

struct ImageMapping {
    int imageIndex;
    int commandId;
};

// Appends one mapping per non-separator button whose picture exists, that
// is whose running index is below imageCount.
void AddToolbarMappings(const ToolbarResource& toolbar, int imageCount, std::vector<ImageMapping>* mappings);

// The picture of command, the first mapping's; -1 when it has none.
int FindImageIndex(const std::vector<ImageMapping>& mappings, int commandId);

#endif
