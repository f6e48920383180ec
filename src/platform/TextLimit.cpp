#include "TextLimit.h"

#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include <memory>

namespace {

// QLineEdit asks its validator about every edit before it lays the new text
// out, and takes an edit back whole when the validator calls it invalid. Its
// own maximum length would instead cut a paste to fit, without a word.
class LengthValidator : public QValidator
{
public:
    LengthValidator(QLineEdit *box, qsizetype maxLength, std::function<void()> onRefused)
        : QValidator(box)
        , mBox(box)
        , mMaxLength(maxLength)
        , mOnRefused(std::move(onRefused))
    {}

    State validate(QString &input, int &) const override
    {
        if (input.size() <= mMaxLength)
            return Acceptable;
        // Tell the user after the edit is taken back, outside the line edit's
        // own handling, and once however often one edit is checked.
        if (!*mRefusalPending) {
            *mRefusalPending = true;
            QTimer::singleShot(0, mBox,
                               [box = mBox, pending = mRefusalPending, onRefused = mOnRefused] {
                                   *pending = false;
                                   if (box->isVisible())
                                       onRefused();
                               });
        }
        return Invalid;
    }

private:
    QLineEdit *mBox;
    qsizetype mMaxLength;
    std::function<void()> mOnRefused;
    std::shared_ptr<bool> mRefusalPending = std::make_shared<bool>(false);
};

} // namespace

void limitLength(QLineEdit *box, qsizetype maxLength, std::function<void()> onRefused)
{
    box->setValidator(new LengthValidator(box, maxLength, std::move(onRefused)));
}
