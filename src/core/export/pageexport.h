#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QIODevice;

namespace Dayloom {

class CalendarPage;
class PageDocument;

// The page as the screen shows it, at a zoom (1.0 = 100 %): an image of page
// size x zoom pixels (times the device pixel ratio), white where nothing is
// drawn.
QImage RenderPageImage(const CalendarPage &page, float zoom, qreal devicePixelRatio = 1.0);

// Writes RenderPageImage as a PNG file. The file appears only when complete;
// on failure the previous file (if any) is untouched and error says why.
bool ExportPagePng(const CalendarPage &page, float zoom, const QString &path, QString *error);

// The whole design (page and placed objects) at the document's zoom, and
// its PNG export with the same guarantees.
QImage RenderDocumentImage(const PageDocument &document, qreal devicePixelRatio = 1.0);
bool ExportDocumentPng(const PageDocument &document, const QString &path, QString *error);

// The whole design as printed (PageDocument::PrintPage) into an image of
// the paper's size at dpi dots per inch, white where nothing is printed.
QImage PrintDocumentImage(const PageDocument &document, int dpi);
bool ExportDocumentPngAtDpi(const PageDocument &document, int dpi, const QString &path,
                            QString *error);

// Before page index (0-based) is printed, the caller sets the document up
// for it; false stops the export with the error text given.
using PreparePage = std::function<bool(int index, QString *error)>;

// The design printed as vector PDF pages: text stays text. The document's
// title is the design's name (PageDocument::DesignName; the month and year
// shown for a design without one), its creator "Dayloom". The paper is the
// design's (Letter or A4, portrait or landscape) without margins of its own,
// the design's margins being part of the page. pageCount pages are printed,
// each after prepare (which may be empty for a single page).
bool WriteDocumentPdf(const PageDocument &document, int pageCount, const PreparePage &prepare,
                      QIODevice &device, QString *error);
// The same into a file that appears only when complete: on failure no
// partial file is left and a previous one is untouched.
bool ExportDocumentPdf(const PageDocument &document, int pageCount, const PreparePage &prepare,
                       const QString &path, QString *error);
bool ExportDocumentPdf(const PageDocument &document, const QString &path, QString *error);

// The design printed as one SVG picture at 96 units per inch, the paper's
// size; text is kept as SVG text.
bool WriteDocumentSvg(const PageDocument &document, QIODevice &device, QString *error);
bool ExportDocumentSvg(const PageDocument &document, const QString &path, QString *error);

} // namespace Dayloom
