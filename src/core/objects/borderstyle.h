#pragma once

namespace Dayloom {

// The frame of a placed object: none, or a one-pixel black line.
enum TBorderStyle : int
{
    bsNone = 0,
    bsSingle = 1,
};

} // namespace Dayloom
