#include "Twips.h"

#include <QWidget>
#include <cmath>

namespace qrt
{

float twipsPerPixelX(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0f / float(dpi > 0 ? dpi : 96);
}

float twipsPerPixelY(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return 1440.0f / float(dpi > 0 ? dpi : 96);
}

int twipsToPixelsX(float twips, const QWidget *widget)
{
    return int(std::lround(twips / twipsPerPixelX(widget)));
}

int twipsToPixelsY(float twips, const QWidget *widget)
{
    return int(std::lround(twips / twipsPerPixelY(widget)));
}

} // namespace qrt
