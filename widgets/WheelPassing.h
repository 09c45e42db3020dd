#pragma once

// A wheel turned over a closed drop-down list, a slider or a number box without the keyboard
// focus is the hand scrolling the page on its way past: the control keeps its value and the
// wheel goes on to the widgets beneath it, so a scrollable page scrolls. An open list still scrolls with the wheel (its pop-up is a
// window of its own), and clicks, drags and keys change values as before. Scroll bars are
// sliders too and keep their wheel.

// Installs the rule for the whole application; a second call changes nothing.
void passWheelOverControls();
