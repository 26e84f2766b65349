#pragma once

#include <QDialog>

class QTextBrowser;

namespace Dayloom {

// Shows the program's manual (an HTML document built into the program).
// Sections carry the help topic numbers that dialogs ask for.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Opens the manual at its contents.
    void ShowContents();
    // Opens the section of a help topic number; unknown topics show the
    // contents.
    void ShowHelpTopic(int topic);
    QTextBrowser *Browser() const { return m_browser; }
    // Whether the manual has a section for the topic.
    static bool HasTopic(int topic);
    // The help window of `owner`'s window (made on first use), or, while a
    // modal dialog is open, of that dialog: a modal dialog blocks every
    // window but its own, so help shown for it must be its own to open in
    // front of it and take input. It closes with its owner.
    static HelpWindow *For(QWidget *owner);
    // Opens the topic in the help window For(owner).
    static void ShowTopicFor(QWidget *owner, int topic);
    // The "About Dayloom" box: the version and what the program does.
    static void ShowAbout(QWidget *parent);

private:
    // Shows the window in front, with the keyboard in the manual.
    void Present();

    QTextBrowser *m_browser;
};

} // namespace Dayloom
