#include "platform/errors.h"
#include "support/process_locale.h"
#include "tools/euro_converter.h"
#include "tools/number_text.h"
#include "tools/pocket_calculator.h"

#include <QTest>

using namespace tarvik;

// Drives the calculator with a line of keys: digits, ",", "+-*/", "=", "r" for
// 1/x, "q" for sqr, "C".
static void press(PocketCalculator& calc, const QString& keys)
{
    for (QChar k : keys) {
        const char c = char(k.unicode());
        if (c >= '0' && c <= '9')
            calc.digit(c - '0');
        else if (c == ',')
            calc.comma();
        else if (c == '=')
            calc.equals();
        else if (c == '+')
            calc.applyOperator(PocketCalculator::Operator::Add);
        else if (c == '-')
            calc.applyOperator(PocketCalculator::Operator::Subtract);
        else if (c == '*')
            calc.applyOperator(PocketCalculator::Operator::Multiply);
        else if (c == '/')
            calc.applyOperator(PocketCalculator::Operator::Divide);
        else if (c == 'r')
            calc.reciprocal();
        else if (c == 'q')
            calc.squareRoot();
        else if (c == 'C')
            calc.reset();
    }
}

class TstCalculators : public QObject
{
    Q_OBJECT
private slots:
    void floatToStr_data();
    void floatToStr();
    void formatFixed_data();
    void formatFixed();
    void strToFloat_data();
    void strToFloat();
    void sequences_data();
    void sequences();
    void failuresKeepState_data();
    void failuresKeepState();
    void calculatorKeys();
    void conversions_data();
    void conversions();
    void rateArrows();
    void digitAfterResultClears();
    void converterIgnoresBadInput();
    void frenchMachine_data();
    void frenchMachine();
};

void TstCalculators::floatToStr_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 3.0 << "3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("half") << 3.5 << "3,5";
    QTest::newRow("negative") << -0.25 << "-0,25";
    QTest::newRow("third") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("small fixed") << 0.0001 << "0,0001";
    QTest::newRow("small exponent") << 0.00001 << "1E-5";
    QTest::newRow("15 integer digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 integer digits") << 1234567890123456.0 << "1,23456789012346E15";
    QTest::newRow("big") << 1e20 << "1E20";
}

void TstCalculators::floatToStr()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numtext::floatToStr(value), text);
}

void TstCalculators::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("half up to even") << 9.5 << 0 << "10";
    QTest::newRow("half up to odd") << 10.5 << 0 << "11";
    QTest::newRow("below half") << 20.4 << 0 << "20";
    QTest::newRow("two decimals") << 3.0 << 2 << "3,00";
    QTest::newRow("carry") << 0.999 << 2 << "1,00";
    QTest::newRow("negative zero") << -0.001 << 2 << "0,00";
}

void TstCalculators::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(numtext::formatFixed(value, decimals), text);
}

void TstCalculators::strToFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "3,5" << true << 3.5;
    QTest::newRow("trailing comma") << "8," << true << 8.0;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("exponent") << "1E-5" << true << 0.00001;
    QTest::newRow("blanks and sign") << " -2 " << true << -2.0;
    QTest::newRow("dot") << "3.5" << false << 0.0;
    QTest::newRow("two commas") << "3,5,1" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("comma only") << "," << false << 0.0;
    QTest::newRow("open exponent") << "1E" << false << 0.0;
    QTest::newRow("out of range") << "1E99999" << false << 0.0;
}

void TstCalculators::strToFloat()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto v = numtext::strToFloat(text);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(double(*v), value);
}

