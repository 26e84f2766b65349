#include "ui/app/uihelpers.h"

#include "core/app/windowplacement.h"
#include "core/io/inifile.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace Dayloom {

void ShowInformation(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

bool AskYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

YesNoAnswer AskYesNoOrCancel(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    // Escape and closing the box must not count as No: a hidden Cancel
    // button takes them.
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
    box.setEscapeButton(cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return YesNoAnswer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return YesNoAnswer::No;
    return YesNoAnswer::Cancel;
}

void ShowBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void RestoreCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void CenterForm(QWidget *form, QWidget *mainWindow)
{
    form->adjustSize();
    QRect area;
    if (mainWindow && mainWindow != form && !mainWindow->isMaximized())
        area = mainWindow->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    form->move(area.left() + (area.width() - form->width()) / 2,
               area.top() + (area.height() - form->height()) / 2);
}

namespace {

QString PlacementSection(const QWidget *window, const QString &className)
{
    const int dpi = window->screen() ? qRound(window->screen()->logicalDotsPerInch()) : 96;
    return WindowPlacement::SectionName(className, dpi);
}

} // namespace

void RestoreWindowPlacement(QWidget *window, const QString &className, const IniFile &settings)
{
    const WindowPlacement stored =
        WindowPlacement::Load(settings, PlacementSection(window, className), window->isMaximized());
    QScreen *screen = window->screen();
    if (stored.IsSaved()) {
        const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
        const QRect rect = stored.ShiftedOnto(screenSize).Rect();
        if (rect.width() > 100 && rect.height() > 100)
            window->setGeometry(rect);
    } else if (screen) {
        // First run: most of the screen, centred.
        const QRect area = screen->availableGeometry();
        window->resize(std::min(1200, area.width() * 9 / 10),
                       std::min(900, area.height() * 9 / 10));
        window->move(area.left() + (area.width() - window->width()) / 2,
                     area.top() + (area.height() - window->height()) / 2);
    }
    if (stored.maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void SaveWindowPlacement(const QWidget *window, const QString &className, IniFile &settings)
{
    const QRect normal = window->isMaximized() ? window->normalGeometry() : window->geometry();
    WindowPlacement placement{normal.left(), normal.top(), normal.left() + normal.width(),
                              normal.top() + normal.height(), window->isMaximized()};
    placement.Save(settings, PlacementSection(window, className));
}

} // namespace Dayloom
