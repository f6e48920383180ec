#pragma once

#include <QDialog>

#include <memory>

class Printer;
class QListWidget;
class QPushButton;
class frmMailingLabels;

// The start-up window: the sorted list of account numbers and the five
// commands. Its only state is the list; the customers themselves belong to the
// customer form, which this window creates on first use and unloads when it
// closes.
class frmMain : public QDialog
{
    Q_OBJECT

public:
    explicit frmMain(Printer &printer, QWidget *parent = nullptr);
    ~frmMain() override;

    // The customer form, or null while no command has needed it yet.
    frmMailingLabels *customerForm() const { return mCustomerForm.get(); }

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
    // A child window, held here so that it can be unloaded before this window
    // closes.
    std::unique_ptr<frmMailingLabels> mCustomerForm;

    QListWidget *mLstCustomer = nullptr;
    QPushButton *mCmdAdd = nullptr;
    QPushButton *mCmdRemove = nullptr;
    QPushButton *mCmdDisplay = nullptr;
    QPushButton *mCmdExit = nullptr;
    QPushButton *mCmdPrintAll = nullptr;
};
