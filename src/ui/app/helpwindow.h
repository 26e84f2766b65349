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
    // Opens the topic in the help window that belongs to `owner` (made on
    // first use), so that it takes input while `owner` is modal.
    static void ShowTopicFor(QWidget *owner, int topic);
    // The "About Dayloom" box: the version and what the program does.
    static void ShowAbout(QWidget *parent);

private:
    QTextBrowser *m_browser;
};

} // namespace Dayloom