void TstCalculators::sequences_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::newRow("divide") << "7/2="
                            << "3,5";
    QTest::newRow("reciprocal") << "4r"
                                << "0,25";
    QTest::newRow("square root") << "9q"
                                 << "3";
    QTest::newRow("equals repeats") << "5+3="
                                    << "8";
    QTest::newRow("equals twice") << "5+3=="
                                  << "16";
    QTest::newRow("left to right") << "2+3*4="
                                   << "20";
    QTest::newRow("chained shows step") << "2+3*"
                                        << "5";
    QTest::newRow("digit after result") << "7/2=1"
                                        << "1";
    QTest::newRow("comma after result") << "7/2=,"
                                        << "3,5,";
    QTest::newRow("comma then digit") << "5+3=,2"
                                      << "2";
    QTest::newRow("decimal typing") << "1,5*2="
                                    << "3";
    QTest::newRow("noise trimmed") << "0,1+0,2="
                                   << "0,3";
    QTest::newRow("long result cut") << "1/3="
                                     << "0,3333333333333";
    QTest::newRow("exponent kept whole") << "1/3/100000="
                                         << "3,33333333333333E-6";
    QTest::newRow("equals alone") << "12="
                                  << "12";
    QTest::newRow("equals on nothing") << "="
                                       << "";
    QTest::newRow("clear") << "5+3C"
                           << "";
    QTest::newRow("after clear") << "5+3C2*3="
                                 << "6";
    QTest::newRow("reciprocal then operator") << "4r+1="
                                              << "1,25";
}

void TstCalculators::sequences()
{
    QFETCH(QString, keys);
    QFETCH(QString, display);
    PocketCalculator calc;
    press(calc, keys);
    QCOMPARE(calc.display(), display);
}

void TstCalculators::failuresKeepState_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("failing");
    QTest::newRow("divide by zero") << "7/0"
                                    << "=";
    QTest::newRow("reciprocal of zero") << "0"
                                        << "r";
    QTest::newRow("root of negative") << "4-9="
                                      << "q";
    QTest::newRow("operator on bad display") << "7/2=,,"
                                             << "+";
    QTest::newRow("equals on bad display") << "7+1,2,"
                                           << "=";
    QTest::newRow("operator on empty") << ""
                                       << "-";
    // Squaring at each "=": 9^4096 still fits, the next one does not.
    QTest::newRow("overflow") << "9*============"
                              << "=";
}

void TstCalculators::failuresKeepState()
{
    QFETCH(QString, keys);
    QFETCH(QString, failing);
    PocketCalculator calc;
    press(calc, keys);
    const QString display = calc.display();
    const long double acc = calc.accumulator();
    const auto pending = calc.pending();
    const bool started = calc.operationStarted();
    const bool newNumber = calc.newNumber();
    QVERIFY_THROWS_EXCEPTION(TarvikError, press(calc, failing));
    QCOMPARE(calc.display(), display);
    QCOMPARE(calc.accumulator(), acc);
    QCOMPARE(calc.pending(), pending);
    QCOMPARE(calc.operationStarted(), started);
    QCOMPARE(calc.newNumber(), newNumber);
}

void TstCalculators::calculatorKeys()
{
    QCOMPARE(PocketCalculator::buttonForKey('7'), QStringLiteral("Button7"));
    QCOMPARE(PocketCalculator::buttonForKey('.'), QStringLiteral("Button10"));
    QCOMPARE(PocketCalculator::buttonForKey(','), QStringLiteral("Button10"));
    QCOMPARE(PocketCalculator::buttonForKey('='), QStringLiteral("Button11"));
    QCOMPARE(PocketCalculator::buttonForKey('/'), QStringLiteral("Button15"));
    QCOMPARE(PocketCalculator::buttonForKey('x'), QStringLiteral("Button16"));
    QCOMPARE(PocketCalculator::buttonForKey('S'), QStringLiteral("Button17"));
    QCOMPARE(PocketCalculator::buttonForKey('c'), QStringLiteral("Button18"));
    QCOMPARE(PocketCalculator::buttonForKey('a'), QString());
    QCOMPARE(EuroConverter::buttonForKey('.'), QStringLiteral("Button12"));
    QCOMPARE(EuroConverter::buttonForKey('\r'), QStringLiteral("Button11"));
    QCOMPARE(EuroConverter::buttonForKey('+'), QString());
}

void TstCalculators::conversions_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("toEuros");
    QTest::addColumn<QString>("result");
    QTest::newRow("100 F") << "100" << true << "15,24";
    QTest::newRow("6,55957 F") << "6,55957" << true << "1";
    QTest::newRow("1 E") << "1" << false << "6,6";
    QTest::newRow("10 E") << "10" << false << "65,6";
    QTest::newRow("100 E") << "100" << false << "656";
    QTest::newRow("1,5 E") << "1,5" << false << "9,8";
}

