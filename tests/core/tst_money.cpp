#include "core/base/errors.h"
#include "core/base/money.h"
#include "support/coresupport.h"

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void parsesCommaText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "50" << 50.0;
        QTest::newRow("two decimals") << "12,50" << 12.5;
        QTest::newRow("one decimal") << "2,5" << 2.5;
        QTest::newRow("trailing comma") << "7," << 7.0;
        QTest::newRow("leading comma") << ",5" << 0.5;
        QTest::newRow("negative") << "-2,50" << -2.5;
        QTest::newRow("zero") << "0,00" << 0.0;
        QTest::newRow("spaces around") << " 3,25 " << 3.25;
        QTest::newRow("15 significant digits") << "1234567890123,45" << 1234567890123.45;
        QTest::newRow("trailing zeros do not count") << "1,50000000000000000000" << 1.5;
        QTest::newRow("below the cent") << "0,0000000000000001" << 1e-16;
        QTest::newRow("exponent kept exact") << "1E3" << 1000.0;
    }
    void parsesCommaText() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Money::parse(text), value);
        QVERIFY(Money::isValid(text));
    }

    void refusesMalformedText_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("comma alone") << ",";
        QTest::newRow("two commas") << "1,2,3";
        QTest::newRow("full stop") << "1.5";
        QTest::newRow("letters") << "abc";
        QTest::newRow("grouping") << "1.234,50";
        QTest::newRow("currency sign") << "R$ 5,00";
        QTest::newRow("minus alone") << "-";
        // too large to be kept to the cent: refused by the check as by the reading
        QTest::newRow("16 significant digits") << "12345678901234,56";
        QTest::newRow("16 digits of units") << "1000000000000000";
        QTest::newRow("exponent past 15 digits") << "1E15";
        QTest::newRow("out of range") << "1E400";
        QTest::newRow("underflow") << "1E-400";
        QTest::newRow("four hundred nines") << QString(400, '9');
    }
    void refusesMalformedText() {
        QFETCH(QString, text);
        QVERIFY(!Money::isValid(text));
        QVERIFY_THROWS_EXCEPTION(ConversionError, Money::parse(text));
    }

    void formatsTwoDecimalsHalfAwayFromZero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0,00";
        QTest::newRow("twelve and a half") << 12.5 << "12,50";
        QTest::newRow("minus two and a half") << -2.5 << "-2,50";
        QTest::newRow("2,675 rounds up") << 2.675 << "2,68";
        QTest::newRow("1,005 rounds up") << 1.005 << "1,01";
        QTest::newRow("-1,005 rounds away") << -1.005 << "-1,01";
        QTest::newRow("sum 0,1+0,2") << 0.1 + 0.2 << "0,30";
        QTest::newRow("tiny negative is zero") << -0.001 << "0,00";
        QTest::newRow("large") << 1234567.891 << "1234567,89";
        QTest::newRow("no grouping") << 1234.5 << "1234,50";
        QTest::newRow("carry") << 9.995 << "10,00";
        QTest::newRow("15 significant digits") << 0.1 * 3 * 1000000000000.0 << "300000000000,00";
    }
    void formatsTwoDecimalsHalfAwayFromZero() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Money::format(value), text);
    }

    void countsHaveNoDecimals() {
        QCOMPARE(Money::count(12), QStringLiteral("12"));
        QCOMPARE(Money::count(0), QStringLiteral("0"));
        QCOMPARE(Money::count(2.5), QStringLiteral("3"));
    }

    // Centavos: read to the cent as the texts are formatted, and exact however many are added.
    void cents() {
        for (const auto& [text, value] : {std::pair{"2,675", 268},
                                          {"-1,005", -101},
                                          {"0,1", 10},
                                          {"1E3", 100000},
                                          {"  7,5 ", 750},
                                          {"0,004", 0}})
            QCOMPARE(Cents::parse(QLatin1String(text)).value(), qint64(value));
        QVERIFY_THROWS_EXCEPTION(ConversionError, Cents::parse(QStringLiteral("1,2,3")));
        Cents sum;
        for (int i = 0; i < 100000; ++i)
            sum += Cents::parse(QStringLiteral("0,10"));
        QCOMPARE(sum.text(), QStringLiteral("10000,00"));
        QCOMPARE((Cents(5) - Cents(1005)).text(), QStringLiteral("-10,00"));
        QCOMPARE(Cents(-7).text(), QStringLiteral("-0,07"));
    }

    void roundTripsThroughText() {
        double total = 0;
        for (const char* price : {"12,50", "7,5", "2,675"})
            total += Money::parse(QLatin1String(price));
        QCOMPARE(Money::format(total), QStringLiteral("22,68"));
        QCOMPARE(Money::format(Money::parse(QStringLiteral("50")) + 12.5 + 7.5), QStringLiteral("70,00"));
    }
};

QUORVANTA_CORE_TEST_MAIN(TestMoney)
#include "tst_money.moc"
