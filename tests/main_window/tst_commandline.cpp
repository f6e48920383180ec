#include "Process.h"

#include <QRegularExpression>
#include <QtTest>

// The command line as a terminal, a script or a package check meets it.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // offscreen, or none at all
    QTest::addColumn<int>("status");   // -1: still running, its window open
    QTest::addColumn<QString>("out");  // patterns for the whole text
    QTest::addColumn<QString>("err");

    const QString version = QStringLiteral("Lablist " LABLIST_VERSION "\n");
    const QString unknown = QStringLiteral("Lablist: Unknown option 'no-such-option'\\.\n");
    QTest::newRow("--version, no display")
        << QStringList{"--version"} << false << 0 << version << "";
    QTest::newRow("--help, no display")
        << QStringList{"--help"} << false << 0 << "Usage: \\S*lablist \\[options\\]\n[\\s\\S]*"
        << "";
    QTest::newRow("unknown option")
        << QStringList{"--no-such-option"} << true << 1 << "" << unknown;
    QTest::newRow("unknown option, no display")
        << QStringList{"--no-such-option"} << false << 1 << "" << unknown;
    // Only the X11 platform takes these out of the command line.
    QTest::newRow("X11's options elsewhere")
        << QStringList{"-display", ":0", "-geometry", "300x200", "-title", "T", "-nograb"} << true
        << -1 << ""
        << "";
    QTest::newRow("Qt's options") << QStringList{"-platform", "offscreen", "-style=Fusion"} << true
                                  << -1 << ""
                                  << "";
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    // The sanitizers' settings come along from the test's own environment.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QTemporaryDir runtime; // without one Qt says so on stderr
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    const ProcessRun run = runProgram(QStringLiteral(LABLIST_EXECUTABLE), arguments,
                                      status < 0 ? 2500 : 30000, environment);
    const QByteArray printed = (QStringLiteral("status %1\nstdout: %2\nstderr: %3")
                                    .arg(run.finished ? run.status : -1)
                                    .arg(run.out, run.err))
                                   .toLocal8Bit();
    QVERIFY2(run.finished ? run.status == status : status < 0, printed);
    for (const auto &[pattern, text] : {std::pair{out, run.out}, std::pair{err, run.err}})
        QVERIFY2(
            QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch(),
            printed);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
