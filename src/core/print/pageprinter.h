#pragma once

#include "core/calendar/calendarpainter.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/pagelayout.h"
#include "core/calendar/pagerenderer.h"
#include "core/richtext/twprtfstorage.h"

#include <QByteArray>
#include <QSize>
#include <QStringList>

#include <array>

namespace Dayloom {

class NoteRenderer;
class PrintEngine;

// The calendar page on paper: border picture, month grid or planner with
// its notes, then the mini calendars, drawn through a print engine at the
// device's resolution. The page geometry is not recomputed: the zoom-1
// rectangles are converted to inches, moved by the offsets and turned into
// device pixels; fonts print at their own point sizes.
//
// Where paper differs from the screen: texts that do not fit lose
// characters from their end instead of being clipped; the weekday row is
// 1.5 lines of its font high and the planner title 1.6; a white title band
// is left unfilled; day numbers sit at the top of their cell; strike-out is
// not printed; notes are laid out at the reference note size and stretched
// as vector pictures into their cell's note rectangle.
//
// Like the screen renderer it changes none of its inputs and returns what
// it drew, in device pixels. The inputs are referenced, not copied.
class PagePrinter
{
public:
    PagePrinter(const CalendarSettings &settings, const PageLayout &layout,
                const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture);

    // Notes are laid out by the renderer at the reference size (page
    // pixels); an empty size takes the printed first note rectangle's size
    // grown by 5. Without a renderer notes are not printed.
    void SetNoteRenderer(NoteRenderer *renderer, const QSize &referenceNoteSize)
    {
        m_noteRenderer = renderer;
        m_referenceNoteSize = referenceNoteSize;
    }

    // Prints the page with its printable area's origin moved by the offsets
    // (inches).
    PageDrawing Print(PrintEngine &engine, double xInch, double yInch) const;

    // The paper versions of the drawing routines (device pixels in the block).
    static void PrintMonthGrid(PrintEngine &engine, DrawingBlock &block, const QString &titleText);
    static void PrintPlanner(PrintEngine &engine, DrawingBlock &block, const QStringList &labels,
                             const QStringList &dateTexts, const QString &title);
    // The sides of a rectangle (device pixels) as lines in inches.
    static void DrawBorder(PrintEngine &engine, const TRect &rect, TCalBorderStyle style);

private:
    TRect ToDevice(const PrintEngine &engine, const TRect &pageRect, int grow, double xInch,
                   double yInch) const;
    DrawingBlock MainBlock(const PrintEngine &engine, const TRect &deviceRect) const;
    void PrintNotes(PrintEngine &engine, PageDrawing &drawing) const;
    void PrintMiniCalendars(PrintEngine &engine, double xInch, double yInch) const;

    const CalendarSettings &m_settings;
    const PageLayout &m_layout;
    const std::array<TWPRtfStorage, 42> &m_notes;
    const Picture &m_borderPicture;
    NoteRenderer *m_noteRenderer = nullptr;
    QSize m_referenceNoteSize;
};

} // namespace Dayloom
