#include "frmMain.h"

#include "customer_form/frmMailingLabels.h"
#include "ui/Forms.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

// A screen reader reads this window as the program's main window, not as a
// dialog: it is a QDialog only so that Enter reaches its default button.
QAccessibleInterface *accessibleMainWindow(const QString &className, QObject *object)
{
    if (className == QLatin1String("frmMain") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

frmMain::frmMain(Printer &printer, QWidget *parent)
    : QDialog(parent)
    , mPrinter(printer)
{
    static const bool accessibleAsWindow =
        (QAccessible::installFactory(accessibleMainWindow), true);
    Q_UNUSED(accessibleAsWindow);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Customer Information"));
    setFixedSize(twipsSize(4680, 3195));
    createControls();

    connect(mCmdAdd, &QPushButton::clicked, this, &frmMain::addCustomer);
    connect(mCmdRemove, &QPushButton::clicked, this, &frmMain::removeCustomer);
    connect(mCmdDisplay, &QPushButton::clicked, this, &frmMain::displayCustomer);
    connect(mCmdPrintAll, &QPushButton::clicked, this, &frmMain::printAllLabels);
    connect(mCmdExit, &QPushButton::clicked, this, &frmMain::exit);
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    FormBuilder form(this);
    mCmdAdd = form.button({"cmdAdd", "&Add Customer", 360, 1560, 1215, 495});
    mCmdRemove = form.button({"cmdRemove", "&Remove Customer", 1800, 1560, 1215, 495});
    mCmdDisplay = form.button({"cmdDisplay", "&Display Customer", 3240, 1560, 1215, 495});
    mCmdExit = form.button({"cmdExit", "E&xit", 2520, 2280, 1215, 495});
    mLstCustomer = form.list({"lstCustomer", "", 1680, 120, 1815, 840});
    mCmdPrintAll =
        form.button({"cmdPrintAll", "&Print Labels for All Customers", 1080, 2280, 1215, 495});
    form.setTabOrder({mCmdAdd, mCmdRemove, mCmdDisplay, mCmdExit, mLstCustomer, mCmdPrintAll});

    // The list has no caption of its own to lend it a name.
    mLstCustomer->setAccessibleName(QStringLiteral("Account Numbers"));
    mLstCustomer->setSelectionMode(QAbstractItemView::SingleSelection);
    // Sorting must be on before the first entry: the list then places each new
    // entry by binary search, which assumes the entries are already in order.
    mLstCustomer->setSortingEnabled(true);
    mLstCustomer->sortItems(Qt::AscendingOrder);
    // All entries are one line of the same height. Every change makes the list
    // lay out all its entries again; in batches that takes microseconds per
    // event instead of milliseconds once the list holds 100,000 entries.
    mLstCustomer->setUniformItemSizes(true);
    mLstCustomer->setLayoutMode(QListView::Batched);
    mLstCustomer->setBatchSize(1000);

    mCmdAdd->setDefault(true);
    mCmdAdd->setFocus();
}

frmMailingLabels &frmMain::obtainCustomerForm()
{
    if (!mCustomerForm)
        mCustomerForm = std::make_unique<frmMailingLabels>(mLstCustomer, mPrinter, this);
    return *mCustomerForm;
}

void frmMain::addCustomer()
{
    frmMailingLabels &form = obtainCustomerForm();
    form.setAction(frmMailingLabels::AddAction);
    form.cmdDisplay()->setVisible(true);
    form.showModal();
    form.cmdDisplay()->setVisible(false);
}

void frmMain::removeCustomer()
{
    const int row = selectedRow(*mLstCustomer);
    if (row < 0) {
        showMessage(this, QStringLiteral("Please Select Item from the list"), MessageStyle::Plain);
        return;
    }
    frmMailingLabels &form = obtainCustomerForm();
    form.setKey(mLstCustomer->item(row)->text());
    form.setAction(frmMailingLabels::RemoveAction);
    form.showModal();
}

void frmMain::displayCustomer()
{
    const int row = selectedRow(*mLstCustomer);
    if (row < 0) {
        showMessage(this, QStringLiteral("Please Select Item from list"), MessageStyle::Plain);
        return;
    }
    frmMailingLabels &form = obtainCustomerForm();
    form.setKey(mLstCustomer->item(row)->text());
    form.setAction(frmMailingLabels::DisplayAction);
    form.cmdAction()->setVisible(false);
    form.showModal();
    form.cmdAction()->setVisible(true);
}

void frmMain::printAllLabels()
{
    if (mLstCustomer->count() <= 0) {
        showMessage(this, QStringLiteral("No data to print"), MessageStyle::Plain,
                    QStringLiteral("Error"));
        return;
    }
    frmMailingLabels &form = obtainCustomerForm();
    form.setAction(frmMailingLabels::PrintAllAction);
    form.showModal();
}

void frmMain::exit()
{
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Exit and the frame's close control end the run alike: the customer form
    // and its customers go first, then this window closes, and closing the
    // last window ends the application's event loop. Closing every window at
    // once (a desktop logout) can get here while a command still waits on the
    // form, perhaps under one of its message boxes: the command will touch the
    // form again when its wait ends, so hiding the form ends that wait, and
    // the form and its customers go with this window.
    if (mCustomerForm && mCustomerForm->isInUse()) {
        mCustomerForm->hide();
    } else {
        mCustomerForm.reset();
    }
    event->accept();
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    if (!swallowEscape(event))
        QDialog::keyPressEvent(event);
}
