#pragma once

#include <QDialog>

class QLineEdit;

namespace Dayloom {

// "User Defined Title": one line that replaces the generated title of the
// calendar; blank means the default title.
class TUserTitleForm : public QDialog
{
    Q_OBJECT

public:
    // Calendar files store titles of any length; this bound only keeps a
    // pasted document out of the edit.
    static constexpr int MaxTitleLength = 4096;

    explicit TUserTitleForm(QWidget *parent = nullptr);

    QString Title() const;
    void SetTitle(const QString &title);
    QLineEdit *TitleText() const { return m_titleText; }

private:
    QLineEdit *m_titleText;
};

} // namespace Dayloom
