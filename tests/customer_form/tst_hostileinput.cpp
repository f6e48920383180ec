#include "Driver.h"
#include "RecordingPrinter.h"
#include "printing/Labels.h"

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

// Text a user might paste into the customer form: as long as a box takes, full
// of control characters, broken UTF-16, right-to-left or combining. Whatever
// goes in must come back out unchanged (in the boxes, on display and on the
// labels), and the account number must follow its rule character by
// user-perceived character (tst_accountnumber holds the rule's own cases).
// Longer text is refused whole, never cut, and a full box still answers a key
// press at once.
class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void pastedTextSurvivesAddDisplayAndPrinting_data();
    void pastedTextSurvivesAddDisplayAndPrinting();
    void duplicateOfTheLongestNumberIsReportedAtOnce();
    void textLongerThanABoxTakesIsRefused_data() { boxes(); }
    void textLongerThanABoxTakesIsRefused();
    void keyPressInAFullBoxIsQuick_data() { boxes(); }
    void keyPressInAFullBoxIsQuick();

private:
    static void boxes();
    QListWidget *list() const { return control<QListWidget>(&program->main, "lstCustomer"); }

    std::unique_ptr<Program<>> program;
};

namespace {

// Text of exactly length UTF-16 units in several scripts, the costliest kind
// to lay out: each needs its own font and shaping.
QString mixedScripts(qsizetype length)
{
    const QString unit = QStringLiteral("Müller 東京 שלום مرحبا नमस्ते 😀 ");
    QString text = unit.repeated(length / unit.size() + 1).left(length);
    if (text.back().isHighSurrogate())
        text.back() = u'x';
    return text;
}

// Replaces the box's text with text the way a user pastes: Ctrl+A, Ctrl+V.
void paste(QLineEdit *box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Compares texts that may be a megabyte long without printing them whole.
bool same(const QString &actual, const QString &expected, QString &why)
{
    if (actual == expected)
        return true;
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual.at(at) == expected.at(at))
        ++at;
    why = QStringLiteral("lengths %1 and %2, first difference at %3")
              .arg(actual.size())
              .arg(expected.size())
              .arg(at);
    return false;
}

#define VERIFY_SAME(actual, expected)                                                              \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2(same((actual), (expected), why), qPrintable(QStringLiteral(#actual ": ") + why)); \
    } while (false)

// The whole literal, embedded NULs and unpaired surrogates included.
template <std::size_t N> QString utf16(const char16_t (&text)[N])
{
    return QString::fromUtf16(text, qsizetype(N - 1));
}

} // namespace

// The limit a user meets, stated here too: the cases below take their sizes
// from the code, so a wrong limit must fail first, before they build text of
// its size.
void TestHostileInput::initTestCase()
{
    QCOMPARE(frmMailingLabels::MaxTextLength, qsizetype(2000));
}

void TestHostileInput::init()
{
    program = std::make_unique<Program<>>();
    QVERIFY(program->show());
}

void TestHostileInput::cleanup()
{
    program.reset();
}

