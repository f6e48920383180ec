#include "frmMailingLabels.h"

#include "customer_form/AccountNumber.h"
#include "customer_form/Text.h"
#include "data/CCustomers.h"
#include "printing/Labels.h"
#include "ui/FileDialog.h"
#include "ui/Forms.h"
#include "ui/MessageBox.h"
#include "ui/TextLimit.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

const char *const Catalogs[] = {
    "Odds and Ends", "Solutions",  "Camping Needs",  "ToolTime",
    "Spiegel",       "The Outlet", "The Large Size",
};

// A message names an account number in full unless it is longer than anyone
// types: a message box lays out its whole text, and a pasted megabyte would
// take it seconds to appear.
constexpr qsizetype MessageKeyLength = 200;

// The documents folder, or the home folder where the desktop made none: the
// save dialog would otherwise open wherever the program happened to start.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// The job that found no printer goes to a PDF file of the user's choosing.
void saveAsPdf(QWidget *parent, Printer &printer)
{
    const QString file =
        askSaveFileName(parent, QStringLiteral("Save as PDF"),
                        QDir(documentsFolder()).filePath(QStringLiteral("labels.pdf")),
                        QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (!file.isEmpty() && !printer.saveUnprintedDocument(file))
        showMessage(parent, QStringLiteral("The labels could not be saved"),
                    MessageStyle::Information, QStringLiteral("Print Error"));
}

// Tells the user when a job did not reach the printer, and offers to save one
// that found none as a PDF file instead; silent on success.
void reportPrintOutcome(QWidget *parent, Printer &printer, PrintOutcome outcome)
{
    switch (outcome) {
    case PrintOutcome::Printed:
        return;
    case PrintOutcome::NoPrinter:
        if (showMessageWithChoice(parent, QStringLiteral("No default printer is available"),
                                  MessageStyle::Information, QStringLiteral("Print Error"),
                                  QStringLiteral("&Save as PDF…")))
            saveAsPdf(parent, printer);
        return;
    case PrintOutcome::Failed:
        showMessage(parent, QStringLiteral("The labels could not be printed"),
                    MessageStyle::Information, QStringLiteral("Print Error"));
        return;
    case PrintOutcome::DoesNotFit:
        showMessage(parent, QStringLiteral("An address does not fit on the printer's labels"),
                    MessageStyle::Information, QStringLiteral("Print Error"));
        return;
    }
}

} // namespace

