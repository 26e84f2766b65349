#pragma once

#include <QString>

class QWidget;

namespace Dayloom {

class IniFile;

// Modal message box captioned "Information" with an OK button.
void ShowInformation(QWidget *parent, const QString &text);
// Modal Yes/No question with the given caption; true for Yes.
bool AskYesNo(QWidget *parent, const QString &text, const QString &caption);
enum class YesNoAnswer
{
    Yes,
    No,
    Cancel
};
// The same Yes/No question, where Escape or closing the box answers Cancel.
YesNoAnswer AskYesNoOrCancel(QWidget *parent, const QString &text, const QString &caption);
// Hourglass while a long command runs, and back.
void ShowBusyCursor();
void RestoreCursor();
// Centres a dialog over the main window (or the screen when the main
// window is maximised or absent).
void CenterForm(QWidget *form, QWidget *mainWindow);
// A main window's placement in `settings`, in the section of `className`
// for the screen's resolution (WindowPlacement). Without a stored one the
// window takes most of the screen, centred. Saving does not write the file.
void RestoreWindowPlacement(QWidget *window, const QString &className, const IniFile &settings);
void SaveWindowPlacement(const QWidget *window, const QString &className, IniFile &settings);

} // namespace Dayloom
