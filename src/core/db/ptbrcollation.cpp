#include "ptbrcollation.h"

#include <QCollator>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

namespace PtBrCollation {

namespace {

// Brazilian Portuguese through the toolkit's ICU collator. Where ICU lacks pt_BR it falls back to its
// root order, which also keeps accented letters beside their plain ones. Accents and letter case
// still separate two names; identical order falls back to the stored characters, so distinct names
// never compare equal.
int compare(void* collator, int lengthA, const void* a, int lengthB, const void* b) {
    const QString textA = QString::fromRawData(static_cast<const QChar*>(a), lengthA / 2);
    const QString textB = QString::fromRawData(static_cast<const QChar*>(b), lengthB / 2);
    const int order = static_cast<QCollator*>(collator)->compare(textA, textB);
    if (order != 0) return order;
    return textA.compare(textB, Qt::CaseSensitive);
}

void destroy(void* collator) {
    delete static_cast<QCollator*>(collator);
}

} // namespace

bool registerOn(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
    if (!connection) return false;
    auto* collator = new QCollator(QLocale(QLocale::Portuguese, QLocale::Brazil));
    collator->setCaseSensitivity(Qt::CaseSensitive);
    if (sqlite3_create_collation_v2(connection, name, SQLITE_UTF16_ALIGNED, collator, &compare, &destroy) !=
        SQLITE_OK) {
        delete collator; // the engine only releases it once registered
        return false;
    }
    return true;
}

} // namespace PtBrCollation
