#include "festapanelwords.h"

#include "core/base/money.h"

#include <QCollator>
#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace FestaPanelWords {

QString since(qint64 seconds) {
    if (seconds < 0) return QStringLiteral("nunca");
    if (seconds < 60) return QStringLiteral("há %1 s").arg(seconds);
    if (seconds < 3600) return QStringLiteral("há %1 min").arg(seconds / 60);
    const qint64 minutes = (seconds % 3600) / 60;
    if (minutes == 0) return QStringLiteral("há %1 h").arg(seconds / 3600);
    return QStringLiteral("há %1 h %2 min").arg(seconds / 3600).arg(minutes, 2, 10, QLatin1Char('0'));
}

bool isSilent(const FestaPanelStore::DeskFigures& desk) {
    return desk.secondsSinceContact < 0 || desk.secondsSinceContact > silentSeconds;
}

QString name(const FestaPanelStore::DeskFigures& desk) {
    QString n = desk.name.isEmpty() ? QStringLiteral("caixa sem nome") : desk.name;
    if (desk.claimSeq == 0) return n;
    return desk.claimCopy ? QStringLiteral("%1 (outra cópia)").arg(n)
                          : QStringLiteral("%1 (no servidor)").arg(n);
}

QString till(const FestaPanelStore::DeskFigures& desk) {
    if (desk.tillNumber == 0) return QStringLiteral("—");
    return QStringLiteral("nº %1 %2")
        .arg(desk.tillNumber)
        .arg(desk.tillOpen ? QStringLiteral("aberto") : QStringLiteral("fechado"));
}

QString partial(const FestaPanelStore::Figures& figures) {
    if (!figures.partial) return QString();
    QStringList behind;
    for (const FestaPanelStore::DeskFigures& d : figures.desks) {
        const QString who = QStringLiteral("o %1").arg(name(d));
        if (!d.stopped.isEmpty())
            behind << QStringLiteral("%1 parou de enviar").arg(who);
        else if (d.secondsSinceContact > silentSeconds)
            behind << QStringLiteral("%1 está sem contato %2").arg(who, since(d.secondsSinceContact));
        else if (d.waiting > 0)
            behind << QStringLiteral("%1 tem %2 %3 a enviar")
                          .arg(who)
                          .arg(d.waiting)
                          .arg(d.waiting == 1 ? QStringLiteral("registro") : QStringLiteral("registros"));
        else if (d.secondsSinceContact < 0)
            behind << QStringLiteral("%1 ainda não falou com o servidor").arg(who);
    }
    if (behind.isEmpty()) return QStringLiteral("Totais parciais: algum caixa ainda não enviou tudo.");
    return QStringLiteral("Totais parciais: %1.").arg(behind.join(QStringLiteral("; ")));
}

QString money(qint64 cents) {
    return Cents(cents).text();
}

QString moment(const QString& date, const QString& time) {
    const QDate day = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
    return QStringLiteral("%1 %2")
        .arg(day.isValid() ? day.toString(QStringLiteral("dd/MM")) : date, time.left(5))
        .trimmed();
}

QString moment(const QString& iso) {
    const QDateTime at = QDateTime::fromString(iso, Qt::ISODateWithMs);
    return at.isValid() ? at.toString(QStringLiteral("dd/MM HH:mm")) : iso;
}

void sortDesks(QList<FestaPanelStore::DeskFigures>& desks) {
    QCollator byName(QLocale(QLocale::Portuguese, QLocale::Brazil));
    byName.setNumericMode(true); // "Caixa 2" before "Caixa 10"
    byName.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(desks.begin(), desks.end(),
                     [&](const auto& a, const auto& b) { return byName.compare(a.name, b.name) < 0; });
}

} // namespace FestaPanelWords
