#pragma once
#include <QByteArray>
#include <QList>

class QDialog;

// Builds the named dialog (its class name, for example "ContainReset", or a state of it such as
// "Match-pairing"),
// runs it until it is closed and returns 0; an unknown name lists the known ones on standard
// error and returns 2. With `overWindow` the dialog is opened from a plain window shown behind it.
int runDialogPreview(const QByteArray& name, bool overWindow = false);

// The names runDialogPreview() knows, and the dialog of one of them, built but not shown (null
// for an unknown name); the caller owns it.
QList<QByteArray> previewDialogNames();
QDialog* makePreviewDialog(const QByteArray& name);
