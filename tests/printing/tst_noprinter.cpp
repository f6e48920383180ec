#include "Driver.h"
#include "Pdf.h"
#include "printing/SystemPrinter.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Plays the user through the no-printer message, the save dialog and the
// questions they bring, and records every message box on the way, and the
// first box or dialog that stayed up.
class User
{
public:
    // answer: "OK", "Esc" or "Save" on the no-printer message; typed: the
    // name typed in the save dialog, or empty to cancel it; replace: the
    // answer when asked whether to replace a file. A dialog shown again after
    // a declined replacement is cancelled.
    User(QString answer, QString typed, bool replace)
        : mAnswer(std::move(answer))
        , mTyped(std::move(typed))
        , mReplace(replace)
        , mWatch([this](QWidget *modal) { return act(modal); },
                 [this](ModalWatch &, QWidget *window) { unstick(window); }, StuckMs)
    {}

    QList<SeenMessage> messages;
    QString offeredName, offeredFolder; // what the save dialog first showed
    int dialogs = 0;
    QString stuck; // empty unless a box or dialog stayed up

private:
    // Below UnexpectedModalGuard's 2 s, so that over the customer form this
    // watch, which knows the window, is the one to report.
    static constexpr int StuckMs = 1500;

    // Never taking the keyboard, or not closing, a window would wait for good.
    void unstick(QWidget *stuckWindow)
    {
        const QPointer<QWidget> window(stuckWindow);
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box && !qobject_cast<QFileDialog *>(window))
            return; // the customer form is the driver's
        if (stuck.isEmpty())
            stuck = QStringLiteral("%1 \"%2\" still up after %3 ms")
                        .arg(QString::fromUtf8(window->metaObject()->className()),
                             box ? box->text() : window->windowTitle())
                        .arg(StuckMs);
        // Answered rather than hidden: a box that asks until a button is
        // chosen would be back at once, and its loop would never end.
        QAbstractButton *answer = box ? box->defaultButton() : nullptr;
        if (box && !answer)
            answer = box->button(QMessageBox::Ok);
        if (answer)
            answer->click();
        if (window && window->isVisible())
            window->hide();
    }

    Watched act(QWidget *modal)
    {
        // An access key clicks its button a moment later, so one acted on may
        // still be up.
        if (modal == mActedOn)
            return Watched::Waiting;
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            mActedOn = modal;
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (dialogs++ == 0) {
                offeredName = name->text();
                offeredFolder = dialog->directory().absolutePath();
            }
            if (dialogs > 1 || mTyped.isEmpty()) {
                QTest::keyClick(name, Qt::Key_Escape);
                return Watched::Acted;
            }
            // The completer's popup comes and goes as the folder is read, and
            // takes the keys while it is up; type past it.
            name->setCompleter(nullptr);
            QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(name, mTyped);
            // From a timer of its own: a question the dialog asks runs inside
            // the key press, and this poll's timer does not fire while its own
            // call is still running. After a declined replacement the dialog
            // is still there, to be acted on again.
            QTimer::singleShot(0, name, [this, dialog, name] {
                QTest::keyClick(name, Qt::Key_Return);
                if (dialog->isVisible()) {
                    mActedOn = nullptr;
                    mWatch.restartClock();
                }
            });
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            mActedOn = modal;
            messages.append(seenMessage(*box));
            if (box->button(QMessageBox::Yes))
                QTest::keyClick(box, mReplace ? Qt::Key_Y : Qt::Key_N, Qt::AltModifier);
            else if (mAnswer == u"Save" && box->buttons().size() == 2)
                QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
            else
                QTest::keyClick(box, mAnswer == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
        } else {
            return Watched::Waiting;
        }
        return Watched::Acted;
    }

    QString mAnswer, mTyped;
    bool mReplace;
    QPointer<QWidget> mActedOn;
    ModalWatch mWatch;
};

QString documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

// The real printer adapter on a machine where no printer can be found.
class TestNoPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void printingOffersAPdfAndChangesNothing_data();
    void printingOffersAPdfAndChangesNothing();
    void withoutADocumentsFolderTheHomeIsOffered();
};

void TestNoPrinter::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QVERIFY(QDir().mkpath(documents()));
}

void TestNoPrinter::cleanup()
{
    closeEveryWindow();
    QDir(documents()).removeRecursively();
    QDir().mkpath(documents());
}

void TestNoPrinter::printingOffersAPdfAndChangesNothing_data()
{
    QTest::addColumn<bool>("allLabels");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("messages"); // after the no-printer message
    QTest::addColumn<QString>("saved");        // the file in documents holding the labels

    const QStringList none;
    const QStringList replace{
        QStringLiteral("old.pdf already exists.\nDo you want to replace it?")};
    const QStringList failed{QStringLiteral("The labels could not be saved")};
    // clang-format off
    QTest::newRow("one label, OK") << false << "OK" << "" << false << none << "";
    QTest::newRow("all labels, Esc means OK") << true << "Esc" << "" << false << none << "";
    QTest::newRow("one label saved, .pdf added to the typed name")
        << false << "Save" << "mine" << false << none << "mine.pdf";
    QTest::newRow("all labels saved")
        << true << "Save" << "labels.pdf" << false << none << "labels.pdf";
    QTest::newRow("save dialog cancelled") << true << "Save" << "" << false << none << "";
    QTest::newRow("unwritable folder: /proc takes no file, even from root")
        << false << "Save" << "/proc/labels.pdf" << false << failed << "";
    QTest::newRow("existing file kept when replacing is declined")
        << true << "Save" << "old.pdf" << false << replace << "";
    QTest::newRow("existing file replaced after confirming, .pdf added")
        << false << "Save" << "old" << true << replace << "old.pdf";
    // clang-format on
}