frmMailingLabels::frmMailingLabels(QListWidget *lstCustomer, Printer &printer, QWidget *parent)
    : QDialog(parent)
    , mCustomers(std::make_unique<CCustomers>())
    , mLstCustomer(lstCustomer)
    , mPrinter(printer)
{
    setObjectName(QStringLiteral("frmMailingLabels"));
    setWindowTitle(QStringLiteral("Generate Mailing Labels"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(twipsSize(5985, 4560));
    createControls();

    connect(mCmdAction, &QPushButton::clicked, this, &frmMailingLabels::commit);
    connect(mCmdCancel, &QPushButton::clicked, this, &frmMailingLabels::cancel);
    connect(mCmdDisplay, &QPushButton::clicked, this, &frmMailingLabels::showAccountNumber);
    connect(mCmdPrint, &QPushButton::clicked, this, &frmMailingLabels::printLabel);
}

frmMailingLabels::~frmMailingLabels() = default;

void frmMailingLabels::createControls()
{
    QStringList catalogs;
    for (const char *catalog : Catalogs)
        catalogs << QString::fromUtf8(catalog);

    FormBuilder form(this);
    form.caption({"Label1", "&Last Name:", 600, 1200, 855, 255}, "txtLastName");
    mTxtLastName = form.textBox({"txtLastName", "", 1560, 1200, 1935, 285});
    form.caption({"Label2", "&First Name:", 600, 1560, 855, 255}, "txtFirstName");
    mTxtFirstName = form.textBox({"txtFirstName", "", 1560, 1560, 1935, 285});
    form.caption({"Label3", "&Street", 960, 1920, 495, 255}, "txtStreet");
    mTxtStreet = form.textBox({"txtStreet", "", 1560, 1920, 2055, 285});
    form.caption({"Label4", "C&ity:", 1080, 2280, 375, 255}, "txtCity");
    mTxtCity = form.textBox({"txtCity", "", 1560, 2280, 1575, 285});
    form.caption({"Label5", "S&tate:", 960, 2640, 495, 255}, "txtState");
    mTxtState = form.textBox({"txtState", "", 1560, 2640, 495, 285});
    form.caption({"Label6", "&Zip Code:", 720, 3000, 735, 255}, "txtZipCode");
    mTxtZipCode = form.textBox({"txtZipCode", "", 1560, 3000, 1005, 285});
    form.caption({"Label7", "&Expiration Date:", 240, 3360, 1215, 255}, "txtExpirationDate");
    mTxtExpirationDate = form.textBox({"txtExpirationDate", "", 1560, 3360, 1005, 285});
    form.caption({"Label11", "Catalo&g:", 360, 3720, 1095, 255}, "cboCatalog");
    mCboCatalog = form.comboBox({"cboCatalog", "", 1560, 3720, 1575, 315}, catalogs);
    mCmdAction = form.button({"cmdAction", "&Ok", 4320, 1560, 1455, 495});
    mCmdCancel = form.button({"cmdCancel", "&Cancel", 4320, 2280, 1455, 495});
    mCmdDisplay = form.button({"cmdDisplay", "Display &Acct. No.", 4320, 3000, 1455, 495});
    mCmdPrint = form.button({"cmdPrint", "&Print Label", 4320, 3720, 1455, 495});
    form.caption({"Label9", "Account Number:", 120, 4200, 1335, 255}, "lblAccountNumber");
    mLblAccountNumber = form.label({"lblAccountNumber", "", 1560, 4200, 1575, 255});
    form.label({"Label10", "(MM/DD/YY)", 2640, 3360, 1215, 255});
    mLblCommand = form.label({"lblCommand", "", 720, 240, 4455, 615});

    form.setTabOrder({mTxtLastName, mTxtFirstName, mTxtStreet, mTxtCity, mTxtState, mTxtZipCode,
                      mTxtExpirationDate, mCboCatalog, mCmdAction, mCmdCancel, mCmdDisplay,
                      mCmdPrint});
    form.fitCaptions();

    for (QLineEdit *box : {mTxtLastName, mTxtFirstName, mTxtStreet, mTxtCity, mTxtState,
                           mTxtZipCode, mTxtExpirationDate, mCboCatalog->lineEdit()})
        limitLength(box, MaxTextLength, [this] {
            showMessage(this, QStringLiteral("The text is too long for this box"),
                        MessageStyle::Information, QStringLiteral("Text Too Long"));
        });

    QFont heading = mLblCommand->font();
    heading.setFamily(QStringLiteral("Sans Serif"));
    heading.setStyleHint(QFont::SansSerif);
    heading.setPointSizeF(scaledPointSize(13.5));
    heading.setWeight(QFont::Bold);
    mLblCommand->setFont(heading);

    mLblAccountNumber->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    mCmdAction->setDefault(true);
    mCmdDisplay->setVisible(false);
}

void frmMailingLabels::setKey(QString strKey)
{
    mstrKey = std::move(strKey);
}

void frmMailingLabels::setAction(QString strAction)
{
    mstrAction = std::move(strAction);
}

void frmMailingLabels::showModal()
{
    // Our own loop rather than QDialog::exec(): a mode that hides the form while
    // it is being shown must end the showing, and exec() would wait forever.
    mInUse = true;
    const auto done = qScopeGuard([this] { mInUse = false; });
    show();
    // Print all hides the form again as soon as it has printed. Hidden before
    // the window system has put it on view, the form would still get its
    // pending activation afterwards and keep the keyboard from the main window.
    if (mstrAction == PrintAllAction)
        waitUntilOnView(*this, 2000);
    activate();
    if (isVisible()) {
        QEventLoop loop;
        mModalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        mModalLoop = nullptr;
    }
    // Hand the keyboard back to the window that showed the form, so that its
    // access keys work at once without waiting on the window manager.
    if (QWidget *owner = parentWidget())
        owner->activateWindow();
}

void frmMailingLabels::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (!visible && mModalLoop)
        mModalLoop->exit();
}

void frmMailingLabels::closeEvent(QCloseEvent *event)
{
    // The frame's close control acts as Cancel: the form and its customers stay.
    event->accept();
    cancel();
}

void frmMailingLabels::keyPressEvent(QKeyEvent *event)
{
    if (!swallowEscape(event))
        QDialog::keyPressEvent(event);
}

void frmMailingLabels::activate()
{
    if (mstrAction == AddAction) {
        ClearForm();
        mLblCommand->setText(QStringLiteral("Add New Customer Info"));
        mTxtLastName->setFocus();
    } else if (mstrAction == RemoveAction) {
        mLblCommand->setText(QStringLiteral("Remove this record?"));
        DisplayCustomer();
    } else if (mstrAction == DisplayAction) {
        mLblCommand->setText(QStringLiteral("Customer Display"));
        ClearForm();
        DisplayCustomer();
    } else if (mstrAction == PrintAllAction) {
        ClearForm();
        PrintAllLabels();
        hide();
    }
}

void frmMailingLabels::DisplayCustomer()
{
    if (!mCustomers->Contains(mstrKey)) {
        reportNotOnFile(mstrKey);
        return;
    }
    const std::shared_ptr<const CCustomer> customer = mCustomers->Item(mstrKey);
    mLblAccountNumber->setText(customer->AccountNumber());
    mTxtLastName->setText(customer->LastName());
    mTxtFirstName->setText(customer->FirstName());
    mTxtStreet->setText(customer->Street());
    mTxtCity->setText(customer->City());
    mTxtState->setText(customer->State());
    mTxtZipCode->setText(customer->ZipCode());
    mTxtExpirationDate->setText(customer->ExpirationDate());
    mCboCatalog->setEditText(customer->Catalog());
}

void frmMailingLabels::ClearForm()
{
    mLblAccountNumber->clear();
    for (QLineEdit *box : {mTxtLastName, mTxtFirstName, mTxtStreet, mTxtCity, mTxtState,
                           mTxtZipCode, mTxtExpirationDate})
        box->clear();
    mCboCatalog->setEditText(QString());
    mTxtLastName->setFocus();
}

void frmMailingLabels::PrintAllLabels()
{
    reportPrintOutcome(this, mPrinter, ::printAllLabels(mPrinter, *mCustomers));
}

void frmMailingLabels::commit()
{
    if (mstrAction == AddAction)
        addCustomer();
    else if (mstrAction == RemoveAction)
        removeCustomer();
}

void frmMailingLabels::addCustomer()
{
    if (!checkRequiredFields())
        return;
    const QString number =
        accountNumber(mTxtLastName->text(), mTxtZipCode->text(), mTxtExpirationDate->text());
    mLblAccountNumber->setText(number);

    // Refuse a number already in use before touching the list, so that the list
    // and the collection never disagree.
    if (mCustomers->Contains(number)) {
        mTxtLastName->setFocus();
        showMessage(this,
                    QStringLiteral("Account number ") + excerpt(number, MessageKeyLength) +
                        QStringLiteral(" is already in use"),
                    MessageStyle::Information, QStringLiteral("Duplicate Account Number"));
        return;
    }

    if (mLstCustomer)
        mLstCustomer->addItem(number);
    mCustomers->Add(number, mTxtLastName->text(), mTxtFirstName->text(), mTxtStreet->text(),
                    mTxtCity->text(), mTxtState->text(), mTxtZipCode->text(),
                    mTxtExpirationDate->text(), mCboCatalog->currentText());
    hide();
}

void frmMailingLabels::removeCustomer()
{
    if (!mCustomers->Contains(mstrKey)) {
        reportNotOnFile(mstrKey);
        return;
    }
    if (mLstCustomer) {
        // The selection names the entry whose text became the key; should it not,
        // remove the entry with that text instead of an unrelated one.
        int row = selectedRow(*mLstCustomer);
        if (row < 0 || mLstCustomer->item(row)->text() != mstrKey) {
            const QList<QListWidgetItem *> matches =
                mLstCustomer->findItems(mstrKey, Qt::MatchExactly | Qt::MatchCaseSensitive);
            row = matches.isEmpty() ? -1 : mLstCustomer->row(matches.first());
        }
        if (row >= 0)
            delete mLstCustomer->takeItem(row);
        // The list hands the selection on to a neighbour; a second Remove would
        // then offer a customer the user never chose.
        mLstCustomer->setCurrentItem(nullptr);
        mLstCustomer->clearSelection();
    }
    mCustomers->Remove(mstrKey);
    hide();
}

void frmMailingLabels::cancel()
{
    hide();
}

void frmMailingLabels::showAccountNumber()
{
    if (!checkRequiredFields())
        return;
    mLblAccountNumber->setText(
        accountNumber(mTxtLastName->text(), mTxtZipCode->text(), mTxtExpirationDate->text()));
}

void frmMailingLabels::printLabel()
{
    if (mLblAccountNumber->text().isEmpty())
        showAccountNumber();
    const PrintOutcome outcome = ::printLabel(
        mPrinter, nameLine(mTxtFirstName->text(), mTxtLastName->text(), mLblAccountNumber->text()),
        mTxtStreet->text(), cityLine(mTxtCity->text(), mTxtState->text(), mTxtZipCode->text()));
    reportPrintOutcome(this, mPrinter, outcome);
}

bool frmMailingLabels::checkRequiredFields()
{
    const std::optional<RequiredField> missing =
        firstMissing(mTxtLastName->text(), mTxtZipCode->text(), mTxtExpirationDate->text());
    if (!missing)
        return true;
    QLineEdit *box = *missing == RequiredField::LastName  ? mTxtLastName
                     : *missing == RequiredField::ZipCode ? mTxtZipCode
                                                          : mTxtExpirationDate;
    // Focus first, so the user lands in the empty box when the message closes.
    box->setFocus();
    showMessage(this, missingPrompt(*missing), MessageStyle::Information,
                QStringLiteral("Data Missing"));
    return false;
}

void frmMailingLabels::reportNotOnFile(const QString &strKey)
{
    showMessage(this,
                QStringLiteral("Account number ") + excerpt(strKey, MessageKeyLength) +
                    QStringLiteral(" is not on file"),
                MessageStyle::Information, QStringLiteral("Customer Not Found"));
}
