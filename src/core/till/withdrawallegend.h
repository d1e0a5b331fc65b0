#pragma once

#include <QStringList>

class Database;

// The sales screen's legend line for the withdrawal shortcut. While the till password is still the
// delivered test password the line shows it, as a hint for the first evening; once it was changed the
// line shows no password at all.
namespace WithdrawalLegend {

// The till password of the delivered database.
inline const QString deliveredPassword = QStringLiteral("574913");

// The line for a till that accepts these passwords (every stored till password).
QString line(const QStringList& tillPasswords);

// The line for the till passwords stored now; a failed read shows the line without a password.
QString line(Database& database);

} // namespace WithdrawalLegend
