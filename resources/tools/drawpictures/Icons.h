#pragma once
#include "Style.h"
#include <QSize>

// Small glyphs and controls, each painted into a picture of the given size.
namespace Icons {
using Style::Look;

void close(QPainter& p, QSize s, Look look);
void minimise(QPainter& p, QSize s, Look look);
void backArrow(QPainter& p, QSize s, Look look);
void pageArrow(QPainter& p, QSize s, bool right, Look look);
void pageButton(QPainter& p, QSize s, const QString& glyph, Look look);
void textButton(QPainter& p, QSize s, Look look);
void battery(QPainter& p, QSize s);
void chargeBolt(QPainter& p, QSize s);
void logo(QPainter& p, QSize s);
void repair(QPainter& p, QSize s);
void comboBack(QPainter& p, QSize s);
void comboPopup(QPainter& p, QSize s);
void comboArrow(QPainter& p, QSize s, bool open);
void checkBox(QPainter& p, QSize s, bool checked);
void sectionMark(QPainter& p, QSize s);
void levelMarker(QPainter& p, QSize s, Look look);
void sliderHandle(QPainter& p, QSize s);
void minus(QPainter& p, QSize s);
void plus(QPainter& p, QSize s);
void levelButton(QPainter& p, QSize s, bool selected);
void swatchOverlay(QPainter& p, QSize s, bool selected);
void toggle(QPainter& p, QSize s, bool on);
void rateBadge(QPainter& p, QSize s, const QString& text, int strength);
void connectionMark(QPainter& p, QSize s, bool cable);
void offlineMark(QPainter& p, QSize s);
// A small round hint mark ("i").
void hintMark(QPainter& p, QSize s);
// The large pairing button: 0 ready, 1 paired, 2 failed.
void pairButton(QPainter& p, QSize s, int outcome);
// A firmware update button that offers a newer image (Active: mouse over).
void updateButton(QPainter& p, QSize s, Look look);
// A small mouse outline before a link.
void mouseIcon(QPainter& p, QSize s);

}  // namespace Icons
