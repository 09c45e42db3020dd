#pragma once
#include "Style.h"
#include <QSize>

// Pictures of the macro editor page.
namespace MacroPageArt {
using Style::Look;

// Event row icons: a key pressed (arrow down into a key cap), released (arrow up) and a pause.
void pressMark(QPainter& p, QSize s);
void releaseMark(QPainter& p, QSize s);
void delayMark(QPainter& p, QSize s);
// Scroll bar arrows of the two lists.
void scrollArrow(QPainter& p, QSize s, bool up);
// The page's text buttons; the hover look lights the border.
void textButton(QPainter& p, QSize s, Look look);
// Start and stop recording: a wide button with a round record sign or a square stop sign at
// its left end (the text stands to its right).
void recordButton(QPainter& p, QSize s, bool stop, Look look);

}  // namespace MacroPageArt
