#pragma once

#include <QString>

// The leftmost n user-perceived characters of text: a surrogate pair or a
// letter with its combining marks counts as one and is never cut in half.
// A shorter text is returned whole.
QString leftmost(const QString &text, qsizetype n);

// Full Unicode upper-casing: it may change the length ("ß" becomes "SS").
QString upperCase(const QString &text);

// The leftmost n user-perceived characters followed by "…" when the text is
// longer: for echoing typed text in a message, which lays out every character.
QString excerpt(const QString &text, qsizetype n);
