#include "Driver.h"
#include "RecordingPrinter.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QtTest>

// Both windows as a person sees them: every control where the layout puts it,
// and every caption within its control in the font actually in use. ctest
// runs it offscreen; the screen check runs it again on an X server at 96 DPI.
// Both run it again at other QT_SCALE_FACTORs, and with an application font of
// LABLIST_TEST_FONT_SIZE points, as a desktop gives it to a user who sets it.
class TestWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void windowSizes();
    void mainWindowControls_data();
    void mainWindowControls();
    void customerFormControls_data();
    void customerFormControls();
    void headingIsBoldLargerAndFits();

private:
    RecordingPrinter printer;
    std::unique_ptr<Program<>> program; // made once the font is set
    frmMain *mainWindow = nullptr;
};

namespace {

// What the twips layout grows by for the application font in use.
qreal scale = 1;
// Each control's font as a share of the default application font: what
// fitting its caption already takes at the size the layout was made for.
QHash<QString, qreal> defaultShares;

qreal fontShare(const QWidget *widget)
{
    return widget->font().pointSizeF() / QApplication::font().pointSizeF();
}

void recordShares(const QWidget *window)
{
    for (const QWidget *widget : window->findChildren<QWidget *>())
        defaultShares.insert(window->objectName() + u'.' + widget->objectName(), fontShare(widget));
}

// Each edge of the twips rectangle, grown with the font, to the nearest pixel.
bool placed(const QRect &actual, const QRect &twips)
{
    const auto near = [](int pixels, int twips) {
        return qAbs(pixels - twips * scale / 15) <= 0.5;
    };
    return near(actual.left(), twips.left()) && near(actual.top(), twips.top()) &&
           near(actual.left() + actual.width(), twips.left() + twips.width()) &&
           near(actual.top() + actual.height(), twips.top() + twips.height());
}

void addRow(const char *name, const QRect &twips, const char *caption)
{
    QTest::newRow(name) << QString::fromUtf8(name) << twips << QString::fromUtf8(caption);
}

QString describe(const QWidget *widget, const QString &text, QSize needed, QRect room)
{
    const QFontInfo font(widget->font());
    return QStringLiteral("\"%1\" needs %2x%3 px in %4 %5 %6pt, has %7x%8")
        .arg(text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(font.family(), font.styleName())
        .arg(font.pointSizeF())
        .arg(room.width())
        .arg(room.height());
}

bool fits(QSize needed, QRect room)
{
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The control sits at its twips rectangle, shows its caption, and its caption,
// or each item of a combo box, fits the room the style draws it in.
void verifyPlacedAndUnclipped(QWidget *widget, const QRect &twips, const QString &caption)
{
    QVERIFY2(placed(widget->geometry(), twips), qPrintable(QStringLiteral("at %1,%2 %3x%4")
                                                               .arg(widget->x())
                                                               .arg(widget->y())
                                                               .arg(widget->width())
                                                               .arg(widget->height())));
    QVERIFY(widget->window()->rect().contains(widget->geometry()));
    // A larger font shrinks no caption further than the default font does.
    const QString key = widget->window()->objectName() + u'.' + widget->objectName();
    QVERIFY2(fontShare(widget) >= defaultShares.value(key) - 0.001,
             qPrintable(QStringLiteral("drawn at %1 of the application font, %2 at the default")
                            .arg(fontShare(widget))
                            .arg(defaultShares.value(key))));
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text().replace(u'\n', u' '), caption);
    const QFontMetrics metrics(widget->font());
    QStringList texts;
    QRect room;
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        texts << label->text();
        room = label->contentsRect();
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        texts << button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxEditField, combo);
    }
    for (const QString &text : std::as_const(texts)) {
        const QSize needed = metrics.size(Qt::TextShowMnemonic, text);
        QVERIFY2(fits(needed, room), qPrintable(describe(widget, text, needed, room)));
    }
}

} // namespace

void TestWindows::initTestCase()
{
    {
        frmMain reference(printer);
        QListWidget list;
        frmMailingLabels form(&list, printer);
        recordShares(&reference);
        recordShares(&form);
    }
    if (const qreal points = qEnvironmentVariableIntValue("LABLIST_TEST_FONT_SIZE")) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QApplication::setFont(font);
        // The layout is made for 9 pt.
        scale = qMax(1.0, points / 9);
    }
    program = std::make_unique<Program<>>();
    mainWindow = &program->main;
    QVERIFY(program->show());
}

