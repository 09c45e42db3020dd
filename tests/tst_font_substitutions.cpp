// The forms' font family resolves to an installed font that draws Korean and Japanese.
#include "common/Fonts.h"
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

class FontSubstitutionsTest : public QObject {
    Q_OBJECT

private slots:
    void formFontDrawsEveryLanguage_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::newRow("latin") << QStringLiteral("Please connect");
        QTest::newRow("polish") << QStringLiteral("Połącz mysz");
        QTest::newRow("cyrillic") << QStringLiteral("Підключіть мишу");
        QTest::newRow("korean") << QStringLiteral("마우스를 연결");
        QTest::newRow("japanese") << QStringLiteral("マウスを接続");
    }

    void formFontDrawsEveryLanguage()
    {
        QFETCH(QString, sample);
        installFontSubstitutions();
        QFont font(QStringLiteral("微软雅黑"));
        font.setPointSize(11);
        const QString family = QFontInfo(font).family();
        QVERIFY2(family == QLatin1String("WenQuanYi Micro Hei") || family == QLatin1String("DejaVu Sans"),
            qPrintable(family));
        const QFontMetrics metrics(font);
        for (const QChar ch : sample)
            QVERIFY2(ch.isSpace() || metrics.inFont(ch), qPrintable(QString(ch)));
    }
};

QTEST_MAIN(FontSubstitutionsTest)
#include "tst_font_substitutions.moc"
