#pragma once

#include <QDialog>
#include <QFont>

class QComboBox;
class QTableWidget;

namespace Dayloom {

// "Symbol Selector": the installed symbol fonts (each face once, sorted; one
// whose name contains "WINGDING" chosen first when there is one) and a grid
// of their 224 characters from the blank (32) to 255, 15 to a row.
class TSuperTextGetSymbol : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Columns = 15;
    static constexpr int FirstCharacter = 32;
    static constexpr int CharacterCount = 224;

    explicit TSuperTextGetSymbol(QWidget *parent = nullptr);

    // The installed fonts that offer the Symbol writing system and draw
    // outlines, sorted; found once per process.
    static QStringList SymbolFonts();
    bool HasFonts() const;
    // The remembered choice.
    QChar Character() const { return m_character; }
    QString Face() const { return m_face; }

    void accept() override;

private:
    static QStringList FindSymbolFonts();
    void FontChosen(int index);

    QComboBox *m_fonts = nullptr;
    QTableWidget *m_grid = nullptr;
    QChar m_character;
    QString m_face;
};

} // namespace Dayloom
