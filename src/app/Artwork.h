#pragma once
// The program's pictures: toolbar buttons, canvas cursors, the axis-type
// indicator, the splash picture and the window icon. All of them are painted
// here at run time, so there are no binary resources to keep in step with the
// tools they stand for (the cursors in particular mark exactly the pixels the
// drawing tools change).
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>

class QPainter;

inline constexpr int kToolbarIconSize = 24;
inline constexpr int kPointerImageSize = 32;
inline constexpr int kSplashWidth = 548;
inline constexpr int kSplashHeight = 142;

// Pointer image numbers (1-based, as the tools and the indicator use them).
inline constexpr int kPointerPen = 1;
inline constexpr int kPointerHErase = 2;
inline constexpr int kPointerVErase = 3;
inline constexpr int kPointerEraseFirst = 4;  // eraser half-sizes 50, 100, 150 twips: images 4, 5, 6
inline constexpr int kPointerSight = 7;
inline constexpr int kPointerAxisLinLin = 8;  // x linear, y linear
inline constexpr int kPointerAxisLinLog = 9;  // x linear, y logarithmic
inline constexpr int kPointerAxisLogLin = 10; // x logarithmic, y linear
inline constexpr int kPointerAxisLogLog = 11; // x logarithmic, y logarithmic
inline constexpr int kPointerImageCount = 11;

// Picture of toolbar button `index` (1-6 the tools, 8 trace start, 10 save,
// 11 clear), 24 x 24 with a transparent background. Separators (7, 9) and
// unknown indices give a null pixmap.
QPixmap toolbarIcon(int index);

// Image k (1-11) of the pointer image list, 32 x 32 with a transparent
// background; a null pixmap for any other k. Images 8-11 are the axis-type
// indicator: its box shows only the top-left 30 x 30 pixels, so they keep
// everything inside that area.
QPixmap pointerImage(int k);

// Hot spot of pointer image k; (0, 0) for images that are not cursors.
QPoint pointerHotSpot(int k);

// Image k as a canvas cursor with its hot spot; the standard arrow for a k
// that has no cursor image.
QCursor pointerCursor(int k);

// Half-size in twips of the eraser square that pointer image k (4-6) shows.
int eraserHalfSizeTwips(int k);

// Title picture of the splash window, exactly 548 x 142. The splash window's
// client area is 5 pixels narrower, so nothing that matters sits in the last
// columns; its bottom colour is splashBackground().
QPixmap splashPicture();
QColor splashBackground();

// The program icon, designed on a 32 x 32 grid: paintProgramIcon draws it in
// those units (for any scale, or into an SVG), programIcon paints it at `size`
// pixels square, windowIcon gathers the sizes title bars and task bars use.
void paintProgramIcon(QPainter& p);
QPixmap programIcon(int size);
QIcon windowIcon();