void TestNoPrinter::printingOffersAPdfAndChangesNothing()
{
    QFETCH(bool, allLabels);
    QFETCH(QString, answer);
    QFETCH(QString, typed);
    QFETCH(bool, replace);
    QFETCH(QStringList, messages);
    QFETCH(QString, saved);

    const QDir folder(documents());
    QFile old(folder.filePath(QStringLiteral("old.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();

    Program<SystemPrinter> program;
    QVERIFY(program.show());
    const Driver &driver = program.driver;
    driver.add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05", "Solutions"});
    driver.add({"Adams", "Di", "1 Elm St", "Springfield", "IL", "01234", "1/1/05", "ToolTime"});

    User user(answer, typed, replace);
    QWidget *focus = nullptr;
    Driver::PrintRun run;
    if (allLabels) {
        focus = QApplication::focusWidget();
        run = driver.printAllLabels();
    } else {
        driver.onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
            fill(&form,
                 {"Smith", "Ann", "9 Oak Ave", "Dover", "DE", "01234", "12/31/04", "Spiegel"});
            focus = QApplication::focusWidget();
            run.before = driver.state();
            control<QPushButton>(&form, "cmdPrint")->click();
            run.after = driver.state();
            QVERIFY2(QTest::qWaitFor([&] { return QApplication::focusWidget() == focus; }, 3000),
                     "the keyboard did not come back to the form");
            control<QPushButton>(&form, "cmdCancel")->click();
        });
    }
    // What follows would only restate a window that stayed up.
    QVERIFY2(user.stuck.isEmpty(), qPrintable(user.stuck));
    QCOMPARE(run.after,
             Driver::leftByPrint(run.before, allLabels, QStringLiteral("SM01212/31/04")));
    QStringList texts;
    for (const SeenMessage &message : user.messages) {
        texts << message.text;
        // Ours; the question about replacing a file is the save dialog's.
        if (message.title != u"Save as PDF") {
            QCOMPARE(message.title, QStringLiteral("Print Error"));
            QCOMPARE(message.icon, QMessageBox::Information);
        }
    }
    QCOMPARE(texts, QStringList{QStringLiteral("No default printer is available")} + messages);
    if (answer == u"Save") {
        QCOMPARE(user.offeredName, QStringLiteral("labels.pdf"));
        QCOMPARE(user.offeredFolder, folder.absolutePath());
    }
    if (allLabels)
        QVERIFY2(QTest::qWaitFor([&] { return QApplication::focusWidget() == focus; }, 3000),
                 "the keyboard did not come back to the main window");

    // Nothing else in the folder: no file half written, none left aside.
    QStringList files{QStringLiteral("old.pdf"), saved};
    files.removeAll(QString());
    files.removeDuplicates();
    files.sort();
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), files);
    if (saved != u"old.pdf")
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
    const QStringList labels =
        allLabels ? QStringList{"Cy Young YO5003/3/05", "3 Pine Rd", "Ames, IA 50010",
                                "Di Adams AD0121/1/05", "1 Elm St",  "Springfield, IL 01234"}
                  : QStringList{"Ann Smith SM01212/31/04", "9 Oak Ave", "Dover, DE 01234"};
    if (!saved.isEmpty())
        QCOMPARE(pdfRows(folder.filePath(saved)), labels);
}

void TestNoPrinter::withoutADocumentsFolderTheHomeIsOffered()
{
    QVERIFY(QDir(documents()).removeRecursively());
    Program<SystemPrinter> program;
    QVERIFY(program.show());
    const Driver &driver = program.driver;
    driver.add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05", "Solutions"});
    User user(QStringLiteral("Save"), QString(), false);
    driver.printAllLabels();
    QVERIFY2(user.stuck.isEmpty(), qPrintable(user.stuck));
    QCOMPARE(user.dialogs, 1);
    QCOMPARE(user.offeredName, QStringLiteral("labels.pdf"));
    QCOMPARE(user.offeredFolder, QDir::homePath());
}

int main(int argc, char *argv[])
{
    // Before QApplication, which loads the printer support that reads them: a
    // CUPS server that does not exist, and no printer named by the user.
    qputenv("CUPS_SERVER", "/nonexistent/lablist-no-cups.sock");
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    // A modal loop that nothing can end (a dialog that comes back after every
    // answer) would hold a case until CTest's time-out; QtTest's watchdog ends
    // the run sooner and names the case.
    qputenv("QTEST_FUNCTION_TIMEOUT", "10000");
    // A home of our own, whose documents folder the save dialog offers.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    // Qt's own save dialog, which the test can drive, wherever it runs.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TestNoPrinter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_noprinter.moc"
