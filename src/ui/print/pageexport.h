#pragma once

#include <QString>

class QIODevice;

namespace Dayloom {

class PageDocument;

// Writes the page with its placed objects as the printer gets it: one page
// of the page's paper size, through the print engine. Each writes to an open
// device and returns false with a reason on failure.
//
// Kept small on purpose: once the core has its own PDF and SVG writers the
// window calls those instead.
bool ExportPagePdf(const PageDocument &document, QIODevice &device, QString *error);
bool ExportPagePng(const PageDocument &document, QIODevice &device, int dotsPerInch,
                   QString *error);
// True when this build can write SVG.
bool CanExportSvg();
bool ExportPageSvg(const PageDocument &document, QIODevice &device, QString *error);

} // namespace Dayloom
