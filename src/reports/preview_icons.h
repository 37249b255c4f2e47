// The pictures of the preview window's page and zoom buttons, drawn in code.
#pragma once

#include <QIcon>

namespace qb {

enum class PreviewGlyph { ZoomIn, ZoomOut, PageWidth, WholePage, First, Previous, Next, Last };

QIcon previewIcon(PreviewGlyph glyph);

}  // namespace qb
