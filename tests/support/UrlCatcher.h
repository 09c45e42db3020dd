#pragma once
// Takes the URLs the program hands to the desktop, in place of a browser:
//   UrlCatcher catcher;
//   QDesktopServices::setUrlHandler("https", &catcher, "open");
#include <QList>
#include <QObject>
#include <QUrl>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};
