#include "base/Cp932.h"

#include <QtTest>

// The Japanese ANSI code page the status window's texts are held in.
class TestCp932 : public QObject {
    Q_OBJECT

private slots:
    void codePage_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QString>("held");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("firstThreeBytes");
        QTest::newRow("ASCII") << QByteArray("Map 1") << "Map 1" << 5 << "Map";
        QTest::newRow("half-width katakana") << QByteArray("ｶﾅｰｯ") << "ｶﾅｰｯ" << 4 << "ｶﾅｰ";
        QTest::newRow("kanji") << QByteArray("置換") << "置換" << 4 << "置";
        QTest::newRow("kana") << QByteArray("あア") << "あア" << 4 << "あ";
        QTest::newRow("vendor rows") << QByteArray("①髙") << "①髙" << 4 << "①";
        QTest::newRow("written like another") << QByteArray("〜¢") << "～￠" << 4 << "～";
        QTest::newRow("lacked") << QByteArray("a€b😀¥") << "a?b??" << 5 << "a?b";
        QTest::newRow("double-byte after two bytes") << QByteArray("ab置") << "ab置" << 4 << "ab";
        QTest::newRow("cut-off keeps the next") << QByteArray("\xE3\x81" "A") << "?A" << 2 << "?A";
        QTest::newRow("cut-off at the end") << QByteArray("a\xE3\x81") << "a?" << 2 << "a?";
        QTest::newRow("stray bytes") << QByteArray("\x80\xBF\xFFz") << "???z" << 4 << "???";
        QTest::newRow("overlong, surrogate, too high")
            << QByteArray("\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80") << "???" << 3 << "???";
        QTest::newRow("empty") << QByteArray() << "" << 0 << "";
    }
    void codePage()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QString, held);
        QFETCH(int, bytes);
        QFETCH(QString, firstThreeBytes);
        QCOMPARE(QString::fromStdString(Cp932::HeldText(utf8.toStdString())), held);
        QCOMPARE(Cp932::ByteLength(utf8.toStdString()), std::size_t(bytes));
        QCOMPARE(QString::fromStdString(Cp932::Prefix(utf8.toStdString(), 3)), firstThreeBytes);
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_base_cp932.moc"
