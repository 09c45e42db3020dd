#include "shell/ChoiceTiles.h"

const char* const ChoiceUnknownPicture = "Unknow.png";
const char* const ChoiceOfflineMarkPicture = "DisOnline.png";

namespace {

const int PictureMids[] = {1, 2, 4, 5, 6, 10, 13, 14, 15, 19, 20};
constexpr int PictureCount = int(sizeof(PictureMids) / sizeof(PictureMids[0]));

}  // namespace

int choicePictureNumber(int mid)
{
    for (int k = 0; k < PictureCount; ++k) {
        if (PictureMids[k] == mid)
            return k;
    }
    return -1;
}

QString choiceOnlinePicture(int mid)
{
    const int k = choicePictureNumber(mid);
    return k < 0 ? QString() : QStringLiteral("OnLine%1.png").arg(k);
}

QString choiceOfflinePicture(int mid)
{
    const int k = choicePictureNumber(mid);
    return k < 0 ? QString() : QStringLiteral("DisOnlin%1.png").arg(k);
}

QString choiceBadgePicture(int kind)
{
    switch (kind) {
    case 0: return QStringLiteral("1KHz.png");
    case 4: return QStringLiteral("2KHz.png");
    case 1: return QStringLiteral("4KHz.png");
    case 3:
    case 5: return QStringLiteral("8KHz.png");
    default: return QString();
    }
}

QString choiceConnectionPicture(int cableFlag)
{
    return cableFlag != 0 ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png");
}

QStringList choiceTilePictures()
{
    QStringList pictures{QString::fromLatin1(ChoiceUnknownPicture)};
    for (int k = 0; k < PictureCount; ++k)
        pictures << choiceOnlinePicture(PictureMids[k]) << choiceOfflinePicture(PictureMids[k]);
    return pictures;
}

QStringList choiceMarkPictures()
{
    return {QString::fromLatin1(ChoiceOfflineMarkPicture), choiceConnectionPicture(1), choiceConnectionPicture(0)};
}

QStringList choiceBadgePictures()
{
    QStringList pictures;
    for (int kind : {0, 4, 1, 5})
        pictures << choiceBadgePicture(kind);
    return pictures;
}

QVector<int> choicePageSizes(int deviceCount)
{
    QVector<int> sizes;
    if (deviceCount <= 0)
        return sizes;
    for (int i = 0; i < deviceCount / 3; ++i)
        sizes.append(3);
    if (deviceCount % 3 != 0)
        sizes.append(deviceCount % 3);
    return sizes;
}

ChoiceTilePlace choiceTilePlace(int tilesOnPage, int position)
{
    if (tilesOnPage == 1)
        return {QPoint(305, 0), QPoint(530, 20), QPoint(312, 10)};
    if (tilesOnPage == 2) {
        if (position == 0)
            return {QPoint(135, 0), QPoint(360, 20), QPoint(142, 10)};
        return {QPoint(445, 0), QPoint(665, 20), QPoint(452, 10)};
    }
    const int x = 300 * qBound(0, position, 2);
    return {QPoint(x, 0), QPoint(x + 225, 20), QPoint(x + 7, 10)};
}
