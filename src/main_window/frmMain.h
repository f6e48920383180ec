#pragma once

#include <QDialog>

class Printer;
class QListWidget;
class QPushButton;
class frmMailingLabels;

// The start-up window: the sorted list of account numbers and the five
// commands. Its only state is the list; the customers themselves belong to the
// customer form, which this window creates on first use, hides on exit and
// takes with it when it goes.
class frmMain : public QDialog
{
    Q_OBJECT

public:
    explicit frmMain(Printer &printer, QWidget *parent = nullptr);
    ~frmMain() override;

    // The customer form, or null while no command has needed it yet.
    frmMailingLabels *customerForm() const { return mCustomerForm; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    frmMailingLabels &obtainCustomerForm();

    void addCustomer();
    void removeCustomer();
    void displayCustomer();
    void printAllLabels();
    void exit();

    Printer &mPrinter;
    frmMailingLabels *mCustomerForm = nullptr;

    QListWidget *mLstCustomer = nullptr;
    QPushButton *mCmdAdd = nullptr;
    QPushButton *mCmdRemove = nullptr;
    QPushButton *mCmdDisplay = nullptr;
    QPushButton *mCmdExit = nullptr;
    QPushButton *mCmdPrintAll = nullptr;
};
