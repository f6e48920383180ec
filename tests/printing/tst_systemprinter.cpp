#include "Pdf.h"
#include "printing/SystemPrinter.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <csignal>
#include <sys/resource.h>

// The real printer adapter writing PDF files, read back with pdftotext.
class TestSystemPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void printableText_data();
    void printableText();
    void labelsOnAMedium_data();
    void labelsOnAMedium();
    void pdfShowsEveryCharacter_data();
    void pdfShowsEveryCharacter();
    void longDocumentBreaksPagesAndKeepsOrder_data();
    void longDocumentBreaksPagesAndKeepsOrder();
    void emptyLinesKeepTheirRows();
    void documentWithoutLinesSendsNothing();
    void unwritableOutputIsAFailure();

private:
    // What pdftotext reads from a PDF of the lines; empty when printing failed.
    QString printAndRead(const QStringList &lines, const QStringList &options = {});

    QTemporaryDir dir;
    QTemporaryDir locales; // LOCPATH: locales of the test's own making
    QString pdftotext;
};

void TestSystemPrinter::initTestCase()
{
    QVERIFY(dir.isValid());
    pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    // The US locale, whose paper is Letter, made here: a new machine has no
    // locale but C.
    const ProcessRun made =
        runProgram(QStringLiteral("localedef"),
                   {"-i", "en_US", "-f", "UTF-8", locales.filePath("en_US.UTF-8")});
    QVERIFY2(made.status == 0,
             qPrintable(QStringLiteral("localedef (package locales): ") + made.err));
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
}

QString TestSystemPrinter::printAndRead(const QStringList &lines, const QStringList &options)
{
    const QString path = dir.filePath(QStringLiteral("labels.pdf"));
    QFile::remove(path);
    SystemPrinter printer(path);
    for (const QString &line : lines)
        line.isEmpty() ? printer.printEmptyLine() : printer.printLine(line);
    if (printer.endDocument() != PrintOutcome::Printed)
        return QString();
    return runProcess(pdftotext, options + QStringList{path, QStringLiteral("-")})
        .value_or(QString());
}

void TestSystemPrinter::printableText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("drawn");

    QTest::newRow("plain and non-Latin text is drawn as typed")
        << QStringLiteral("Ann  Smith, Ωμέγα שלום 東京")
        << QStringLiteral("Ann  Smith, Ωμέγα שלום 東京");
    QTest::newRow("tab, line breaks and escape show their pictures")
        << QStringLiteral("a\tb\r\nc\x1b[0m") << QStringLiteral("a␉b␍␊c␛[0m");
    QTest::newRow("NUL and DEL show their pictures")
        << QStringLiteral("x") + QChar(0) + QStringLiteral("y\x7f") << QStringLiteral("x␀y␡");
    QTest::newRow("C1 controls show the replacement character")
        << QStringLiteral("a") + QChar(0x85) + QChar(0x9b) + QChar(0x9f) + QChar(0xa0)
        << QStringLiteral("a���") + QChar(0xa0);
    QTest::newRow("a surrogate pair is kept") << QStringLiteral("😀x😀") << QStringLiteral("😀x😀");
    QTest::newRow("unpaired surrogates show the replacement character")
        << QString(QChar(0xdc00)) + QChar(0xd800) + u'x' + QChar(0xd800) << QStringLiteral("��x�");
}

void TestSystemPrinter::printableText()
{
    QFETCH(QString, typed);
    QFETCH(QString, drawn);
    QCOMPARE(::printableText(typed), drawn);
}

void TestSystemPrinter::labelsOnAMedium_data()
{
    QTest::addColumn<QSizeF>("size"); // points, as the driver defines the medium
    QTest::addColumn<QMarginsF>("margins");
    QTest::addColumn<bool>("continuous");
    QTest::addColumn<QString>("placed"); // sheet, upright, across or refused

    const QMarginsF none, laser(18, 18, 18, 18), dymo(4.08, 16.8, 2.88, 4.32);
    QTest::newRow("A5 is office paper") << QSizeF(420, 595) << laser << false << "sheet";
    QTest::newRow("4 x 6 in shipping label") << QSizeF(288, 432) << none << false << "upright";
    QTest::newRow("#10 envelope") << QSizeF(297, 684) << laser << false << "upright";
    QTest::newRow("DYMO 11354, defined wide") << QSizeF(162, 90) << dymo << false << "upright";
    QTest::newRow("1 x 1 in: neither way") << QSizeF(72, 72) << dymo << false << "refused";
    QTest::newRow("9 mm tape: no word is broken") << QSizeF(26, 284) << none << true << "refused";
}

