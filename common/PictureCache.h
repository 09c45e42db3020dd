#pragma once
#include <QString>

// Every picture of the program is decoded once and then shared by every widget and style rule
// that shows it. Style sheets load their url() pictures through Qt's pixmap cache, which is
// keyed by the file's path. Its default size (10 MB) is less than the pictures the program
// shows, so pictures fell out of it and were decoded again, and were held twice while a
// widget still showed the older copy.
namespace PictureCache {

// Makes the pixmap cache large enough to hold every picture below `pictureRoot` besides what
// Qt keeps there by default.
void holdPicturesOf(const QString& pictureRoot);

// The decoded size, in KiB, of the PNG pictures below `folder`, read from their headers
// (4 bytes a pixel); files that are not PNG pictures count nothing.
int decodedKiB(const QString& folder);

}  // namespace PictureCache
