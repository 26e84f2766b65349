#include "ui/label/tgetlabeltext.h"

#include "ui/common/okcancelhelp.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {
QWidget *MainWindowOf(QWidget *widget)
{
    if (widget)
        return widget->window();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow *>(top))
            return top;
    }
    return nullptr;
}
} // namespace

TGetLabelText::TGetLabelText(QWidget *parent, std::function<void(QWidget *, int)> showHelp)
    : QDialog(parent), m_showHelp(std::move(showHelp))
{
    setObjectName(QStringLiteral("GetLabelText"));
    setWindowTitle(QStringLiteral("Text"));
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(QStringLiteral("Enter Text"), this);
    m_labelText = new QLineEdit(this);
    m_labelText->setObjectName(QStringLiteral("LabelText"));
    m_labelText->setAccessibleName(QStringLiteral("Text"));
    prompt->setBuddy(m_labelText);
    layout->addWidget(prompt);
    layout->addWidget(m_labelText);
    layout->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_showHelp)
            m_showHelp(this, HelpTopic);
    });
    layout->addLayout(buttons);
    resize(356, 133);
    m_labelText->setFocus();
}

QString TGetLabelText::Text() const
{
    return m_labelText->text();
}

void TGetLabelText::SetText(const QString &text)
{
    m_labelText->setText(text);
    m_labelText->selectAll();
}

void TGetLabelText::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred over the main window: (main width - own width) div 2 + main left.
    if (const QWidget *main = MainWindowOf(parentWidget()); main && main != this) {
        const QRect area = main->frameGeometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
    m_labelText->setFocus();
}

} // namespace Dayloom
