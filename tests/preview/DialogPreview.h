#pragma once
#include <QByteArray>

// Builds the named notice or confirmation dialog (its class name, for example "ContainReset"),
// runs it until it is closed and returns 0; an unknown name lists the known ones on standard
// error and returns 2.
int runDialogPreview(const QByteArray& name);
