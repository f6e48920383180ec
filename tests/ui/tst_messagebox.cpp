#include "Modal.h"
#include "ui/MessageBox.h"

#include <QtTest>

// Message boxes as the rest of the program relies on them.
class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageBox_data();
    void messageBox();
};

void TestMessageBox::messageBox_data()
{
    QTest::addColumn<bool>("information"); // the style with the information icon
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("icon");

    QTest::newRow("plain, no title") << false << ""
                                     << "Lablist" << int(QMessageBox::NoIcon);
    QTest::newRow("plain with title") << false << "Error"
                                      << "Error" << int(QMessageBox::NoIcon);
    QTest::newRow("information with title") << true << "Data Missing"
                                            << "Data Missing" << int(QMessageBox::Information);
    QTest::newRow("information, no title") << true << ""
                                           << "Lablist" << int(QMessageBox::Information);
}

void TestMessageBox::messageBox()
{
    QFETCH(bool, information);
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);
    QFETCH(int, icon);

    // Typed text can end up in a prompt: it must show as written, not as markup.
    const QString prompt = QStringLiteral("Account number <b>A&B</b> is already in use");
    auto seen = expectMessage();
    showMessage(nullptr, prompt, information ? MessageStyle::Information : MessageStyle::Plain,
                title);
    QVERIFY(seen->shown);
    QCOMPARE(seen->text, prompt);
    QCOMPARE(seen->format, Qt::PlainText);
    QCOMPARE(seen->title, shownTitle);
    QCOMPARE(int(seen->icon), icon);
    QCOMPARE(seen->buttonCount, 1);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
