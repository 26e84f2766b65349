#pragma once

#include <QImage>
#include <QString>

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

} // namespace Dayloom
