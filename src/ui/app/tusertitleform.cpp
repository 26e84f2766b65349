#include "ui/app/tusertitleform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

TUserTitleForm::TUserTitleForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UserTitleForm"));
    setWindowTitle(QStringLiteral("User Defined Title"));
    auto *label =
        new QLabel(QStringLiteral("Enter calendar title (leave blank for default):"), this);
    m_titleText = new QLineEdit(this);
    m_titleText->setObjectName(QStringLiteral("TitleText"));
    label->setBuddy(m_titleText);
    m_titleText->setMaxLength(MaxTitleLength);
    m_titleText->setMinimumWidth(320);
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_titleText);
    layout->addLayout(buttons);
}

QString TUserTitleForm::Title() const
{
    return m_titleText->text();
}

void TUserTitleForm::SetTitle(const QString &title)
{
    m_titleText->setText(title);
    m_titleText->selectAll();
}

} // namespace Dayloom
