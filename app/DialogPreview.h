#pragma once

// Shows one notice or confirmation dialog by itself, for screenshots: the environment variable
// KAVRO_SHOW_DIALOG names its class (for example KAVRO_SHOW_DIALOG=ContainReset).
bool dialogPreviewRequested();

// Builds the named dialog, runs it until it is closed and returns 0; an unknown name lists the
// known ones on standard error and returns 2.
int runDialogPreview();
