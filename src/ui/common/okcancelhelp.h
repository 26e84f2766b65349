#pragma once

#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace Dayloom {

// The "Ok", "Cancel" and "Help" buttons at the foot of a dialog, added to
// `row` in that order: Ok is the default button and accepts the dialog,
// Cancel rejects it, Help runs `help`. Their object names are "OkButton",
// "CancelButton" and "HelpButton", as tests find them.
struct OkCancelHelp
{
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QPushButton *help = nullptr;

    static OkCancelHelp AddTo(QDialog &dialog, QBoxLayout &row, std::function<void()> help);
};

} // namespace Dayloom
