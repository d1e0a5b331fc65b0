#include "festacatalogue.h"

#include "core/db/database.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festacataloguestore.h"
#include "core/festa/festajournalstore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString FestaCatalogue::toJson() const {
    QJsonArray list;
    for (const Product& p : products)
        list << QJsonObject{{QStringLiteral("chave"), p.key},
                            {QStringLiteral("produto"), p.name},
                            {QStringLiteral("impresso"), p.printed},
                            {QStringLiteral("preco"), p.price},
                            {QStringLiteral("fichas"), p.tickets}};
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("versao"), version},
                                                       {QStringLiteral("cabecalho"), header},
                                                       {QStringLiteral("rodape"), footer},
                                                       {QStringLiteral("produtos"), list}})
                                 .toJson(QJsonDocument::Compact));
}

FestaCatalogue FestaCatalogue::fromJson(const QString& json) {
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    FestaCatalogue c;
    c.version = o.value(QStringLiteral("versao")).toInt();
    c.header = o.value(QStringLiteral("cabecalho")).toString();
    c.footer = o.value(QStringLiteral("rodape")).toString();
    const QJsonArray list = o.value(QStringLiteral("produtos")).toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject p = list.at(i).toObject();
        c.products << Product{
            p.value(QStringLiteral("chave")).toString(), p.value(QStringLiteral("produto")).toString(),
            p.value(QStringLiteral("impresso")).toString(), p.value(QStringLiteral("preco")).toString(),
            p.value(QStringLiteral("fichas")).toInt()};
    }
    return c;
}

namespace FestaCatalogueApply {

int applyPending(Database& db) {
    int applied = 0;
    db.transaction([&] {
        const auto [version, json] = FestaJournalStore::newestCatalogue(db);
        if (version == 0) return;
        if (version > FestaJournalStore::desk(db).catalogue) {
            const FestaCatalogue c = FestaCatalogue::fromJson(json);
            FestaCatalogueStore::writeProducts(db, c.products);
            FestaCatalogueStore::writeTexts(db, c.header, c.footer);
            FestaJournalStore::setCatalogue(db, version);
            DeskJournal::recordCatalogue(db, version);
            applied = version;
        }
        FestaJournalStore::dropCatalogues(db, version);
    });
    return applied;
}

} // namespace FestaCatalogueApply