void TstCalculators::conversions()
{
    QFETCH(QString, amount);
    QFETCH(bool, toEuros);
    QFETCH(QString, result);
    EuroConverter conv;
    conv.setDirection(toEuros ? EuroConverter::Direction::FrancsToEuros
                              : EuroConverter::Direction::EurosToFrancs);
    for (QChar c : amount)
        conv.type(c);
    conv.convert();
    QCOMPARE(conv.input(), amount);
    QCOMPARE(conv.result(), result);
}

void TstCalculators::rateArrows()
{
    EuroConverter conv;
    QCOMPARE(conv.rateText(), QStringLiteral("6,55957"));
    conv.rateDown();
    QCOMPARE(conv.rateText(), QStringLiteral("6,55956"));
    conv.rateUp();
    conv.rateUp();
    QCOMPARE(conv.rateText(), QStringLiteral("6,55958"));

    // The rate steps down to one hundred-thousandth and no further.
    while (conv.rate() > 3)
        conv.rateDown();
    conv.rateDown();
    conv.rateDown();
    QCOMPARE(conv.rate(), 1);
    conv.rateDown();
    QCOMPARE(conv.rate(), 1);
    QCOMPARE(conv.rateText(), QStringLiteral("1E-5"));

    // The changed rate is used by the next conversion.
    conv.type('2');
    conv.convert();
    QCOMPARE(conv.result(), QStringLiteral("200000"));
}

void TstCalculators::digitAfterResultClears()
{
    EuroConverter conv;
    conv.type('1');
    conv.type('.'); // counts as a comma
    conv.type('5');
    QCOMPARE(conv.input(), QStringLiteral("1,5"));
    conv.setDirection(EuroConverter::Direction::EurosToFrancs);
    conv.convert();
    QVERIFY(!conv.result().isEmpty());
    conv.type('3');
    QCOMPARE(conv.input(), QStringLiteral("3"));
    QCOMPARE(conv.result(), QString());
    // The direction changes nothing until the next conversion.
    conv.setDirection(EuroConverter::Direction::FrancsToEuros);
    QCOMPARE(conv.result(), QString());
}

void TstCalculators::converterIgnoresBadInput()
{
    EuroConverter conv;
    conv.type(',');
    conv.type(',');
    conv.convert();
    QCOMPARE(conv.result(), QString());
    QCOMPARE(conv.input(), QStringLiteral(",,"));
    conv.type('4'); // a conversion was tried: a new amount starts
    QCOMPARE(conv.input(), QStringLiteral("4"));
}

// On a French machine the C library writes and reads numbers with a comma:
// the texts must come out the same as anywhere else.
void TstCalculators::frenchMachine_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::newRow("divide") << "7/2="
                            << "3,5";
    QTest::newRow("sum") << "5+3="
                         << "8";
    QTest::newRow("typed decimals") << "1,5*2="
                                    << "3";
    QTest::newRow("exponent") << "1/3/100000="
                              << "3,33333333333333E-6";
    QTest::newRow("square root") << "2q"
                                 << "1,4142135623731";
}

void TstCalculators::frenchMachine()
{
    QFETCH(QString, keys);
    QFETCH(QString, display);
    const ProcessLocale french(FrenchLocale);
    QVERIFY2(french.ok(), "the fr_FR.UTF-8 locale is missing: run scripts/deps.sh");

    PocketCalculator calc;
    press(calc, keys);
    QCOMPARE(calc.display(), display);

    QCOMPARE(numtext::formatFixed(0.455, 2), QStringLiteral("0,46"));
    QCOMPARE(numtext::strToFloat(QStringLiteral("1,25E2")).value_or(0), 125.0L);
    QCOMPARE(numtext::strToFloat(QStringLiteral("1E-99999")).value_or(1), 0.0L);
    EuroConverter conv;
    QCOMPARE(conv.rateText(), QStringLiteral("6,55957"));
    for (QChar c : QStringLiteral("100"))
        conv.type(c);
    conv.convert();
    QCOMPARE(conv.result(), QStringLiteral("15,24"));
}

QTEST_GUILESS_MAIN(TstCalculators)
#include "tst_calculators.moc"
