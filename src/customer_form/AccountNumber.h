#pragma once

#include <QString>

#include <optional>

// The boxes that must be filled before an account number can be derived, in
// the order they are checked.
enum class RequiredField { LastName, ZipCode, ExpirationDate };

// Empty when every required box is filled; else the first one that is not.
// Only an empty text fails: spaces count as content.
std::optional<RequiredField> firstMissing(const QString &lastName, const QString &zipCode,
                                          const QString &expirationDate);

// What the user is told when the field is missing.
QString missingPrompt(RequiredField field);

// Two characters of the upper-cased last name, three of the zip code as typed,
// then the whole expiration date. Not unique: different customers can share one.
QString accountNumber(const QString &lastName, const QString &zipCode,
                      const QString &expirationDate);
