// The brush picture that the main window and every dialog tile over their background.
#pragma once

class QPixmap;
class QWidget;

namespace qb {

// The tile, drawn once on first use.
const QPixmap& backgroundTile();
// Makes the widget paint its background with the tile.
void tileBackground(QWidget* widget);

}  // namespace qb
