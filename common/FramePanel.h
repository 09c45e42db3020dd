#pragma once
#include <QRect>

// The panel that the configuration frame's background picture draws around the pages, in the
// frame's coordinates: a one-pixel edge along the border of `Outer`, its corners rounded with
// `Radius`. The picture generator draws it there; the frame keeps its pages inside it.
namespace FramePanel {
constexpr QRect Outer(146, 104, 862, 586);
constexpr int Radius = 10;
// The pixels within the edge.
constexpr QRect inside()
{
    return Outer.adjusted(1, 1, -1, -1);
}
}  // namespace FramePanel
