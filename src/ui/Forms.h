#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// One control as the layout gives it: its object name, its caption (empty where
// it has none) and its rectangle in twips.
struct ControlRow
{
    const char *name;
    const char *caption;
    int left, top, width, height; // twips
};

// Makes a form's controls, one call a row, in the order they stand in the
// form, and hands each back typed so the caller keeps it where it is made.
class FormBuilder
{
public:
    explicit FormBuilder(QWidget *form);
    // Stops the run if a caption's buddy was never made: its access key would
    // lead nowhere.
    ~FormBuilder();
    FormBuilder(const FormBuilder &) = delete;
    FormBuilder &operator=(const FormBuilder &) = delete;

    // A caption that does not fit the button is fitted; screen readers hear
    // it as one line without the access-key marker.
    QPushButton *button(const ControlRow &row);
    QLabel *label(const ControlRow &row);
    // A caption names the field beside it and stands right-aligned against it.
    // Screen readers read it as the label of its buddy, the control of that
    // name, which may be made later; its access key, if any, moves the focus
    // there.
    QLabel *caption(const ControlRow &row, const char *buddy = nullptr);
    QLineEdit *textBox(const ControlRow &row);
    // An editable drop-down list whose items are fixed and shown whole.
    QComboBox *comboBox(const ControlRow &row, const QStringList &items);
    QListWidget *list(const ControlRow &row);

    // Tab moves through the controls in this order.
    void setTabOrder(const QList<QWidget *> &order) const;
    // One font for every caption made so far, the one the widest needs.
    void fitCaptions() const;

private:
    template <typename T> T *place(T *widget, const ControlRow &row);

    QWidget *mForm;
    QList<QLabel *> mCaptions;
    QHash<QString, QLabel *> mPendingBuddies; // by the buddy's name
};

// The selected entry's row, or -1 when none is selected.
int selectedRow(const QListWidget &list);

// Returns once the window system has put window on view, once it is hidden, or
// after timeoutMs, whichever comes first.
void waitUntilOnView(QWidget &window, int timeoutMs);

// Esc is bound to nothing on our forms; QDialog would otherwise reject and
// hide the window. True when event was a plain Esc, which it then accepts.
bool swallowEscape(QKeyEvent *event);
