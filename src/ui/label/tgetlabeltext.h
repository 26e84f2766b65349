#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;

namespace Dayloom {

// "Text": the one-line text of a label. The edit field `LabelText` has the
// focus when the dialog opens; "Ok" is the default button, "Cancel" answers
// Escape, "Help" opens the manual at the label text topic. The dialog
// centres itself over the main window.
class TGetLabelText : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpTopic = 40004;

    explicit TGetLabelText(QWidget *parent = nullptr,
                           std::function<void(QWidget *, int)> showHelp = {});

    QString Text() const;
    void SetText(const QString &text);
    QLineEdit *LabelText() const { return m_labelText; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_labelText;
    std::function<void(QWidget *, int)> m_showHelp;
};

} // namespace Dayloom
