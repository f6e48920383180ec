#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class CCustomers;
class Printer;
class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The one dialog through which every customer is added, displayed, removed
// and printed. The main window creates it on first use and unloads it, with
// the customer collection it owns, when the program ends; in between it is
// only hidden, so the collection survives from one use to the next.
class frmMailingLabels : public QDialog
{
    Q_OBJECT

public:
    // lstCustomer is the main window's list of account numbers, which the
    // commit keeps in step with the collection.
    frmMailingLabels(QListWidget *lstCustomer, Printer &printer, QWidget *parent = nullptr);

    // The most text, in UTF-16 units, that a box of the form takes; more is
    // refused with a message. A box lays its whole text out again at every
    // key press: at this length that takes a few milliseconds, even in a mix
    // of scripts, where 32,000 characters took a tenth of a second.
    static constexpr qsizetype MaxTextLength = 2000;
    ~frmMailingLabels() override;

    // What the next showing does; any other code selects nothing.
    static inline const QString AddAction = QStringLiteral("A");
    static inline const QString RemoveAction = QStringLiteral("R");
    static inline const QString DisplayAction = QStringLiteral("D");
    static inline const QString PrintAllAction = QStringLiteral("P");

    // Account number of the customer to display or remove.
    void setKey(QString strKey);
    // One of the action codes above. Takes effect at the next showing.
    void setAction(QString strAction);

    // Shows the form application-modal, runs the mode of the current action
    // once, and returns when the form is hidden again. Print-all hides the form
    // itself, so that showing returns at once.
    void showModal();
    // True while showModal() has not returned: a command still waits on the form.
    bool isInUse() const { return mInUse; }

    QPushButton *cmdAction() const { return mCmdAction; }
    QPushButton *cmdDisplay() const { return mCmdDisplay; }
    const CCustomers &customers() const { return *mCustomers; }

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void activate();
    void DisplayCustomer();
    void ClearForm();
    void PrintAllLabels();

    void commit();
    void addCustomer();
    void removeCustomer();
    void cancel();
    void showAccountNumber();
    void printLabel();

    bool checkRequiredFields();
    void reportNotOnFile(const QString &strKey);

    std::unique_ptr<CCustomers> mCustomers;
    QString mstrKey;
    QString mstrAction;

    QPointer<QListWidget> mLstCustomer;
    Printer &mPrinter;
    QEventLoop *mModalLoop = nullptr;
    bool mInUse = false;

    QLabel *mLblCommand = nullptr;
    QLabel *mLblAccountNumber = nullptr;
    QLineEdit *mTxtLastName = nullptr;
    QLineEdit *mTxtFirstName = nullptr;
    QLineEdit *mTxtStreet = nullptr;
    QLineEdit *mTxtCity = nullptr;
    QLineEdit *mTxtState = nullptr;
    QLineEdit *mTxtZipCode = nullptr;
    QLineEdit *mTxtExpirationDate = nullptr;
    QComboBox *mCboCatalog = nullptr;
    QPushButton *mCmdAction = nullptr;
    QPushButton *mCmdCancel = nullptr;
    QPushButton *mCmdDisplay = nullptr;
    QPushButton *mCmdPrint = nullptr;
};
