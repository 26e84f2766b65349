#include "ui/supertext/supertextservices.h"

#include "ui/app/helpwindow.h"
#include "ui/app/uihelpers.h"
#include "ui/common/askcolor.h"
#include "ui/supertext/tsupertextbrushimagebrowser.h"
#include "ui/supertext/tsupertextgetsymbol.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>

namespace Dayloom {

namespace {

std::optional<SuperTextServices::Texture> AskTexture(QWidget *parent, const TGSuperText &text,
                                                     const QString &lastPath)
{
    TSuperTextBrushImageBrowser browser(parent);
    browser.TakeLookOf(text);
    browser.OpenAt(lastPath);
    if (browser.exec() != QDialog::Accepted || browser.Picture().isNull())
        return std::nullopt;
    return SuperTextServices::Texture{browser.Picture(),
                                      QFileInfo(browser.SelectedFile()).absoluteFilePath()};
}

} // namespace

SuperTextServices SuperTextServices::standard()
{
    SuperTextServices services;
    services.chooseFont = [](QWidget *parent, const FontSpec &font,
                             const QString &title) -> std::optional<FontSpec> {
        QFont initial(font.Name());
        initial.setPointSize(std::max(1, font.Size()));
        initial.setBold(font.Bold());
        initial.setItalic(font.Italic());
        initial.setUnderline(font.Underline());
        bool ok = false;
        const QFont chosen =
            QFontDialog::getFont(&ok, initial, parent, title, QFontDialog::ScalableFonts);
        if (!ok)
            return std::nullopt;
        FontSpec result = font;
        result.SetName(chosen.family());
        if (chosen.pointSize() > 0)
            result.SetSize(chosen.pointSize());
        result.SetBold(chosen.bold());
        result.SetItalic(chosen.italic());
        result.SetUnderline(chosen.underline());
        return result;
    };
    services.chooseColor = AskColor;
    services.loadTexture = AskTexture;
    services.selectSymbol = [](QWidget *parent) -> std::optional<Symbol> {
        TSuperTextGetSymbol selector(parent);
        if (!selector.HasFonts()) {
            ShowInformation(parent, QStringLiteral("No Symbol fonts installed"));
            return std::nullopt;
        }
        if (selector.exec() != QDialog::Accepted)
            return std::nullopt;
        return Symbol{selector.Character(), selector.Face()};
    };
    services.showInformation = ShowInformation;
    services.showHelp = HelpWindow::ShowTopicFor;
    services.runEditor = [](TSuperTextProperties &dialog) {
        return dialog.exec() == QDialog::Accepted;
    };
    return services;
}

} // namespace Dayloom
