#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1020, 700);
    window.setWindowTitle(QStringLiteral("Kavro Mouse Software"));
    window.show();
    return app.exec();
}
