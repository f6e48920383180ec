#pragma once

#include <QtGlobal>

#include <functional>

class QLineEdit;

// Refuses every edit that would leave more than maxLength UTF-16 units in the
// box, however it comes (typed, pasted, dropped, composed): the box keeps what
// it held, and onRefused runs once the refused edit's event has been handled,
// if the box is still on view. Nothing is ever cut to fit.
void limitLength(QLineEdit *box, qsizetype maxLength, std::function<void()> onRefused);
