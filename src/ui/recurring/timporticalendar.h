#pragma once

#include "core/recurring/icalendarimport.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace Dayloom {

// "Import iCalendar": what importing a file would do to the user's list,
// before anything is applied: the entries it adds, changes (same UID) and
// removes (imported from the same file before, no longer there), and what
// the file holds that cannot be kept. The caller applies the plan only when
// the dialog ends with OK.
class TImportICalendar : public QDialog
{
    Q_OBJECT

public:
    explicit TImportICalendar(const ICalendarImport::Plan &plan, QWidget *parent = nullptr);

    // The rows as shown: "Add: ...", "Change: ...", "Remove: ...",
    // "Left out: ...".
    QStringList rows() const;

private:
    QLabel *m_summary = nullptr;
    QListWidget *m_list = nullptr;
};

} // namespace Dayloom
