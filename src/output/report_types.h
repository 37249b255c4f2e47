// The engine's enumerations and small value types, shared by the engine, the report file
// and the viewers.
#pragma once

#include <QColor>
#include <QString>

namespace qb {

enum TUnits { unInch, unMM, unCM, unPoint, unUser };
enum TOrientation { poPortrait, poLandScape, poDefault };
enum TLineHeightMethod { lhmLinesPerInch, lhmFont, lhmUser };
enum TBKMode { bkTransparent, bkOpaque };
enum TAccuracyMethod { amPositioning, amAppearance };
enum TStreamMode { smMemory, smFile, smUser, smTempFile };
enum TPrintJustify { pjCenter = 0, pjLeft = 1, pjRight = 2, pjBlock = 3 };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
// How a pen combines with what is already on the page. Devices that cannot combine (printers,
// PDF) draw every mode as pmCopy.
enum TPenMode { pmCopy, pmXor, pmNot };
enum TMarginMethod { mmScaled, mmFixed };
enum TRulerType { rtNone, rtHorizCm, rtVertCm, rtBothCm, rtHorizIn, rtVertIn, rtBothIn };

// Marks a tab argument as "not given": placement after the previous stop, or the stop's own
// line widths and shade.
inline constexpr int NA = -32768;

// Box line bits of a tab stop.
inline constexpr int BOXLINENONE = 0;
inline constexpr int BOXLINELEFT = 1;
inline constexpr int BOXLINERIGHT = 2;
inline constexpr int BOXLINETOP = 4;
inline constexpr int BOXLINEBOTTOM = 8;
inline constexpr int BOXLINEALL = 15;

// Font style bits as the report file stores them.
inline constexpr unsigned FontBold = 1;
inline constexpr unsigned FontItalic = 2;
inline constexpr unsigned FontUnderline = 4;
inline constexpr unsigned FontStrikeOut = 8;

// Units per inch for the named units; unUser has no fixed factor.
double unitsPerInch(TUnits units);

// Grey level (0..255) of a shade given in percent, 0 being white.
int shadeGrey(int percent);

}  // namespace qb
