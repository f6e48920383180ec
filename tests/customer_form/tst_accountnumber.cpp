#include "customer_form/AccountNumber.h"
#include "customer_form/Text.h"

#include <QtTest>

// The account-number rule, the order of the required-field check, and the
// text helpers the rule is built on.
class TestAccountNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rule_data();
    void rule();
    void firstMissing_data();
    void firstMissing();
    void leftmostKeepsCharactersWhole_data();
    void leftmostKeepsCharactersWhole();
};

void TestAccountNumber::rule_data()
{
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("zipCode");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QString &last, const QString &zip,
                        const QString &date, const QString &expected) {
        QTest::newRow(name) << last << zip << date << expected;
    };
    row("Smith", "Smith", "01234", "12/31/04", "SM01212/31/04");
    row("lower-case smith", "smith", "01234", "12/31/04", "SM01212/31/04");
    row("McDonald", "McDonald", "10001", "01/15/05", "MC10001/15/05");
    row("one-letter last name", "O", "02134", "06/30/05", "O02106/30/05");
    row("two-character zip code", "Lee", "12", "1/1/05", "LE121/1/05");
    row("long zip code is cut", "Smith", "01234-5678", "12/31/04", "SM01212/31/04");
    row("zip code with letters keeps its case", "Smith", "k1a 0b1", "12/31/04", "SMk1a12/31/04");
    row("apostrophe stays", "o'brien", "60614", "3/1/05", "O'6063/1/05");
    row("date copied whole", "Smith", "01234", "Dec 2004", "SM012Dec 2004");
    row("Smythe shares Smith's number", "Smythe", "01299", "12/31/04", "SM01212/31/04");
    row("leading space kept", " smith", "01234", "12/31/04", " S01212/31/04");
    row("only spaces pass", "   ", " ", " ", "    ");
    row("one-character zip code", "Smith", "0", "1/1/05", "SM01/1/05");
    // Full case mapping lengthens the name before it is cut.
    row("sharp s upper-cases to SS", "ßmith", "01234", "1/1/05", "SS0121/1/05");
    row("accented letters upper-case", "élan", "75001", "1/1/05", "ÉL7501/1/05");
    row("combining accent stays with its letter", "e\u0301lan", "75001", "1/1/05",
        "E\u0301L7501/1/05");
    row("letter outside the BMP stays whole", "\U00010428x", "01234", "1/1/05",
        "\U00010400X0121/1/05");
    row("zip code of emoji keeps each whole", "Li", "\U0001F600\U0001F601\U0001F602\U0001F603",
        "1/1/05", "LI\U0001F600\U0001F601\U0001F6021/1/05");
    row("right-to-left name", "שלום", "01234", "1/1/05", "של0121/1/05");
    row("right-to-left name with vowel points", "שָׁלוֹם", "01234", "12/31/04", "שָׁל01212/31/04");
    row("Arabic name", "محمد", "01234", "12/31/04", "مح01212/31/04");
    row("Arabic-Indic digits in the zip code", "Smith", "١٢٣٤٥", "12/31/04", "SM١٢٣12/31/04");
    row("stacked combining marks stay with their letter", "z\u0335\u0321\u0358a", "01234",
        "12/31/04", "Z\u0335\u0321\u0358A01212/31/04");
    row("combining mark with no letter counts once", "Smith", "\u030101234", "12/31/04",
        "SM\u03010112/31/04");
    row("family emoji is one character", "👩‍👩‍👧x", "01234", "12/31/04",
        "👩‍👩‍👧X01212/31/04");
    row("flag is one character", "🇩🇪x", "01234", "12/31/04", "🇩🇪X01212/31/04");
    row("ligature upper-cases to two letters", "ﬁsh", "01234", "12/31/04", "FI01212/31/04");
    row("last name of one space", " ", "01234", "12/31/04", " 01212/31/04");
}

void TestAccountNumber::rule()
{
    QFETCH(QString, lastName);
    QFETCH(QString, zipCode);
    QFETCH(QString, date);
    QFETCH(QString, expected);
    QCOMPARE(accountNumber(lastName, zipCode, date), expected);
}

void TestAccountNumber::firstMissing_data()
{
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("zipCode");
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("missing"); // -1: nothing missing
    QTest::addColumn<QString>("prompt");

    QTest::newRow("all empty: last name first") << ""
                                                << ""
                                                << "" << 0 << "Enter Last Name";
    QTest::newRow("zip code and date empty") << "Smith"
                                             << ""
                                             << "" << 1 << "Enter Full Zip Code";
    QTest::newRow("date empty") << "Smith"
                                << "01234"
                                << "" << 2 << "Enter Expiration Date";
    QTest::newRow("only the last name empty") << ""
                                              << "01234"
                                              << "1/1/05" << 0 << "Enter Last Name";
    QTest::newRow("spaces are content") << " "
                                        << " "
                                        << " " << -1 << "";
    QTest::newRow("all filled") << "Smith"
                                << "0"
                                << "x" << -1 << "";
}

void TestAccountNumber::firstMissing()
{
    QFETCH(QString, lastName);
    QFETCH(QString, zipCode);
    QFETCH(QString, date);
    QFETCH(int, missing);
    QFETCH(QString, prompt);

    const std::optional<RequiredField> field = ::firstMissing(lastName, zipCode, date);
    QCOMPARE(field ? static_cast<int>(*field) : -1, missing);
    if (field)
        QCOMPARE(missingPrompt(*field), prompt);
}

void TestAccountNumber::leftmostKeepsCharactersWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    QTest::newRow("shorter text is whole") << "ab" << 3 << "ab";
    QTest::newRow("empty text") << "" << 2 << "";
    QTest::newRow("zero characters") << "abc" << 0 << "";
    QTest::newRow("surrogate pair counts once") << "\U0001F600abc" << 2 << "\U0001F600a";
    QTest::newRow("combining marks stay") << "a\u0301\u0323bc" << 1 << "a\u0301\u0323";
    QTest::newRow("Hangul jamo syllable") << "\u1100\u1161\u11A8x" << 1 << "\u1100\u1161\u11A8";
    QTest::newRow("unpaired surrogate is one character")
        << QString(QChar(0xD800)) + QStringLiteral("ab") << 2
        << QString(QChar(0xD800)) + QStringLiteral("a");
    QTest::newRow("embedded NUL is a character")
        << QString(QChar(u'\0')) + QStringLiteral("ab") << 2
        << QString(QChar(u'\0')) + QStringLiteral("a");
}

void TestAccountNumber::leftmostKeepsCharactersWhole()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(leftmost(text, n), expected);
}

QTEST_GUILESS_MAIN(TestAccountNumber)
#include "tst_accountnumber.moc"
