#include "platform/zrui/print_layout.h"

#include <math.h>

namespace ZrUI {

namespace {

const double kMillimetresPerInch = 25.4;
// Pictures up to this many printer pixels a side (about 40 metres at 600
// dots per inch) keep every offset and size well inside 32 bits.
const double kLargestPicture = 1e6;

}  // namespace

bool ReadPrinterPage(HDC printer, PrinterPage* page)
{
    if (!printer)
        return false;
    page->dotsPerInch = GetDeviceCaps(printer, LOGPIXELSX);
    page->printableWidth = GetDeviceCaps(printer, HORZRES);
    page->printableHeight = GetDeviceCaps(printer, VERTRES);
    page->paperWidth = GetDeviceCaps(printer, PHYSICALWIDTH);
    page->paperHeight = GetDeviceCaps(printer, PHYSICALHEIGHT);
    // A context without a physical page (not a printer) has the printable one.
    if (page->paperWidth <= 0 || page->paperHeight <= 0) {
        page->paperWidth = page->printableWidth;
        page->paperHeight = page->printableHeight;
    }
    return page->dotsPerInch > 0 && page->printableWidth > 0 && page->printableHeight > 0;
}

bool PlacePrint(const PrinterPage& page, int rotation, const PrintScale& scale, bool centred,
                double windowWidth, double windowHeight, PrintPlacement* placement)
{
    if (!(windowWidth > 0.0) || !(windowHeight > 0.0) || !isfinite(windowWidth) || !isfinite(windowHeight))
        return false;
    bool turned = rotation == 1;
    // The printable area along the window's own width and height.
    double acrossWidth = turned ? page.printableHeight : page.printableWidth;
    double acrossHeight = turned ? page.printableWidth : page.printableHeight;
    double pixelsPerUnit;
    if (scale.fit) {
        pixelsPerUnit = fmin(acrossWidth / windowWidth, acrossHeight / windowHeight);
    } else {
        if (!(scale.millimetres > 0.0) || !(scale.units > 0.0))
            return false;
        pixelsPerUnit = scale.millimetres / scale.units * page.dotsPerInch / kMillimetresPerInch;
    }
    double pictureWidth = windowWidth * pixelsPerUnit;
    double pictureHeight = windowHeight * pixelsPerUnit;
    if (!(pixelsPerUnit > 0.0) || !(pictureWidth <= kLargestPicture) || !(pictureHeight <= kLargestPicture))
        return false;
    // The picture as it lies on the printer's page.
    double across = turned ? pictureHeight : pictureWidth;
    double down = turned ? pictureWidth : pictureHeight;
    double left = centred ? (page.printableWidth - across) / 2.0 : 0.0;
    double top = centred ? (page.printableHeight - down) / 2.0 : 0.0;
    placement->scale = pixelsPerUnit;
    placement->xOffset = (int)lround(left);
    placement->yOffset = -(int)lround(top);
    placement->pageWidth = turned ? page.paperHeight : page.paperWidth;
    placement->pageHeight = turned ? page.paperWidth : page.paperHeight;
    return true;
}

double UnitsPerMillimetre(const PrinterPage& page, double scale)
{
    return page.dotsPerInch / (kMillimetresPerInch * scale);
}

}  // namespace ZrUI
