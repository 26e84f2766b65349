#include "ui/app/helpwindow.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace Dayloom {

namespace {
const QString ManualPath = QStringLiteral(":/dayloom/manual.html");

QString TopicAnchor(int topic)
{
    return QStringLiteral("topic-%1").arg(topic);
}
} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Dayloom Help"));
    resize(720, 640);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl(QStringLiteral("qrc") + ManualPath));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void HelpWindow::ShowContents()
{
    m_browser->setSource(QUrl(QStringLiteral("qrc") + ManualPath));
    m_browser->scrollToAnchor(QStringLiteral("contents"));
    Present();
}

bool HelpWindow::HasTopic(int topic)
{
    QFile manual(ManualPath);
    if (!manual.open(QIODevice::ReadOnly))
        return false;
    return manual.readAll().contains(("name=\"" + TopicAnchor(topic) + "\"").toUtf8());
}

HelpWindow *HelpWindow::For(QWidget *owner)
{
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *home = modal ? modal : owner->window();
    auto *help = home->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
    return help ? help : new HelpWindow(home);
}

void HelpWindow::ShowTopicFor(QWidget *owner, int topic)
{
    For(owner)->ShowHelpTopic(topic);
}

void HelpWindow::Present()
{
    show();
    raise();
    activateWindow();
    // The keys scroll the manual at once.
    m_browser->setFocus();
}

void HelpWindow::ShowHelpTopic(int topic)
{
    if (!HasTopic(topic)) {
        ShowContents();
        return;
    }
    m_browser->setSource(
        QUrl(QStringLiteral("qrc") + ManualPath + QLatin1Char('#') + TopicAnchor(topic)));
    Present();
}

void HelpWindow::ShowAbout(QWidget *parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("About Dayloom"));
    box.setIconPixmap(QApplication::windowIcon().pixmap(48, 48));
    box.setText(QStringLiteral("<b>Dayloom</b> %1").arg(QStringLiteral(DAYLOOM_VERSION)));
    box.setInformativeText(QStringLiteral("Design and print calendar pages: month grids, mini "
                                          "calendars, week and day planners, notes and "
                                          "recurring dates."));
    // A message box sizes itself by its text alone; the caption and the
    // title bar's buttons need room too.
    const int captionWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(std::max(captionWidth, 360), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

} // namespace Dayloom
