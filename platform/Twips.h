#pragma once

class QWidget;

namespace qrt
{

/// Twips: 1440 to the logical inch of the widget's screen (15 to a pixel at 96 DPI).
float twipsPerPixelX(const QWidget *widget);
float twipsPerPixelY(const QWidget *widget);

/// Twips to whole pixels, rounded to the nearest pixel.
int twipsToPixelsX(float twips, const QWidget *widget);
int twipsToPixelsY(float twips, const QWidget *widget);

} // namespace qrt