// The cases the printing test's queues leave out.
void TestSystemPrinter::labelsOnAMedium()
{
    QFETCH(QSizeF, size);
    QFETCH(QMarginsF, margins);
    QFETCH(bool, continuous);
    QFETCH(QString, placed);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QPdfWriter device(&buffer);
    const LabelDocument labels{{"", "", "Bo Smith-Jones   SM10212/1/05", "2 Elm St", "Ames"}};
    const Medium medium{QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch),
                        margins, continuous, 36, 100000};
    const std::optional<LabelLayout> layout = layOutLabels(labels, medium, &device);
    QCOMPARE(layout ? layout->labelPerPage ? layout->across ? "across" : "upright" : "sheet"
                    : "refused",
             placed);
}

void TestSystemPrinter::pdfShowsEveryCharacter_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("rows");

    const QString digits = QStringLiteral("0123456789").repeated(40);
    QString words;
    for (int i = 0; i < 120; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    QTest::newRow("a long line without spaces wraps anywhere") << digits << digits << 3;
    QTest::newRow("a long line of words wraps at spaces") << words << words << 3;
    QTest::newRow("control characters show as pictures") << QStringLiteral("a\tb\x1b"
                                                                           "c\x7f"
                                                                           "d") +
                                                                QChar(0x85)
                                                         << QStringLiteral("a␉b␛c␡d�") << 1;
    QTest::newRow("Hebrew in reading order")
        << QStringLiteral("שלום עולם") << QStringLiteral("שלום עולם") << 1;
    QTest::newRow("Arabic in reading order")
        << QStringLiteral("مرحبا بالعالم") << QStringLiteral("مرحبا بالعالم") << 1;
    QTest::newRow("Greek and Cyrillic")
        << QStringLiteral("Ωμέγα Привет") << QStringLiteral("Ωμέγα Привет") << 1;
}

void TestSystemPrinter::pdfShowsEveryCharacter()
{
    QFETCH(QString, line);
    QFETCH(QString, read);
    QFETCH(int, rows);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");

    // pdftotext gives ligatures and Arabic letter shapes as presentation forms
    // and wraps right-to-left runs in embedding marks; none of that is ours.
    QString text = printAndRead({line}).normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("[\u202a-\u202e]")));
    const QStringList drawnRows = text.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(drawnRows.size() >= rows, qPrintable(text));
    // Every character, in order, whatever the row it landed on.
    const QRegularExpression space(QStringLiteral("\\s+"));
    QCOMPARE(text.remove(space), QString(read).remove(space));
}

void TestSystemPrinter::longDocumentBreaksPagesAndKeepsOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QSize>("paper"); // points
    QTest::newRow("C: A4") << "C.UTF-8" << QSize(595, 842);
    QTest::newRow("United States: Letter") << "en_US.UTF-8" << QSize(612, 792);
}

void TestSystemPrinter::longDocumentBreaksPagesAndKeepsOrder()
{
    QFETCH(QString, locale);
    QFETCH(QSize, paper);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const QByteArray before = std::setlocale(LC_PAPER, nullptr);
    const auto restore = qScopeGuard([&] { std::setlocale(LC_PAPER, before.constData()); });
    QVERIFY(std::setlocale(LC_PAPER, locale.toUtf8().constData()));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);

    const QString text = printAndRead(lines);
    // pdftotext ends every page with a form feed.
    QVERIFY2(text.count(u'\f') >= 3, qPrintable(QString::number(text.count(u'\f'))));
    QCOMPARE(QString(text).remove(u'\f').split(u'\n', Qt::SkipEmptyParts), lines);
    // A saved file has no printer to ask: the locale's paper.
    QCOMPARE(pdfPages(dir.filePath(QStringLiteral("labels.pdf"))).value(0).size, paper);
}

void TestSystemPrinter::emptyLinesKeepTheirRows()
{
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const QString text = printAndRead({"top", "", "", "after two", "", "last"}, {"-layout"});
    QCOMPARE(text.section(u'\f', 0, 0).split(u'\n'),
             QStringList({"top", "", "", "after two", "", "last", ""}));
}

void TestSystemPrinter::documentWithoutLinesSendsNothing()
{
    const QString path = dir.filePath(QStringLiteral("empty.pdf"));
    SystemPrinter printer(path);
    QCOMPARE(printer.endDocument(), PrintOutcome::Printed);
    QVERIFY(!QFile::exists(path));
}

void TestSystemPrinter::unwritableOutputIsAFailure()
{
    SystemPrinter printer(dir.filePath(QStringLiteral("no such folder/labels.pdf")));
    printer.printLine(QStringLiteral("Ann Smith"));
    QCOMPARE(printer.endDocument(), PrintOutcome::Failed);

    // A full disk, played by a file size limit: the file the job was to
    // replace stays as it was, and nothing is left beside it.
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    QFile old(kept);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    SystemPrinter full(kept);
    for (int i = 0; i < 300; ++i)
        full.printLine(QStringLiteral("line %1").arg(i));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const PrintOutcome outcome = full.endDocument();
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    QCOMPARE(outcome, PrintOutcome::Failed);
    QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("kept.pdf*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.pdf")});
}

QTEST_MAIN(TestSystemPrinter)
#include "tst_systemprinter.moc"
