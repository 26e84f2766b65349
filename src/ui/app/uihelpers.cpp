#include "ui/app/uihelpers.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

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

} // namespace Dayloom
