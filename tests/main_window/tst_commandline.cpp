#include "Process.h"

#include <QRegularExpression>
#include <QtTest>

// The program's command line, as a terminal, a script or a package check
// meets it: its answers, and its exit status with them.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

namespace {

// Running, for a program that should have opened its window: it gets this long
// to end with a message instead.
constexpr int StaysUpMs = 2500;
constexpr int KeepsRunning = -1;

} // namespace

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // the offscreen platform, or no display at all
    QTest::addColumn<int>("status");   // or KeepsRunning
    QTest::addColumn<QString>("out");  // patterns, matched against the whole text
    QTest::addColumn<QString>("err");

    const QString version = QStringLiteral("Lablist ") +
                            QRegularExpression::escape(QStringLiteral(LABLIST_VERSION)) + u'\n';
    const QString usage =
        QStringLiteral("Usage: \\S*lablist \\[options\\]\n[\\s\\S]*--version[\\s\\S]*");
    const QString unknown = QStringLiteral("Lablist: Unknown option 'no-such-option'\\.\n");

    QTest::newRow("--version, no display")
        << QStringList{"--version"} << false << 0 << version << "";
    QTest::newRow("-v, no display") << QStringList{"-v"} << false << 0 << version << "";
    QTest::newRow("--version with -platform")
        << QStringList{"-platform", "offscreen", "--version"} << true << 0 << version << "";
    QTest::newRow("--help, no display") << QStringList{"--help"} << false << 0 << usage << "";
    // Qt's own options are listed only when asked for.
    QTest::newRow("--help hides Qt's options")
        << QStringList{"--help"} << false << 0 << "(?![\\s\\S]*-platform)[\\s\\S]*"
        << "";
    QTest::newRow("--help-all lists Qt's options")
        << QStringList{"--help-all"} << false << 0
        << "[\\s\\S]*--platform <name\\[:options\\]>[\\s\\S]*"
        << "";
    QTest::newRow("unknown option")
        << QStringList{"--no-such-option"} << true << 1 << "" << unknown;
    QTest::newRow("unknown option, no display")
        << QStringList{"--no-such-option"} << false << 1 << "" << unknown;
    QTest::newRow("unknown option among Qt's")
        << QStringList{"-reverse", "--no-such-option"} << true << 1 << "" << unknown;
    // Only the X11 platform takes these out of the command line; elsewhere
    // they stay, and must still not end the program.
    QTest::newRow("X11's options elsewhere")
        << QStringList{"-display", ":0",    "-geometry", "300x200", "-title", "T",       "-name",
                       "n",        "-icon", "lablist",   "-visual", "0x21",   "-nograb", "-dograb"}
        << true << KeepsRunning << ""
        << "";
    QTest::newRow("Qt's options") << QStringList{"-platform",     "offscreen",     "-reverse",
                                                 "-style=Fusion", "-qwindowtitle", "T"}
                                  << true << KeepsRunning << ""
                                  << "";
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    // The sanitizers' settings and the rest come along from the test's own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A desktop session has one; without it Qt says so on stderr.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QVERIFY(QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    const bool staysUp = status == KeepsRunning;
    const ProcessRun run = runProgram(QStringLiteral(LABLIST_EXECUTABLE), arguments,
                                      staysUp ? StaysUpMs : 30000, environment);
    QVERIFY2(run.started, LABLIST_EXECUTABLE);
    const QString printed =
        QStringLiteral("\nstdout: ") + run.out + QStringLiteral("\nstderr: ") + run.err;
    if (staysUp) {
        QVERIFY2(!run.finished,
                 qPrintable(QStringLiteral("ended with %1").arg(run.status) + printed));
    } else {
        QVERIFY2(run.finished, qPrintable(QStringLiteral("still running") + printed));
        QVERIFY2(run.status == status,
                 qPrintable(QStringLiteral("status %1").arg(run.status) + printed));
    }
    const auto matches = [](const QString &pattern, const QString &text) {
        return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
            .match(text)
            .hasMatch();
    };
    QVERIFY2(matches(out, run.out), qPrintable(printed));
    QVERIFY2(matches(err, run.err), qPrintable(printed));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