void TestHostileInput::pastedTextSurvivesAddDisplayAndPrinting_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("account");

    // The other boxes hold Smith, 01234 and 12/31/04: the account number is
    // the part that the hostile text yields, with theirs around it.
    const auto lastName = [](const char *row, const QString &text, const QString &namePart) {
        QTest::newRow(row) << "txtLastName" << text << namePart + "01212/31/04";
    };
    const auto zipCode = [](const char *row, const QString &text, const QString &zipPart) {
        QTest::newRow(row) << "txtZipCode" << text << "SM" + zipPart + "12/31/04";
    };
    const auto date = [](const char *row, const QString &text) {
        QTest::newRow(row) << "txtExpirationDate" << text << "SM012" + text;
    };
    const auto elsewhere = [](const char *row, const char *box, const QString &text) {
        QTest::newRow(row) << box << text << "SM01212/31/04";
    };

    const QString longest =
        QStringLiteral("mailorder").repeated(300).left(frmMailingLabels::MaxTextLength);
    lastName("last name as long as a box takes", longest, "MA");
    date("expiration date as long as a box takes", longest);
    elsewhere("catalogue as long as a box takes", "cboCatalog", longest);

    lastName("NUL inside the last name", utf16(u"a\0b"), utf16(u"A\0"));
    zipCode("NUL inside the zip code", utf16(u"0\u00001234"), utf16(u"0\u00001"));
    date("tab, CR, LF, ESC and DEL in the date", utf16(u"\t12/31\r\n04\x1b\x7f"));
    lastName("CR LF is one character", utf16(u"\r\nab"), utf16(u"\r\nA"));
    elsewhere("line break in the first name", "txtFirstName", utf16(u"Ann\nMarie"));
    elsewhere("terminal escape in the street", "txtStreet", utf16(u"\a\x1b[2J1 Elm St"));
    elsewhere("form feed in the city", "txtCity", utf16(u"Spring\ffield"));

    lastName("unpaired high surrogate", utf16(u"\xD800mith"), utf16(u"\xD800M"));
    zipCode("unpaired low surrogate", utf16(u"\xDC00k1a 0b1"), utf16(u"\xDC00k1"));
    lastName("surrogates in the wrong order", utf16(u"\xDC00\xD800x"), utf16(u"\xDC00\xD800"));
    lastName("surrogate pair is one character", utf16(u"\U0001D49Cbc"), utf16(u"\U0001D49CB"));
    elsewhere("unpaired surrogate in the state", "txtState", utf16(u"I\xDBFF"));

    elsewhere("right-to-left override in the first name", "txtFirstName", utf16(u"\u202Enna"));

    // Last names in other scripts and shapes: each must come back whole from
    // the list, the display and both kinds of label.
    lastName("Hebrew", utf16(u"שלום"), utf16(u"של"));
    lastName("Hebrew with vowel points", utf16(u"שָׁלוֹם"), utf16(u"שָׁל"));
    lastName("Arabic", utf16(u"محمد"), utf16(u"مح"));
    lastName("combining accent stays with its letter", utf16(u"e\u0301clair"), utf16(u"E\u0301C"));
    lastName("stacked combining marks", utf16(u"z\u0335\u0321\u0358a"),
             utf16(u"Z\u0335\u0321\u0358A"));
    lastName("family emoji is one character", utf16(u"👩‍👩‍👧x"),
             utf16(u"👩‍👩‍👧X"));
    lastName("flag is one character", utf16(u"🇩🇪x"), utf16(u"🇩🇪X"));
    lastName("ligature upper-cases to two letters", utf16(u"ﬁsh"), "FI");
    lastName("last name of only spaces", "   ", "  ");
}

void TestHostileInput::pastedTextSurvivesAddDisplayAndPrinting()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, account);

    Fields customer{"Smith", "Ann",   "1 Elm St", "Springfield",
                    "IL",    "01234", "12/31/04", "Spiegel"};
    for (const FieldBox &field : FieldBoxes)
        if (box == QLatin1String(field.name))
            customer.*field.field = text;

    QElapsedTimer clock;
    clock.start();
    program->driver.onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        for (const FieldBox &field : FieldBoxes) {
            paste(editor(&form, field.name), customer.*field.field);
            VERIFY_SAME(editor(&form, field.name)->text(), customer.*field.field);
        }
        // An access key animates the click: it lands a moment later.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(!form.isVisible());
    });
    QCOMPARE(list()->count(), 1);
    VERIFY_SAME(list()->item(0)->text(), account);

    const QString name = nameLine(customer.firstName, customer.lastName, account);
    const QString city = cityLine(customer.city, customer.state, customer.zipCode);
    list()->setCurrentRow(0);
    program->driver.onCustomerForm("cmdDisplay", [&](frmMailingLabels &form) {
        for (const FieldBox &field : FieldBoxes)
            VERIFY_SAME(editor(&form, field.name)->text(), customer.*field.field);
        VERIFY_SAME(control<QLabel>(&form, "lblAccountNumber")->text(), account);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(program->printer.jobs.size(), 1);
    });
    control<QPushButton>(&program->main, "cmdPrintAll")->click();

    QCOMPARE(program->printer.jobs.size(), 2);
    const QStringList one = program->printer.jobs.at(0);
    const QStringList all = program->printer.jobs.at(1);
    QCOMPARE(one.size(), 5);
    QCOMPARE(all.size(), 7);
    VERIFY_SAME(one.at(1), name);
    VERIFY_SAME(one.at(2), customer.street);
    VERIFY_SAME(one.at(3), city);
    VERIFY_SAME(all.at(2), name);
    VERIFY_SAME(all.at(3), customer.street);
    VERIFY_SAME(all.at(4), city);
    for (int blank : {0, 4})
        QVERIFY(one.at(blank).isEmpty());
    for (int blank : {0, 1, 5, 6})
        QVERIFY(all.at(blank).isEmpty());
    // Slow, not hung: the whole round trip stays well within this.
    QVERIFY2(clock.elapsed() < 60000, qPrintable(QString::number(clock.elapsed())));
}

