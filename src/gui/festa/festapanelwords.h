#pragma once

#include "core/festa/festapanelstore.h"

#include <QString>

// How the treasurer's panel words what the server tells of the desks.
namespace FestaPanelWords {

// A desk silent longer than this makes the festa's totals partial (as the panel's reading counts it).
inline constexpr int silentSeconds = FestaPanelStore::silentSeconds;

bool isSilent(const FestaPanelStore::DeskFigures& desk);

// The desk's name, and for the two desks of a copied identity which one it is: "Caixa 2 (no servidor)",
// "Caixa 2 (outra cópia)".
QString name(const FestaPanelStore::DeskFigures& desk);

// "há 5 s", "há 3 min", "há 2 h 05 min"; "nunca" for a desk never heard of (negative seconds).
QString since(qint64 seconds);

// Its till: "nº 3 aberto", "nº 2 fechado", "—" before its first.
QString till(const FestaPanelStore::DeskFigures& desk);

// Why the festa's totals are partial, naming each desk behind ("Totais parciais: o Caixa 2 tem 12 registros
// a enviar."); empty when they are whole.
QString partial(const FestaPanelStore::Figures& figures);

// Centavos as money text: "7,50".
QString money(qint64 cents);

// "10/12 18:00" (a festa lasts a few days) from a desk's date and time texts or its ISO moment; the text
// itself otherwise.
QString moment(const QString& date, const QString& time);
QString moment(const QString& iso);

// The desks by name as people count them: "Caixa 2" before "Caixa 10".
void sortDesks(QList<FestaPanelStore::DeskFigures>& desks);

} // namespace FestaPanelWords
