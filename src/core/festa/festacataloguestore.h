#pragma once

#include "core/festa/festacatalogue.h"

class Database;

// The desk's products and ticket texts as a catalogue version sets them. Each raises DbError when the
// engine refuses.
namespace FestaCatalogueStore {

// Every key of the catalogue takes its name, printed name, price and tickets; a key the catalogue does
// not list sells nothing (empty name, 0,00).
void writeProducts(Database& db, const QList<FestaCatalogue::Product>& products);
void writeTexts(Database& db, const QString& header, const QString& footer);

} // namespace FestaCatalogueStore
