// The four preview tiles of the navigation page.
#pragma once

#include "platform/form.h"

#include <string_view>

// Mouse moved over bare window area: every tile back to its normal pair.
void resetPreviewTiles(Form& form, std::string_view control);
// Mouse moved over a tile: that tile to its mouse-over pair.
void highlightPreviewTile(Form& form, std::string_view tile);
