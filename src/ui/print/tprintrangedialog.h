#pragma once

#include "core/export/monthpages.h"

#include <QDate>
#include <QDialog>

#include <optional>

class QDateEdit;
class QRadioButton;

namespace Dayloom {

// What a print or an export takes: the page shown, or a page per month of
// a span (planners: per week or day in it), as the command line's --months.
struct PrintRange
{
    std::optional<MonthSpan> months; // none: this page
};

// Asks "This page" or "Months from ... to ...", captioned after the command
// ("Print", "Export", "Print Preview"). The months are `proposed`'s or,
// for this page, the twelve from the page's month.
class TPrintRangeDialog : public QDialog
{
    Q_OBJECT

public:
    TPrintRangeDialog(const QString &caption, const PrintRange &proposed, const QDate &pageMonth,
                      QWidget *parent = nullptr);

    PrintRange Range() const;

private:
    void UpdateEnabled();
    void KeepOrder(bool fromChanged);

    QRadioButton *m_thisPage = nullptr;
    QRadioButton *m_months = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
};

} // namespace Dayloom
