#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"

#include <QLocale>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

// What the calendar properties dialog asks of the world around it: message
// boxes, the file, font, colour and time dialogs, and the language chooser.
// standard() gives the real ones; tests hand in their own so that nothing
// blocks.
struct PropertiesDialogServices
{
    // What a file dialog is opened with.
    struct FileRequest
    {
        QString title;
        QString folder;
        QString fileName;      // proposed name (save only)
        QString filter;        // "Calendar Style Sheet (*.DLS)"
        QString defaultSuffix; // "DLS" (save only)
    };

    // An "Information" box with an OK button; "\r" in the text breaks lines.
    std::function<void(QWidget *parent, const QString &message)> showInformation;
    // A Yes/No question with a question icon; true for Yes.
    std::function<bool(QWidget *parent, const QString &message, const QString &caption)> askYesNo;
    // An OK/Cancel warning; true for OK. Escape or closing the box cancels.
    std::function<bool(QWidget *parent, const QString &message, const QString &caption)>
        askOkCancel;
    // The chosen path, empty when cancelled. The save dialog asks before
    // overwriting; the open dialog accepts only existing files.
    std::function<QString(QWidget *parent, const FileRequest &request)> getSaveFileName;
    std::function<QString(QWidget *parent, const FileRequest &request)> getOpenFileName;
    std::function<std::optional<FontSpec>(QWidget *parent, const FontSpec &font)> pickFont;
    std::function<std::optional<TColor>(QWidget *parent, TColor color)> pickColor;
    // The time picker, centred over the parent.
    std::function<std::optional<QTime>(QWidget *parent, const QTime &time)> pickTime;
    // The "Other..." language chooser.
    std::function<std::optional<QLocale>(QWidget *parent)> pickLanguage;

    static PropertiesDialogServices standard();
};

} // namespace Dayloom
