#pragma once

#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace Dayloom {

// The "Ok", "Cancel" and "Help" buttons at the foot of a dialog, added to
// `row` in that order: Ok is the default button and accepts the dialog (or,
// when `ok` is given, runs it instead: a dialog that checks before it
// closes), Cancel rejects it, Help runs `help` and never takes Return. Their
// object names are "OkButton", "CancelButton" and "HelpButton", as tests
// find them. The dialog owns the buttons.
struct OkCancelHelp
{
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QPushButton *help = nullptr;

    static OkCancelHelp AddTo(QDialog &dialog, QBoxLayout &row, std::function<void()> help,
                              std::function<void()> ok = {});
};

} // namespace Dayloom
