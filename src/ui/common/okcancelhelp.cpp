#include "ui/common/okcancelhelp.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace Dayloom {

OkCancelHelp OkCancelHelp::AddTo(QDialog &dialog, QBoxLayout &row, std::function<void()> help,
                                 std::function<void()> ok)
{
    OkCancelHelp buttons;
    buttons.ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    buttons.ok->setObjectName(QStringLiteral("OkButton"));
    buttons.ok->setDefault(true);
    buttons.cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    buttons.cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons.help = new QPushButton(QStringLiteral("Help"), &dialog);
    buttons.help->setObjectName(QStringLiteral("HelpButton"));
    buttons.help->setAutoDefault(false);
    row.addWidget(buttons.ok);
    row.addWidget(buttons.cancel);
    row.addWidget(buttons.help);
    if (ok)
        QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, std::move(ok));
    else
        QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(buttons.help, &QPushButton::clicked, &dialog, std::move(help));
    return buttons;
}

} // namespace Dayloom