void TestWindows::windowSizes()
{
    QVERIFY(placed(mainWindow->rect(), {0, 0, 4680, 3195}));
    Driver(*mainWindow).onCustomerForm("cmdAdd", [](frmMailingLabels &form) {
        QVERIFY(placed(form.rect(), {0, 0, 5985, 4560}));
    });
}

void TestWindows::mainWindowControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption"); // as written, before any line break
    addRow("cmdAdd", {360, 1560, 1215, 495}, "&Add Customer");
    addRow("cmdRemove", {1800, 1560, 1215, 495}, "&Remove Customer");
    addRow("cmdDisplay", {3240, 1560, 1215, 495}, "&Display Customer");
    addRow("cmdExit", {2520, 2280, 1215, 495}, "E&xit");
    addRow("lstCustomer", {1680, 120, 1815, 840}, "");
    addRow("cmdPrintAll", {1080, 2280, 1215, 495}, "&Print Labels for All Customers");
}

void TestWindows::mainWindowControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    verifyPlacedAndUnclipped(control<QWidget>(mainWindow, qPrintable(name)), twips, caption);
}

void TestWindows::customerFormControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption"); // as written, before any line break
    addRow("Label1", {600, 1200, 855, 255}, "&Last Name:");
    addRow("txtLastName", {1560, 1200, 1935, 285}, "");
    addRow("Label2", {600, 1560, 855, 255}, "&First Name:");
    addRow("txtFirstName", {1560, 1560, 1935, 285}, "");
    addRow("Label3", {960, 1920, 495, 255}, "&Street");
    addRow("txtStreet", {1560, 1920, 2055, 285}, "");
    addRow("Label4", {1080, 2280, 375, 255}, "C&ity:");
    addRow("txtCity", {1560, 2280, 1575, 285}, "");
    addRow("Label5", {960, 2640, 495, 255}, "S&tate:");
    addRow("txtState", {1560, 2640, 495, 285}, "");
    addRow("Label6", {720, 3000, 735, 255}, "&Zip Code:");
    addRow("txtZipCode", {1560, 3000, 1005, 285}, "");
    addRow("Label7", {240, 3360, 1215, 255}, "&Expiration Date:");
    addRow("txtExpirationDate", {1560, 3360, 1005, 285}, "");
    addRow("Label11", {360, 3720, 1095, 255}, "Catalo&g:");
    addRow("cboCatalog", {1560, 3720, 1575, 315}, "");
    addRow("cmdAction", {4320, 1560, 1455, 495}, "&Ok");
    addRow("cmdCancel", {4320, 2280, 1455, 495}, "&Cancel");
    addRow("cmdDisplay", {4320, 3000, 1455, 495}, "Display &Acct. No.");
    addRow("cmdPrint", {4320, 3720, 1455, 495}, "&Print Label");
    addRow("Label9", {120, 4200, 1335, 255}, "Account Number:");
    addRow("lblAccountNumber", {1560, 4200, 1575, 255}, "");
    addRow("Label10", {2640, 3360, 1215, 255}, "(MM/DD/YY)");
    addRow("lblCommand", {720, 240, 4455, 615}, "Add New Customer Info");
}

void TestWindows::customerFormControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    Driver(*mainWindow).onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        QWidget *widget = control<QWidget>(&form, qPrintable(name));
        // Add mode shows every control, the account-number button included.
        QVERIFY(widget->isVisible());
        verifyPlacedAndUnclipped(widget, twips, caption);
    });
}

void TestWindows::headingIsBoldLargerAndFits()
{
    Driver(*mainWindow).onCustomerForm("cmdAdd", [](frmMailingLabels &form) {
        auto *heading = control<QLabel>(&form, "lblCommand");
        QCOMPARE(heading->text(), QStringLiteral("Add New Customer Info"));
        const QFontInfo used(heading->font());
        const QFontInfo body(control<QLabel>(&form, "Label1")->font());
        QVERIFY(used.bold());
        QCOMPARE(heading->font().pointSizeF(), 13.5 * scale);
        QVERIFY2(used.pixelSize() > body.pixelSize(),
                 qPrintable(QStringLiteral("heading %1 px, captions %2 px")
                                .arg(used.pixelSize())
                                .arg(body.pixelSize())));
        const QFontMetrics metrics(heading->font());
        for (const QString &text : {heading->text(), QStringLiteral("Remove this record?"),
                                    QStringLiteral("Customer Display")}) {
            const QSize needed = metrics.size(0, text);
            QVERIFY2(fits(needed, heading->contentsRect()),
                     qPrintable(describe(heading, text, needed, heading->contentsRect())));
        }
    });
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
