#pragma once

#include <QString>

class Database;

// The texts every ticket carries: the header (also on the till reports) and the footer.
struct TicketTexts {
    QString header; // cabecalho
    QString footer; // rodape
};

// The festa's own texts, as the ticket texts window stores them: the first row of tbl_festa.
namespace FestaStore {

// The header printed on the festa's reports; empty when none is stored or the table cannot be read,
// so that a report still prints without it.
QString header(Database& db);

// The stored texts; empty ones when the table has no row. Raises DbError when the engine refuses.
TicketTexts texts(Database& db);

// Stores the texts as typed in the first row, which is made when the table has none. A text wider than
// its column is refused with the column's message and nothing is stored.
void save(Database& db, const TicketTexts& texts);

} // namespace FestaStore
