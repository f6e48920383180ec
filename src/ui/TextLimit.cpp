#include "TextLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// QLineEdit asks its validator about every edit before it lays the new text
// out, and takes an edit back whole when the validator calls it invalid. Its
// own maximum length would instead cut a paste to fit, without a word.
class LengthValidator : public QValidator
{
public:
    LengthValidator(qsizetype maxLength, QObject *parent)
        : QValidator(parent)
        , mMaxLength(maxLength)
    {}

    State validate(QString &input, int &) const override
    {
        return input.size() <= mMaxLength ? Acceptable : Invalid;
    }

private:
    qsizetype mMaxLength;
};

} // namespace

void limitLength(QLineEdit *box, qsizetype maxLength, std::function<void()> onRefused)
{
    box->setValidator(new LengthValidator(maxLength, box));
    // Told after the line edit has finished with the refused edit.
    QObject::connect(
        box, &QLineEdit::inputRejected, box,
        [box, onRefused = std::move(onRefused)] {
            if (box->isVisible())
                onRefused();
        },
        Qt::QueuedConnection);
}