void TestHostileInput::duplicateOfTheLongestNumberIsReportedAtOnce()
{
    const QString date =
        QStringLiteral("12/31/04 ").repeated(300).left(frmMailingLabels::MaxTextLength);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::shared_ptr<SeenMessage> seen;
        program->driver.onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
            paste(control<QLineEdit>(&form, "txtLastName"), QStringLiteral("Smith"));
            paste(control<QLineEdit>(&form, "txtZipCode"), QStringLiteral("01234"));
            paste(control<QLineEdit>(&form, "txtExpirationDate"), date);
            if (attempt == 1)
                seen = expectMessage({}, 5000);
            control<QPushButton>(&form, "cmdAction")->click();
        });
        if (seen) {
            QVERIFY(seen->shown);
            QCOMPARE(seen->title, QStringLiteral("Duplicate Account Number"));
            // The message names the number by its start, not all of it.
            QVERIFY(seen->text.startsWith(QStringLiteral("Account number SM01212/31/04 12/31/04")));
            QVERIFY(seen->text.endsWith(QStringLiteral("… is already in use")));
            QVERIFY(seen->text.size() < 300);
        }
    }
    QCOMPARE(list()->count(), 1);
}

void TestHostileInput::boxes()
{
    QTest::addColumn<QString>("box");
    for (const FieldBox &field : FieldBoxes)
        QTest::newRow(field.name) << field.name;
}

void TestHostileInput::textLongerThanABoxTakesIsRefused()
{
    QFETCH(QString, box);
    const QString full = mixedScripts(frmMailingLabels::MaxTextLength);
    const QString megabyte = QStringLiteral("mailorder").repeated(116509).left(1 << 20);

    MessageLog log;
    program->driver.onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        QLineEdit *edit = editor(&form, qPrintable(box));
        // Each refusal is told once, and the box keeps what it held. The box
        // is checked first: a box that took the text fails here at once,
        // before anything lays that text out again.
        const auto refused = [&](const QString &held, int messages) {
            VERIFY_SAME(edit->text(), held);
            QTRY_COMPARE(log.messages.size(), messages);
            QCOMPARE(form.focusWidget(), control<QWidget>(&form, qPrintable(box)));
        };

        paste(edit, QStringLiteral("Smith"));
        // One character too many before a megabyte: a box that takes any
        // more would take seconds to lay the megabyte out, again and again.
        paste(edit, full + u'x');
        refused(QStringLiteral("Smith"), 1);
        if (QTest::currentTestFailed())
            return;
        paste(edit, megabyte);
        refused(QStringLiteral("Smith"), 2);
        if (QTest::currentTestFailed())
            return;

        paste(edit, full);
        VERIFY_SAME(edit->text(), full);
        QCOMPARE(log.messages.size(), 2);
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_X);
        refused(full, 3);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), full.size() - 1);
    });

    QCOMPARE(log.texts(), QStringList(3, QStringLiteral("The text is too long for this box")));
    for (const SeenMessage &message : std::as_const(log.messages)) {
        QCOMPARE(message.title, QStringLiteral("Text Too Long"));
        QCOMPARE(message.icon, QMessageBox::Information);
    }
}

void TestHostileInput::keyPressInAFullBoxIsQuick()
{
    QFETCH(QString, box);

    program->driver.onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        QLineEdit *edit = editor(&form, qPrintable(box));
        paste(edit, mixedScripts(frmMailingLabels::MaxTextLength));
        edit->end(false);
        // Backspace, then a letter that fills the box again: each lays the
        // whole text out and draws the box anew.
        QList<qint64> nanoseconds;
        QElapsedTimer clock;
        for (int i = 0; i < 10; ++i) {
            for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_X}) {
                clock.start();
                QTest::keyClick(edit, key);
                edit->repaint();
                nanoseconds << clock.nsecsElapsed();
            }
        }
        QCOMPARE(edit->text().size(), frmMailingLabels::MaxTextLength);
        std::sort(nanoseconds.begin(), nanoseconds.end());
        const double median = nanoseconds.at(nanoseconds.size() / 2) / 1e6;
        qInfo("median key press in a full %s: %.2f ms", qPrintable(box), median);
        QVERIFY2(median < 50, qPrintable(QString::number(median)));
    });
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
