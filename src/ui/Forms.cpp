#include "Forms.h"

#include "ui/Captions.h"
#include "ui/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <limits>

namespace {

// A caption as it is read out rather than shown: without the access-key "&"
// ("&&" stands for a literal "&") and with line breaks as spaces.
QString plainCaption(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == u'&' && i + 1 < caption.size())
            plain += caption.at(++i);
        else if (c == u'\n')
            plain += u' ';
        else
            plain += c;
    }
    return plain;
}

} // namespace

FormBuilder::FormBuilder(QWidget *form)
    : mForm(form)
{}

FormBuilder::~FormBuilder()
{
    if (!mPendingBuddies.isEmpty())
        qFatal("%s has no control %s to be the buddy of a caption", qPrintable(mForm->objectName()),
               qPrintable(mPendingBuddies.constBegin().key()));
}

template <typename T> T *FormBuilder::place(T *widget, const ControlRow &row)
{
    const QString name = QString::fromUtf8(row.name);
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(row.left, row.top, row.width, row.height));
    if (QLabel *named = mPendingBuddies.take(name)) {
        // Also what a screen reader reads as the field's label, access key or not.
        named->setBuddy(widget);
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            // It meets the typed text and the drop-down list as parts of their
            // own, and names neither after the box unless told.
            const QString spoken = plainCaption(named->text());
            combo->lineEdit()->setAccessibleName(spoken);
            combo->view()->setAccessibleName(spoken);
        }
    }
    return widget;
}

QPushButton *FormBuilder::button(const ControlRow &row)
{
    auto *widget = place(new QPushButton(QString::fromUtf8(row.caption), mForm), row);
    fitCaption(widget);
    widget->setAccessibleName(plainCaption(widget->text()));
    return widget;
}

QLabel *FormBuilder::label(const ControlRow &row)
{
    auto *widget = place(new QLabel(QString::fromUtf8(row.caption), mForm), row);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    widget->setTextFormat(Qt::PlainText);
    return widget;
}

QLabel *FormBuilder::caption(const ControlRow &row, const char *buddy)
{
    QLabel *widget = label(row);
    widget->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (buddy)
        mPendingBuddies.insert(QString::fromUtf8(buddy), widget);
    mCaptions << widget;
    return widget;
}

QLineEdit *FormBuilder::textBox(const ControlRow &row)
{
    auto *box = place(new QLineEdit(mForm), row);
    // QLineEdit cuts text at 32767 characters by default, even a paste,
    // without a word; the form refuses long text itself, and says so.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QComboBox *FormBuilder::comboBox(const ControlRow &row, const QStringList &items)
{
    auto *combo = new QComboBox(mForm);
    combo->setEditable(true);
    // The list is fixed: Enter must not add what was typed to it.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    place(combo, row);
    fitItems(combo);
    return combo;
}

QListWidget *FormBuilder::list(const ControlRow &row)
{
    return place(new QListWidget(mForm), row);
}

void FormBuilder::setTabOrder(const QList<QWidget *> &order) const
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FormBuilder::fitCaptions() const
{
    ::fitCaptions(mCaptions);
}

int selectedRow(const QListWidget &list)
{
    const QList<QListWidgetItem *> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.first());
}

bool swallowEscape(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier)
        return false;
    event->accept();
    return true;
}

void waitUntilOnView(QWidget &window, int timeoutMs)
{
    const auto onView = [&window] {
        const QWindow *handle = window.windowHandle();
        return !window.isVisible() || (handle && handle->isExposed());
    };
    if (onView())
        return;
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (onView() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(5);
    // The user's keys wait until the form has taken the keyboard.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
