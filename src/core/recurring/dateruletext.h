#pragma once

#include "core/recurring/daterule.h"

#include <QString>

namespace Dayloom {

// What a rule does, in words, as the rule editor shows it while the user
// edits: "Every 2 weeks on Tuesday, from 6 Jan 2026", "Every month on the
// last Friday", "1 day after Easter Sunday", "On 6 Jan 2026", with the end
// ("until 31 Dec 2027", "10 times"), the shift ("moved off Saturday and
// Sunday to the nearest workday") and the span ("for 5 days"). Month and
// weekday names are English, as the program's own texts are.
QString DescribeDateRule(const DateRule &rule);

} // namespace Dayloom
