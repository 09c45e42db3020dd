#pragma once
#include "Style.h"
#include <QSize>

// The button page's bars, plates and panels.
namespace ButtonPageArt {
using Style::Look;

// A bar behind a text: function-page buttons, selectors and function types. `opens` adds
// the chevron of a button that opens a page.
void bar(QPainter& p, QSize s, bool checked, bool opens = false);
// The round plate behind a dark number: markers and key-list numbers.
void numberPlate(QPainter& p, QSize s, Look look);
// The profile icon beside the profile box.
void profileIcon(QPainter& p, QSize s);
// The panel under the key list and the function area.
void lowerPanel(QPainter& p, QSize s);

}  // namespace ButtonPageArt
